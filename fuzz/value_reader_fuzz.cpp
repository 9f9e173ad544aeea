// Value-list reading of arbitrary bytes into an arbitrary list of items.
//
// Input: byte 0 holds the number of items (its low six bits, mod 40) and the
// source (bit 6: a fixed text, bit 7: that text was cut), then one byte per
// four items with their kinds; the rest is the text. The reads go on until
// the end of the input or a Stop, which must be bad input naming an item of
// the read. Items the read leaves unfilled keep their start values.
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "run/stop.h"
#include "run/value_reader.h"

namespace {

constexpr std::int32_t kUnsetInteger = -1234567;
constexpr std::uint32_t kUnsetFloatBits = 0x7FA1B2C3;              // a NaN with a payload
constexpr std::uint64_t kUnsetDoubleBits = 0x7FF4000000ABCDEFull;  // likewise

struct Items {
  std::vector<std::int32_t> integers;
  std::vector<float> floats;
  std::vector<double> doubles;
  std::vector<ReadItem> list;
};

// Kinds: 0 integer, 1 single, 2 and 3 double.
void makeItems(Items& items, std::string_view kinds, std::size_t count) {
  items.integers.assign(count, kUnsetInteger);
  items.floats.assign(count, std::bit_cast<float>(kUnsetFloatBits));
  items.doubles.assign(count, std::bit_cast<double>(kUnsetDoubleBits));
  items.list.clear();
  for (std::size_t k = 0; k < count; ++k) {
    const auto byte = static_cast<unsigned char>(kinds[k / 4]);
    switch ((byte >> (2 * (k % 4))) & 3) {
      case 0:
        items.list.push_back({&items.integers[k]});
        break;
      case 1:
        items.list.push_back({&items.floats[k]});
        break;
      default:
        items.list.push_back({&items.doubles[k]});
        break;
    }
  }
}

// An unfilled item still holds its start value, bit for bit.
void checkUnfilledKeepStart(const Items& items) {
  for (std::size_t k = 0; k < items.list.size(); ++k) {
    if (items.list[k].filled) continue;
    if (items.integers[k] != kUnsetInteger ||
        std::bit_cast<std::uint32_t>(items.floats[k]) != kUnsetFloatBits ||
        std::bit_cast<std::uint64_t>(items.doubles[k]) != kUnsetDoubleBits) {
      std::abort();
    }
  }
}

// A Stop of a read of `count` items: bad input, one line naming item 1..count.
void checkStop(const Stop& stop, std::size_t count) {
  static constexpr std::string_view kPrefix = "belrovin: bad value for item ";
  const std::string_view message = stop.message;
  if (stop.status != kExitBadInput) std::abort();
  if (message.substr(0, kPrefix.size()) != kPrefix) std::abort();
  if (message.find('\n') != std::string_view::npos) std::abort();
  const std::size_t item = std::strtoul(stop.message.c_str() + kPrefix.size(), nullptr, 10);
  if (item < 1 || item > count) std::abort();
}

// Every read of the source, each with a fresh copy of the item list.
void readAll(CharSource& source, std::string_view kinds, std::size_t count) {
  Items items;
  for (;;) {
    makeItems(items, kinds, count);
    try {
      const ReadEnd end = readValues(source, items.list, "the fuzz record");
      checkUnfilledKeepStart(items);
      if (end == ReadEnd::EndOfInput) return;
    } catch (const Stop& stop) {
      checkStop(stop, count);
      return;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto head = static_cast<unsigned char>(input[0]);
  const std::size_t count = (head & 0x3F) % 40;
  const std::size_t kind_bytes = (count + 3) / 4;
  if (size < 1 + kind_bytes) return 0;
  const std::string_view kinds = input.substr(1, kind_bytes);
  const std::string_view text = input.substr(1 + kind_bytes);

  if (head & 0x40) {
    TextSource source(text, (head & 0x80) != 0);
    readAll(source, kinds, count);
  } else {
    std::istringstream stream{std::string(text)};
    StreamSource source(stream);
    readAll(source, kinds, count);
  }
  return 0;
}
