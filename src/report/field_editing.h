// Editing of single values into fixed-width fields and free-form fields.
// Each function appends exactly the field's characters to `out`.
#pragma once

#include <cstdint>
#include <string_view>

#include "report/output_buffer.h"

// Iw: decimal, "-" on negatives, right-aligned; w asterisks when too wide.
void editInteger(OutputBuffer& out, std::int32_t value, std::uint32_t width);

// Fw.d: correctly rounded to d decimals (ties to even), optional leading zero,
// "-" kept on negative values that round to zero; NaN, Inf/Infinity by width;
// w asterisks when too wide.
void editFixed(OutputBuffer& out, double value, std::uint32_t width, std::uint32_t decimals);

// Aw: the first w characters, or the text right-aligned in w columns.
void editText(OutputBuffer& out, std::string_view value, std::uint32_t width);

// Free-form integer: right-aligned in 11 columns.
void editFreeInteger(OutputBuffer& out, std::int32_t value);

// Free-form double: 25 columns, 17 significant digits, fixed form for
// magnitudes in [0.1, 1E17) (20 columns and 5 blanks), else exponent form
// with a three-digit exponent.
void editFreeReal(OutputBuffer& out, double value);
