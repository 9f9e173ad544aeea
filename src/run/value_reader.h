// Value-list reading: characters of a source taken apart into integers,
// single- and double-precision numbers.
#pragma once

#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <variant>

// A source of characters, line by line.
class CharSource {
 public:
  static constexpr int kLineEnd = -1;  // end of a line (LF, or CR LF)
  static constexpr int kEnd = -2;      // end of the input

  virtual ~CharSource() = default;
  // The next character (0..255), kLineEnd or kEnd. After kEnd, kEnd again.
  virtual int next() = 0;
  // True when a value that ends at the source's end was cut off there.
  virtual bool cutAtEnd() const { return false; }
};

// Lines of a stream. A CR directly before LF belongs to the line end; the
// last line may lack its LF. Reads the stream one character at a time, so
// nothing grows with the length of a line.
class StreamSource final : public CharSource {
 public:
  explicit StreamSource(std::istream& in) : in_(in) {}
  int next() override;

 private:
  std::istream& in_;
  bool ended_ = false;
};

// A fixed text treated as one line that ends the input; `cut` says that the
// line it was taken from went on with a character that can be part of a value.
class TextSource final : public CharSource {
 public:
  TextSource(std::string_view text, bool cut) : text_(text), cut_(cut) {}
  int next() override;
  bool cutAtEnd() const override { return cut_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  bool cut_;
};

// One item of a read: where its value goes, and whether the read gave it one.
struct ReadItem {
  std::variant<std::int32_t*, float*, double*> target;
  bool filled = false;
};

enum class ReadEnd {
  Complete,    // every item got a value or an empty value
  Slash,       // a slash ended the read early
  EndOfInput,  // the source ended before every item was reached
};

// Reads `items` in order. Every read starts at the start of a line; after it
// the source stands at the start of the next line. Throws Stop (bad input)
// for a value that does not fit its item, naming the item's position and
// `what` (for instance "the parameter line").
ReadEnd readValues(CharSource& source, std::span<ReadItem> items, std::string_view what);
