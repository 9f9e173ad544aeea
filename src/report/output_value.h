// Values handed to the record writer, and a fixed-capacity list of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// One value of an output statement: an integer, a double or a text.
struct OutputValue {
  enum class Kind : std::uint8_t { Integer, Real, Text };

  OutputValue() = default;
  OutputValue(std::int32_t value) : kind(Kind::Integer), integer(value) {}
  OutputValue(double value) : kind(Kind::Real), real(value) {}
  OutputValue(std::string_view value) : kind(Kind::Text), text(value) {}

  Kind kind = Kind::Integer;
  std::int32_t integer = 0;
  double real = 0.0;
  std::string_view text;
};

// The values of one statement, built on the stack: no statement of the
// program needs more than 40 values (a combined-array row of 36 periods has 37).
class ValueList {
 public:
  static constexpr std::size_t kCapacity = 40;

  void push(OutputValue value) {
    if (size_ < kCapacity) items_[size_++] = value;
  }
  void clear() { size_ = 0; }
  std::size_t size() const { return size_; }
  std::span<const OutputValue> view() const { return {items_.data(), size_}; }
  operator std::span<const OutputValue>() const { return view(); }

 private:
  std::array<OutputValue, kCapacity> items_{};
  std::size_t size_ = 0;
};
