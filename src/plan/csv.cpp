#include "plan/csv.h"

#include <charconv>
#include <cmath>
#include <type_traits>

namespace {

template <class T>
std::string_view shortestText(CsvRoom& room, T value) {
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(value)) return "NA";
  }
  const auto end = std::to_chars(room.data(), room.data() + room.size(), value).ptr;
  return {room.data(), static_cast<std::size_t>(end - room.data())};
}

}  // namespace

std::string_view csvText(CsvRoom& room, double value) { return shortestText(room, value); }
std::string_view csvText(CsvRoom& room, float value) { return shortestText(room, value); }
std::string_view csvText(CsvRoom& room, int value) { return shortestText(room, value); }
