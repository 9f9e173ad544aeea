// Values as the plan's tables write them.
#pragma once

#include <array>
#include <string_view>

// Room for the text of any value.
using CsvRoom = std::array<char, 32>;

// The shortest text that reads back to the same value, or NA when the value
// is a NaN or an infinity. The text lives in `room`.
std::string_view csvText(CsvRoom& room, double value);
std::string_view csvText(CsvRoom& room, float value);
std::string_view csvText(CsvRoom& room, int value);
