// An output stream buffer that counts what it is given and keeps nothing:
// a sink for whole reports in tests, fuzzing and the benchmark.
#pragma once

#include <cstddef>
#include <streambuf>

class CountingSink : public std::streambuf {
 public:
  std::size_t bytes = 0;

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) ++bytes;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<std::size_t>(n);
    return n;
  }
};
