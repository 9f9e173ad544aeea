#include "run/value_reader.h"

#include <charconv>
#include <cstddef>
#include <ios>
#include <limits>
#include <system_error>
#include <type_traits>
#include <variant>

#include "run/stop.h"

namespace {

// The next character of `buffer`, CharSource::kLineEnd or CharSource::kEnd.
int nextOf(std::streambuf* buffer) {
  using Traits = std::streambuf::traits_type;
  if (buffer == nullptr) return CharSource::kEnd;
  const Traits::int_type c = buffer->sbumpc();
  if (Traits::eq_int_type(c, Traits::eof())) return CharSource::kEnd;
  if (c == '\n') return CharSource::kLineEnd;
  if (c == '\r' && buffer->sgetc() == '\n') {
    buffer->sbumpc();
    return CharSource::kLineEnd;
  }
  return c;
}

}  // namespace

int StreamSource::next() {
  if (ended_) return kEnd;
  int c = kEnd;
  try {
    c = nextOf(in_.rdbuf());
  } catch (const std::ios_base::failure&) {
    // A stream that cannot be read (a closed standard input) ends here.
  }
  if (c == kEnd) ended_ = true;
  return c;
}

int TextSource::next() {
  if (pos_ == text_.size()) return kEnd;
  return static_cast<unsigned char>(text_[pos_++]);
}

namespace {

// Decimal exponents beyond this put every value out of range of a double.
constexpr std::int64_t kExponentLimit = 9999;
// Exponent digits stop counting here, far beyond any length of a token.
constexpr std::int64_t kExponentCap = 100'000'000'000'000'000;
// Quoted characters of a bad value in a diagnostic.
constexpr std::size_t kQuotedLength = 20;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSign(char c) { return c == '+' || c == '-'; }

bool endsToken(int c) { return c < 0 || c == ' ' || c == '\t' || c == ',' || c == '/'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsWord(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lower(text[i]) != word[i]) return false;
  }
  return true;
}

void appendInteger(std::string& out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// Appends decimal digit `digit` to `value`; from `limit` on, digits no longer count.
template <typename T>
void addDigit(T& value, char digit, T limit) {
  if (value < limit) value = value * 10 + static_cast<T>(digit - '0');
}

bool toInteger(std::string_view text, std::int32_t& value) {
  const std::size_t start = !text.empty() && isSign(text[0]) ? 1 : 0;
  if (start == text.size()) return false;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (!isDigit(text[i])) return false;
  }
  // from_chars takes a minus sign but no plus sign.
  const char* first = text.data() + (text[0] == '+' ? 1 : 0);
  const char* last = text.data() + text.size();
  std::int32_t result = 0;
  const auto [end, error] = std::from_chars(first, last, result);
  if (error != std::errc() || end != last) return false;
  value = result;
  return true;
}

class ListReader {
 public:
  ListReader(CharSource& source, std::span<ReadItem> items, std::string_view what)
      : source_(source), items_(items), what_(what) {}

  ReadEnd read() {
    advance();
    if (items_.empty()) {
      if (c_ == CharSource::kEnd) return ReadEnd::EndOfInput;
      skipLine();
      return ReadEnd::Complete;
    }
    bool valueSinceComma = false;
    for (;;) {
      while (c_ == ' ' || c_ == '\t' || c_ == CharSource::kLineEnd) advance();
      if (c_ == CharSource::kEnd) return ReadEnd::EndOfInput;
      if (c_ == '/') {
        skipLine();
        return ReadEnd::Slash;
      }
      if (c_ == ',') {
        if (!valueSinceComma) ++next_;  // an empty value
        valueSinceComma = false;
        advance();
      } else {
        takeToken();
        giveToken();
        valueSinceComma = true;
      }
      if (next_ == items_.size()) {
        skipLine();
        return ReadEnd::Complete;
      }
    }
  }

 private:
  void advance() {
    c_ = source_.next();
    if (c_ == CharSource::kLineEnd) {
      column_ = 0;
    } else if (c_ >= 0) {
      ++column_;
    }
  }

  // Leaves the source at the start of the next line, unless it stands there.
  void skipLine() {
    while (c_ >= 0) advance();
  }

  // The run of characters from the current one up to a separator or slash.
  void takeToken() {
    token_.clear();
    while (!endsToken(c_)) {
      token_ += static_cast<char>(c_);
      advance();
    }
  }

  // Fills items from the token: one value, or a repeat r*v or r*.
  void giveToken() {
    if (c_ == CharSource::kEnd && source_.cutAtEnd()) {
      std::string where = " cut at column ";
      appendInteger(where, column_);
      fail(where);
    }
    std::string_view value = token_;
    std::uint64_t copies = 1;
    if (const std::size_t star = value.find('*'); star != std::string_view::npos) {
      copies = repeatCount(value.substr(0, star));
      value.remove_prefix(star + 1);
    }
    for (; copies > 0 && next_ < items_.size(); --copies, ++next_) {
      if (!value.empty()) store(items_[next_], value);
    }
  }

