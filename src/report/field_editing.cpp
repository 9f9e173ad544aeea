#include "report/field_editing.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

// A double has at most 1074 decimals; every later one is 0.
constexpr std::uint32_t kExactDecimals = 1074;
// Holds any double in fixed form with all its decimals: at most 309 integer
// digits, the point and kExactDecimals decimals.
constexpr std::size_t kFixedTextSize = 309 + 1 + kExactDecimals;

// 10^k, each exact in double precision.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Below 2^52 the magnitude rounded to a whole number fits 64 bits exactly.
constexpr double kTwoToThe52 = 4503599627370496.0;

constexpr std::uint32_t kFreeIntegerWidth = 11;
constexpr std::uint32_t kFreeRealWidth = 25;
constexpr std::uint32_t kFreeFixedWidth = 20;
constexpr int kFreeSignificantDigits = 17;

// Fields of the report are narrow: up to this width a field is filled by one
// fixed-size copy into room reserved beyond it.
constexpr std::uint32_t kShortField = 16;
constexpr char kBlanks[kShortField + 1] = "                ";
constexpr char kAsterisks[kShortField + 1] = "****************";

// `width` new columns, all `fill` (a blank or an asterisk); returns the first.
char* filledField(OutputBuffer& out, std::uint32_t width, char fill) {
  out.reserve(kShortField);
  char* field = out.extend(width);
  if (width <= kShortField) {
    std::memcpy(field, fill == ' ' ? kBlanks : kAsterisks, kShortField);
  } else {
    std::memset(field, fill, width);
  }
  return field;
}

void appendAsterisks(OutputBuffer& out, std::uint32_t width) { filledField(out, width, '*'); }

// The text right-aligned in `width` columns, or asterisks when it is wider.
void appendField(OutputBuffer& out, std::string_view text, std::uint32_t width) {
  if (text.size() > width) return appendAsterisks(out, width);
  char* field = filledField(out, width, ' ');
  std::memcpy(field + (width - text.size()), text.data(), text.size());
}

void overwriteWithAsterisks(char* field, std::uint32_t width) { std::memset(field, '*', width); }

// Fw.0 of a magnitude below 2^52, written from the right: the whole number,
// a point, a leading 0 only when a column is spare, the sign.
void editWhole(OutputBuffer& out, double magnitude, bool negative, std::uint32_t width) {
  // Adding and taking away 2^52 rounds to a whole number, ties to even, in
  // the default rounding mode; both steps are exact otherwise.
  auto whole = static_cast<std::uint64_t>((magnitude + kTwoToThe52) - kTwoToThe52);
  char* field = filledField(out, width, ' ');
  char* at = field + width;
  char* const first = field + negative;  // the sign needs its column
  if (width < 1u + negative) return overwriteWithAsterisks(field, width);
  *--at = '.';
  if (whole == 0 && at > first) *--at = '0';
  for (; whole != 0; whole /= 10) {
    if (at == first) return overwriteWithAsterisks(field, width);
    *--at = static_cast<char>('0' + whole % 10);
  }
  if (negative) *--at = '-';
}

// The magnitude rounded to `decimals` places (at most kExactDecimals), with a
// point, in `text`, which always has room; the integer part is 0 when it
// rounds below 1. Returns its length.
std::size_t fixedText(char (&text)[kFixedTextSize], double magnitude, std::uint32_t decimals) {
  const auto converted = std::to_chars(std::begin(text), std::end(text), magnitude,
                                       std::chars_format::fixed, static_cast<int>(decimals));
  auto size = static_cast<std::size_t>(converted.ptr - text);
  if (decimals == 0) text[size++] = '.';
  return size;
}

// Decimals of the free-form fixed form: 17 significant digits, none of them
// integer digits below 1; zero shows 16.
int freeDecimals(double magnitude) {
  if (magnitude == 0.0) return kFreeSignificantDigits - 1;
  int integer_digits = 0;
  while (integer_digits < kFreeSignificantDigits && magnitude >= kPowersOfTen[integer_digits]) {
    ++integer_digits;
  }
  return kFreeSignificantDigits - integer_digits;
}

}  // namespace

