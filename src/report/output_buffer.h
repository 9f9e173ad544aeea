// A growable character buffer for rendered records. Unlike std::string it
// does not fill new room in advance, so a field is written straight into it.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class OutputBuffer {
 public:
  // Room for `n` more characters at the end; returns where they go. The
  // caller writes all of them.
  char* extend(std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
    char* at = data_.get() + size_;
    size_ += n;
    return at;
  }
  void append(std::string_view text) {
    if (!text.empty()) std::memcpy(extend(text.size()), text.data(), text.size());
  }
  void append(std::size_t n, char c) {
    char* at = extend(n);
    for (std::size_t k = 0; k < n; ++k) at[k] = c;
  }
  void push_back(char c) { *extend(1) = c; }

  void reserve(std::size_t n) {
    if (capacity_ - size_ < n) grow(n);
  }

  std::string_view view() const { return {data_.get(), size_}; }
  std::size_t size() const { return size_; }
  void clear() { size_ = 0; }

 private:
  // Makes room for `n` more characters; the rare path, kept out of line.
  void grow(std::size_t n);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