  std::uint64_t repeatCount(std::string_view text) {
    constexpr std::uint64_t kMoreThanItems = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t count = 0;
    for (const char c : text) {
      if (!isDigit(c)) fail("");
      addDigit(count, c, kMoreThanItems);
    }
    if (count == 0) fail("");
    return count;
  }

  void store(ReadItem& item, std::string_view text) {
    const bool stored = std::visit(
        [&](auto* target) {
          using Value = std::remove_pointer_t<decltype(target)>;
          if constexpr (std::is_same_v<Value, std::int32_t>) {
            return toInteger(text, *target);
          } else {
            return toNumber(text, *target);
          }
        },
        item.target);
    if (!stored) fail("");
    item.filled = true;
  }

  template <typename T>
  bool toNumber(std::string_view text, T& value) {
    if (!normalise(text)) return false;
    const char* last = number_.data() + number_.size();
    T result{};
    const auto [end, error] = std::from_chars(number_.data(), last, result);
    if (error == std::errc::result_out_of_range) {
      result = exponent_ >= 0 ? std::numeric_limits<T>::infinity() : T{0};
      if (number_[0] == '-') result = -result;
    } else if (error != std::errc() || end != last) {
      return false;
    }
    value = result;
    return true;
  }

  // Checks the number syntax of `text` and writes it to number_ in the form
  // from_chars takes: no plus sign, the significant digits as d.ddd, and the
  // decimal exponent of the first of them (held to a safe range) after "e".
  bool normalise(std::string_view text) {
    number_.clear();
    std::size_t i = 0;
    if (i < text.size() && isSign(text[i])) {
      if (text[i] == '-') number_ += '-';
      ++i;
    }
    const std::string_view unsigned_text = text.substr(i);
    if (equalsWord(unsigned_text, "inf") || equalsWord(unsigned_text, "infinity") ||
        equalsWord(unsigned_text, "nan")) {
      number_ += unsigned_text;
      return true;
    }

    std::int64_t digits = 0;
    std::int64_t digitsBeforePoint = -1;
    std::int64_t firstSignificant = -1;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '.' && digitsBeforePoint < 0) {
        digitsBeforePoint = digits;
        continue;
      }
      if (!isDigit(c)) break;
      if (firstSignificant < 0 && c != '0') firstSignificant = digits;
      if (firstSignificant >= 0) {
        if (digits == firstSignificant + 1) number_ += '.';
        number_ += c;
      }
      ++digits;
    }
    if (digits == 0) return false;
    if (digitsBeforePoint < 0) digitsBeforePoint = digits;

    std::int64_t exponent = 0;
    if (i < text.size()) {
      const char mark = lower(text[i]);
      if (mark == 'e' || mark == 'd')
        ++i;
      else if (!isSign(mark))
        return false;
      bool negative = false;
      if (i < text.size() && isSign(text[i])) negative = text[i++] == '-';
      if (i == text.size()) return false;
      for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) return false;
        addDigit(exponent, text[i], kExponentCap);
      }
      if (negative) exponent = -exponent;
    }

    if (firstSignificant < 0) {
      number_ += '0';  // a zero, with its sign
      return true;
    }
    exponent_ = exponent + digitsBeforePoint - 1 - firstSignificant;
    if (exponent_ > kExponentLimit) exponent_ = kExponentLimit;
    if (exponent_ < -kExponentLimit) exponent_ = -kExponentLimit;
    number_ += 'e';
    appendInteger(number_, exponent_);
    return true;
  }

  [[noreturn]] void fail(std::string_view why) const {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string message = "belrovin: bad value for item ";
    appendInteger(message, static_cast<std::int64_t>(next_ + 1));
    message += " of ";
    message += what_;
    message += ": \"";
    for (std::size_t i = 0; i < token_.size() && i < kQuotedLength; ++i) {
      const auto c = static_cast<unsigned char>(token_[i]);
      if (c == '"' || c == '\\') {
        message += '\\';
        message += static_cast<char>(c);
      } else if (c >= 0x20 && c < 0x7F) {
        message += static_cast<char>(c);
      } else {
        message += "\\x";
        message += kHex[c >> 4];
        message += kHex[c & 0xF];
      }
    }
    if (token_.size() > kQuotedLength) message += "...";
    message += '"';
    message += why;
    throw Stop{kExitBadInput, message};
  }

  CharSource& source_;
  std::span<ReadItem> items_;
  std::string_view what_;
  std::size_t next_ = 0;       // index of the next item to fill
  int c_ = CharSource::kEnd;   // the current character
  std::int64_t column_ = 0;    // column of the current character in its line
  std::string token_;          // the current token
  std::string number_;         // the current number value, normalised
  std::int64_t exponent_ = 0;  // decimal exponent of its first significant digit
};

}  // namespace

ReadEnd readValues(CharSource& source, std::span<ReadItem> items, std::string_view what) {
  return ListReader(source, items, what).read();
}