void editInteger(OutputBuffer& out, std::int32_t value, std::uint32_t width) {
  char text[11];
  const char* end = std::to_chars(std::begin(text), std::end(text), value).ptr;
  appendField(out, std::string_view(text, static_cast<std::size_t>(end - text)), width);
}

void editFixed(OutputBuffer& out, double value, std::uint32_t width, std::uint32_t decimals) {
  if (std::isnan(value)) return appendField(out, "NaN", width);
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    if (negative) return appendField(out, width >= 9 ? "-Infinity" : "-Inf", width);
    return appendField(out, width >= 8 ? "Infinity" : "Inf", width);
  }
  const double magnitude = std::fabs(value);
  // At least w + 1 integer digits: too wide without converting.
  if (width < std::size(kPowersOfTen) && magnitude >= kPowersOfTen[width]) {
    return appendAsterisks(out, width);
  }
  if (decimals == 0 && magnitude < kTwoToThe52) return editWhole(out, magnitude, negative, width);
  char text[kFixedTextSize];
  const std::uint32_t exact_decimals = std::min(decimals, kExactDecimals);
  const std::size_t size = fixedText(text, magnitude, exact_decimals);
  const std::size_t zeros = decimals - exact_decimals;
  const bool below_one = text[0] == '0';
  const std::string_view digits(text + below_one, size - below_one);
  const std::size_t needed = negative + digits.size() + zeros;
  if (needed > width) return appendAsterisks(out, width);
  const bool leading_zero = below_one && needed < width;
  char* at = filledField(out, width, ' ') + (width - needed - leading_zero);
  if (negative) *at++ = '-';
  if (leading_zero) *at++ = '0';
  std::memcpy(at, digits.data(), digits.size());
  std::memset(at + digits.size(), '0', zeros);
}

void editText(OutputBuffer& out, std::string_view value, std::uint32_t width) {
  if (value.size() >= width) {
    out.append(value.substr(0, width));
    return;
  }
  out.append(width - value.size(), ' ');
  out.append(value);
}

void editFreeInteger(OutputBuffer& out, std::int32_t value) {
  editInteger(out, value, kFreeIntegerWidth);
}

void editFreeReal(OutputBuffer& out, double value) {
  if (std::isnan(value)) return appendField(out, "NaN", kFreeRealWidth);
  if (std::isinf(value))
    return appendField(out, value < 0 ? "-Infinity" : "Infinity", kFreeRealWidth);
  char text[32];
  char* end = text;
  if (std::signbit(value)) *end++ = '-';
  const double magnitude = std::fabs(value);
  if (magnitude == 0.0 || (magnitude >= 0.1 && magnitude < 1e17)) {
    const int decimals = freeDecimals(magnitude);
    end = std::to_chars(end, std::end(text), magnitude, std::chars_format::fixed, decimals).ptr;
    if (decimals == 0) *end++ = '.';
    appendField(out, std::string_view(text, static_cast<std::size_t>(end - text)), kFreeFixedWidth);
    out.append(kFreeRealWidth - kFreeFixedWidth, ' ');
    return;
  }
  end = std::to_chars(end, std::end(text), magnitude, std::chars_format::scientific,
                      kFreeSignificantDigits - 1)
            .ptr;
  // The exponent comes as e-05 or e+300; the field has E and three digits.
  char* exponent = end;
  while (exponent[-1] != 'e') --exponent;
  exponent[-1] = 'E';
  ++exponent;  // past the sign
  if (end - exponent == 2) {
    exponent[2] = exponent[1];
    exponent[1] = exponent[0];
    exponent[0] = '0';
    ++end;
  }
  appendField(out, std::string_view(text, static_cast<std::size_t>(end - text)), kFreeRealWidth);
}
