// A format template, parsed once into a flat list of items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Template syntax: a parenthesised list of quoted literals ('it''s'), counted
// literals (9H CV(PHI')), skips (nX), record separators (/), value
// descriptors (Iw, Fw.d, Aw, with an optional repeat count) and groups
// (r(...)), separated by commas, which may be left out next to a /; descriptor
// letters in either case; blanks between items ignored.
class FormatTemplate {
 public:
  enum class Op : std::uint8_t {
    Literal,     // text_begin, text_size: its characters, see literal()
    Skip,        // count columns
    Separator,   // end the record, start a new one
    Integer,     // Iw: width
    Fixed,       // Fw.d: width, decimals
    Text,        // Aw: width
    GroupBegin,  // count repeats; partner = index of the matching GroupEnd
    GroupEnd,    // partner = index of the matching GroupBegin
  };

  struct Item {
    Op op;
    std::uint32_t count = 1;  // skip columns, value-descriptor repeat, group repeat
    std::uint32_t width = 0;
    std::uint32_t decimals = 0;
    std::uint32_t partner = 0;  // group partner index
    std::uint32_t text_begin = 0;
    std::uint32_t text_size = 0;
  };

  // Deepest nesting of groups that parse accepts.
  static constexpr std::size_t kMaxGroupDepth = 8;

  // Parses a template; throws std::invalid_argument on text outside the syntax.
  static FormatTemplate parse(std::string_view source);

  const std::vector<Item>& items() const { return items_; }
  std::string_view literal(const Item& item) const {
    return std::string_view(text_).substr(item.text_begin, item.text_size);
  }
  // Index of the first item that reversion goes back to: the GroupBegin of the
  // last group at the outer level, or 0 when the outer level holds no group.
  std::uint32_t reversion_start() const { return reversion_start_; }

 private:
  std::vector<Item> items_;
  std::string text_;  // every literal's characters, back to back
  std::uint32_t reversion_start_ = 0;
};
