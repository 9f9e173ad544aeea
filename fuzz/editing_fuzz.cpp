// Field editing of arbitrary values against a slow reference editor.
//
// The reference expands a double exactly (its mantissa times a power of two,
// in big-integer decimal arithmetic), rounds the digits half to even and
// builds each field from the editing rules; it uses no library conversion.
//
// Input: byte 0 selects how the double is made (raw bits, a binary fraction
// n / 2^k, or a decimal fraction n / 10^k), then 8 bytes for it, 4 for the
// integer, 2 each for the width and the decimals (small or up to 32767, the
// largest a template takes); the rest is the text.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "report/field_editing.h"

namespace {

// A non-negative integer in base 10^9, lowest limb first.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    } while (value != 0);
  }

  // factor < 2^32, so limb * factor + carry fits 64 bits.
  void multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  // Times base^count, in steps that stay below 2^32.
  void multiplyByPower(std::uint32_t base, std::uint32_t step, int count) {
    std::uint32_t big_factor = 1;
    for (std::uint32_t k = 0; k < step; ++k) big_factor *= base;
    for (; count >= static_cast<int>(step); count -= static_cast<int>(step)) multiply(big_factor);
    for (; count > 0; --count) multiply(base);
  }

  // Decimal digits without leading zeros; "0" for zero.
  std::string digits() const {
    std::string text;
    for (std::size_t k = limbs_.size(); k-- > 0;) {
      std::uint32_t limb = limbs_[k];
      char chunk[9];
      for (int i = 8; i >= 0; --i) {
        chunk[i] = static_cast<char>('0' + limb % 10);
        limb /= 10;
      }
      text.append(chunk, 9);
    }
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string::npos ? "0" : text.substr(first);
  }

 private:
  static constexpr std::uint64_t kBase = 1'000'000'000;
  std::vector<std::uint32_t> limbs_;
};

// The exact decimal value of a finite non-negative double.
struct ExactDecimal {
  std::string integer;   // no leading zeros; empty below 1
  std::string fraction;  // every digit after the point
};

ExactDecimal expand(double magnitude) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  const int exponent = (biased == 0 ? 1 : biased) - 1075;  // magnitude = mantissa * 2^exponent

  BigDecimal number(mantissa);
  std::size_t fraction_digits = 0;
  if (exponent >= 0) {
    number.multiplyByPower(2, 31, exponent);
  } else {
    // mantissa / 2^k = mantissa * 5^k / 10^k
    number.multiplyByPower(5, 13, -exponent);
    fraction_digits = static_cast<std::size_t>(-exponent);
  }
  std::string digits = number.digits();
  if (digits.size() <= fraction_digits) {
    digits.insert(0, fraction_digits + 1 - digits.size(), '0');
  }
  ExactDecimal result;
  result.integer = digits.substr(0, digits.size() - fraction_digits);
  result.fraction = digits.substr(digits.size() - fraction_digits);
  const std::size_t first = result.integer.find_first_not_of('0');
  result.integer = first == std::string::npos ? "" : result.integer.substr(first);
  return result;
}

// Adds one to the last digit of a decimal digit string.
void increment(std::string& digits) {
  for (std::size_t k = digits.size(); k-- > 0;) {
    if (digits[k] != '9') {
      ++digits[k];
      return;
    }
    digits[k] = '0';
  }
  digits.insert(0, 1, '1');
}

// `kept` followed by the dropped digits, rounded to nearest, ties to the
// even last kept digit.
void roundHalfEven(std::string& kept, std::string_view dropped) {
  if (dropped.empty() || dropped[0] < '5') return;
  const bool above_half =
      dropped[0] > '5' || dropped.substr(1).find_first_not_of('0') != std::string_view::npos;
  const char last = kept.empty() ? '0' : kept.back();
  if (above_half || (last - '0') % 2 == 1) increment(kept);
}

// The magnitude rounded to `decimals` places: integer digits (empty below 1)
// and exactly `decimals` fraction digits.
struct Rounded {
  std::string integer;
  std::string fraction;
};

Rounded roundToDecimals(const ExactDecimal& x, std::size_t decimals) {
  std::string kept = x.integer;
  std::string_view dropped;
  if (x.fraction.size() > decimals) {
    kept.append(x.fraction, 0, decimals);
    dropped = std::string_view(x.fraction).substr(decimals);
  } else {
    kept += x.fraction;
    kept.append(decimals - x.fraction.size(), '0');
  }
  roundHalfEven(kept, dropped);
  Rounded result;
  result.integer = kept.substr(0, kept.size() - decimals);
  result.fraction = kept.substr(kept.size() - decimals);
  const std::size_t first = result.integer.find_first_not_of('0');
  result.integer = first == std::string::npos ? "" : result.integer.substr(first);
  return result;
}

