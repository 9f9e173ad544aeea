#include "report/format_template.h"

#include <stdexcept>
#include <string>

namespace {

// Counts, widths and decimals above this are rejected.
constexpr std::uint32_t kMaxNumber = 32767;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char toUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Reads the template text left to right and builds the item list.
class Parser {
 public:
  Parser(std::string_view source, std::vector<FormatTemplate::Item>& items, std::string& text)
      : source_(source), items_(items), text_(text) {}

  // Parses the whole template; returns the index that reversion goes back to.
  std::uint32_t run();

 private:
  using Op = FormatTemplate::Op;
  // What stands right before the current position; decides what may follow.
  enum class Last { Open, Item, Separator, Comma };

  [[noreturn]] void fail(const char* what) const {
    throw std::invalid_argument(std::string(what) + " at column " + std::to_string(pos_ + 1) +
                                " of format " + std::string(source_));
  }
  bool atEnd() const { return pos_ == source_.size(); }
  void skipBlanks() {
    while (!atEnd() && source_[pos_] == ' ') ++pos_;
  }
  // An unsigned number, or false when no digit stands here.
  bool number(std::uint32_t& value);
  std::uint32_t requiredNumber(const char* what);
  std::uint32_t index() const { return static_cast<std::uint32_t>(items_.size()); }

  void item();
  void quotedLiteral();
  void countedLiteral(std::uint32_t size);
  void descriptor(Op op, std::uint32_t repeat);
  void literal(std::size_t begin) {
    items_.push_back({.op = Op::Literal,
                      .text_begin = static_cast<std::uint32_t>(begin),
                      .text_size = static_cast<std::uint32_t>(text_.size() - begin)});
  }

  std::string_view source_;
  std::vector<FormatTemplate::Item>& items_;
  std::string& text_;
  std::size_t pos_ = 0;
  std::vector<std::uint32_t> open_groups_;  // GroupBegin indices
  std::uint32_t reversion_start_ = 0;
};

bool Parser::number(std::uint32_t& value) {
  if (atEnd() || !isDigit(source_[pos_])) return false;
  value = 0;
  while (!atEnd() && isDigit(source_[pos_])) {
    value = value * 10 + static_cast<std::uint32_t>(source_[pos_] - '0');
    if (value > kMaxNumber) fail("number too large");
    ++pos_;
  }
  return true;
}

std::uint32_t Parser::requiredNumber(const char* what) {
  std::uint32_t value = 0;
  if (!number(value)) fail(what);
  return value;
}

std::uint32_t Parser::run() {
  skipBlanks();
  if (atEnd() || source_[pos_] != '(') fail("expected (");
  ++pos_;
  Last last = Last::Open;
  for (;;) {
    skipBlanks();
    if (atEnd()) fail("missing )");
    const char c = source_[pos_];
    if (c == ',') {
      if (last != Last::Item && last != Last::Separator) fail("unexpected ,");
      ++pos_;
      last = Last::Comma;
    } else if (c == '/') {
      ++pos_;
      items_.push_back({.op = Op::Separator});
      last = Last::Separator;
    } else if (c == ')') {
      if (last == Last::Open || last == Last::Comma) fail("expected an item");
      ++pos_;
      if (open_groups_.empty()) break;
      const std::uint32_t begin = open_groups_.back();
      open_groups_.pop_back();
      items_[begin].partner = index();
      items_.push_back({.op = Op::GroupEnd, .partner = begin});
      last = Last::Item;
    } else {
      if (last == Last::Item) fail("expected , / or )");
      item();
      last = items_.back().op == Op::GroupBegin ? Last::Open : Last::Item;
    }
  }
  skipBlanks();
  if (!atEnd()) fail("text after the closing )");
  return reversion_start_;
}

void Parser::item() {
  if (source_[pos_] == '\'') {
    quotedLiteral();
    return;
  }
  std::uint32_t count = 1;
  const bool counted = number(count);
  if (atEnd()) fail("incomplete item");
  if (count == 0) fail("zero count");
  const char letter = toUpper(source_[pos_]);
  if (letter == 'H' && counted) {
    ++pos_;
    countedLiteral(count);
  } else if (letter == 'X' && counted) {
    ++pos_;
    items_.push_back({.op = Op::Skip, .count = count});
  } else if (letter == 'I') {
    descriptor(Op::Integer, count);
  } else if (letter == 'F') {
    descriptor(Op::Fixed, count);
  } else if (letter == 'A') {
    descriptor(Op::Text, count);
  } else if (letter == '(') {
    ++pos_;
    if (open_groups_.size() == FormatTemplate::kMaxGroupDepth) fail("groups nested too deep");
    if (open_groups_.empty()) reversion_start_ = index();
    open_groups_.push_back(index());
    items_.push_back({.op = Op::GroupBegin, .count = count});
  } else {
    fail("unknown item");
  }
}

void Parser::quotedLiteral() {
  ++pos_;
  const std::size_t begin = text_.size();
  for (;;) {
    const std::size_t quote = source_.find('\'', pos_);
    if (quote == std::string_view::npos) fail("unterminated literal");
    text_.append(source_.substr(pos_, quote - pos_));
    pos_ = quote + 1;
    if (atEnd() || source_[pos_] != '\'') break;
    text_.push_back('\'');
    ++pos_;
  }
  literal(begin);
}

void Parser::countedLiteral(std::uint32_t size) {
  if (source_.size() - pos_ < size) fail("counted literal runs past the end");
  const std::size_t begin = text_.size();
  text_.append(source_.substr(pos_, size));
  pos_ += size;
  literal(begin);
}

void Parser::descriptor(Op op, std::uint32_t repeat) {
  ++pos_;
  const std::uint32_t width = requiredNumber("expected a width");
  if (width == 0) fail("zero width");
  std::uint32_t decimals = 0;
  if (op == Op::Fixed) {
    if (atEnd() || source_[pos_] != '.') fail("expected .");
    ++pos_;
    decimals = requiredNumber("expected decimals");
  }
  items_.push_back({.op = op, .count = repeat, .width = width, .decimals = decimals});
}

}  // namespace

FormatTemplate FormatTemplate::parse(std::string_view source) {
  FormatTemplate format;
  format.reversion_start_ = Parser(source, format.items_, format.text_).run();
  return format;
}