std::string rightAligned(std::string_view text, std::size_t width) {
  if (text.size() > width) return std::string(width, '*');
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string referenceInteger(std::int32_t value, std::size_t width) {
  const bool negative = value < 0;
  std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(value)
                                     : static_cast<std::uint64_t>(value);
  magnitude &= 0xFFFFFFFF;
  std::string digits;
  do {
    digits.insert(0, 1, static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return rightAligned((negative ? "-" : "") + digits, width);
}

std::string referenceFixed(double value, std::size_t width, std::size_t decimals) {
  if (std::isnan(value)) return rightAligned("NaN", width);
  const bool negative = std::signbit(value);
  if (std::isinf(value)) {
    if (negative) return rightAligned(width >= 9 ? "-Infinity" : "-Inf", width);
    return rightAligned(width >= 8 ? "Infinity" : "Inf", width);
  }
  const Rounded r = roundToDecimals(expand(std::fabs(value)), decimals);
  std::string body = r.integer + "." + r.fraction;
  const std::size_t needed = (negative ? 1 : 0) + body.size();
  if (needed > width) return std::string(width, '*');
  if (r.integer.empty() && needed < width) body.insert(0, 1, '0');
  return rightAligned((negative ? "-" : "") + body, width);
}

std::string referenceText(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(0, width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string referenceFreeReal(double value) {
  if (std::isnan(value)) return rightAligned("NaN", 25);
  const std::string sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value)) return rightAligned(sign + "Infinity", 25);
  const double magnitude = std::fabs(value);
  const ExactDecimal x = expand(magnitude);
  if (magnitude == 0.0 || (magnitude >= 0.1 && magnitude < 1e17)) {
    const std::size_t decimals = 17 - x.integer.size() - (magnitude == 0.0 ? 1 : 0);
    const Rounded r = roundToDecimals(x, decimals);
    const std::string text = sign + (r.integer.empty() ? "0" : r.integer) + "." + r.fraction;
    return rightAligned(text, 20) + std::string(5, ' ');
  }
  // Exponent form: 17 significant digits d.ddd and the power of ten of the first.
  const std::string all = x.integer + x.fraction;
  const std::size_t first = all.find_first_not_of('0');
  long power = static_cast<long>(x.integer.size()) - 1 - static_cast<long>(first);
  std::string kept = all.substr(first, 17);
  kept.append(17 - kept.size(), '0');
  roundHalfEven(kept, std::string_view(all).substr(std::min(all.size(), first + 17)));
  if (kept.size() > 17) {
    kept.pop_back();
    ++power;
  }
  std::string text = sign + kept.substr(0, 1) + "." + kept.substr(1) + "E";
  text += power < 0 ? '-' : '+';
  const long exponent = power < 0 ? -power : power;
  text += static_cast<char>('0' + exponent / 100);
  text += static_cast<char>('0' + exponent / 10 % 10);
  text += static_cast<char>('0' + exponent % 10);
  return rightAligned(text, 25);
}

template <typename T>
T take(std::string_view& input) {
  unsigned char bytes[sizeof(T)] = {};
  const std::size_t n = std::min(input.size(), sizeof(T));
  std::memcpy(bytes, input.data(), n);
  input.remove_prefix(n);
  return std::bit_cast<T>(bytes);
}

// Half of the widths and decimal counts small, as in the program's templates.
std::size_t takeSize(std::string_view& input) {
  const auto raw = take<std::uint16_t>(input);
  return (raw & 0x8000) != 0 ? raw & 0x7FFF : raw & 0x1F;
}

double takeDouble(std::string_view& input, unsigned char mode) {
  const auto raw = take<std::uint64_t>(input);
  switch (mode % 3) {
    case 0:
      return std::bit_cast<double>(raw);
    case 1:  // exact halves, quarters, ... of whole numbers
      return std::ldexp(static_cast<double>(static_cast<std::int64_t>(raw >> 8)),
                        -static_cast<int>(raw & 0x3F));
    default:  // near decimal fractions
      return static_cast<double>(static_cast<std::int32_t>(raw >> 32)) /
             std::pow(10.0, static_cast<double>(raw & 0x1F));
  }
}

void check(const OutputBuffer& actual, const std::string& expected) {
  if (actual.view() != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto mode = take<unsigned char>(input);
  const double real = takeDouble(input, mode);
  const auto integer = take<std::int32_t>(input);
  const std::size_t width = takeSize(input);
  const std::size_t decimals = takeSize(input);
  const std::string_view text = input;
  const auto w = static_cast<std::uint32_t>(width);

  OutputBuffer out;
  editFixed(out, real, w, static_cast<std::uint32_t>(decimals));
  check(out, referenceFixed(real, width, decimals));
  out.clear();
  editInteger(out, integer, w);
  check(out, referenceInteger(integer, width));
  out.clear();
  editText(out, text, w);
  check(out, referenceText(text, width));
  out.clear();
  editFreeReal(out, real);
  check(out, referenceFreeReal(real));
  out.clear();
  editFreeInteger(out, integer);
  check(out, referenceInteger(integer, 11));
  return 0;
}
