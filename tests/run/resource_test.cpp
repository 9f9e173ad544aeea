// Input of any shape and length: lines of 10 MB, a last line without its line
// feed, NUL bytes and bytes above 127, CR LF line ends, no input at all. Each
// gives its documented result, and the memory a run holds does not grow with
// the length of a line.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <ios>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>

#include "../support/counting_sink.h"
#include "run/driver.h"

// Live bytes of the whole test program and their peak. operator new and
// delete go to malloc and free, so the sanitizers still watch every block.
namespace {
std::size_t live_bytes = 0;
std::size_t peak_bytes = 0;
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  live_bytes += malloc_usable_size(block);
  if (live_bytes > peak_bytes) peak_bytes = live_bytes;
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  live_bytes -= malloc_usable_size(block);
  std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

// Standard input made while it is read: a head, `count` copies of a piece,
// and a tail; it never holds more than one small buffer of it.
class GeneratedInput : public std::streambuf {
 public:
  GeneratedInput(std::string head, std::string piece, std::size_t count, std::string tail)
      : head_(std::move(head)),
        piece_(std::move(piece)),
        tail_(std::move(tail)),
        body_end_(head_.size() + piece_.size() * count) {}

 protected:
  int_type underflow() override {
    std::size_t n = 0;
    for (; n < sizeof buffer_ && at_ < body_end_ + tail_.size(); ++n, ++at_) {
      if (at_ < head_.size()) {
        buffer_[n] = head_[at_];
      } else if (at_ < body_end_) {
        buffer_[n] = piece_[(at_ - head_.size()) % piece_.size()];
      } else {
        buffer_[n] = tail_[at_ - body_end_];
      }
    }
    if (n == 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + n);
    return traits_type::to_int_type(buffer_[0]);
  }

 private:
  std::string head_, piece_, tail_;
  std::size_t body_end_;
  std::size_t at_ = 0;
  char buffer_[4096];
};

// Fails every read, as standard input on a closed descriptor does.
class UnreadableInput : public std::streambuf {
 protected:
  int_type underflow() override { throw std::ios_base::failure("Bad file descriptor"); }
};

struct Outcome {
  int status;
  std::string out;
  std::string err;
  std::size_t peak;  // most bytes allocated at once during the run
};

Outcome run(std::streambuf* input, bool keep_report = true) {
  std::istream in(input);
  std::ostringstream report, err;
  CountingSink sink;
  std::ostream out(keep_report ? static_cast<std::streambuf*>(report.rdbuf()) : &sink);
  const std::size_t start = live_bytes;
  peak_bytes = live_bytes;
  const int status = runBelrovin(in, out, err);
  const std::size_t peak = peak_bytes - start;
  return {status, report.str(), err.str(), peak};
}

Outcome run(const std::string& input) {
  std::stringbuf buffer(input);
  return run(&buffer);
}

const std::string kLine = "6 1 .8 .5 .5 .5 1 100 200 100 .5 .5 .1 0 1";
const std::string kData = "3\n12 5\n15\n30 36 40\n4 2\n4\n15 15 15\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

TEST(Resources, LinesOf10MegabytesGiveTheReportInBoundedMemory) {
  const Outcome reference = run(kLine + "\n" + kData);
  ASSERT_EQ(reference.status, 0) << reference.err;
  struct Case {
    const char* what;
    std::string head, piece, tail;  // the input: head, piece over 10 MB, tail
  };
  const Case cases[] = {
      {"parameter line: text after the fifteenth value", kLine + " ", "x,9 ", "\n" + kData},
      {"data line: the rest after nper1", kLine + "\n3", " 7", "\n" + kData.substr(2)},
      {"data line: blanks before a row", kLine + "\n3\n", " ", kData.substr(2)},
  };
  for (const Case& c : cases) {
    GeneratedInput input(c.head, c.piece, kTenMegabytes / c.piece.size(), c.tail);
    const Outcome r = run(&input);
    EXPECT_EQ(r.status, 0) << c.what << ": " << r.err;
    EXPECT_EQ(r.out, reference.out) << c.what;
    // Nothing of the long line is kept: the same memory as the short input.
    EXPECT_LE(r.peak, reference.peak + 4096) << c.what;
  }
}

TEST(Resources, AValueOf10MegabytesIsReadWholeInMemoryOfItsLength) {
  // The first row value 12 written with 10 MB of leading zeros.
  GeneratedInput input(kLine + "\n3\n", "0", kTenMegabytes, kData.substr(2));
  const Outcome r = run(&input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, run(kLine + "\n" + kData).out);
  // Its text is held once, and so the measurement is seen to work.
  EXPECT_GT(r.peak, kTenMegabytes);
  EXPECT_LT(r.peak, 3 * kTenMegabytes);
}

TEST(Resources, ParameterLineOf10MegabytesOfDigitsIsCutAtColumn128) {
  GeneratedInput input("", "1", kTenMegabytes, "\n");
  const Outcome r = run(&input, false);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "belrovin: bad value for item 1 of the parameter line: "
            "\"11111111111111111111...\" cut at column 128\n");
  EXPECT_LT(r.peak, 1024 * 1024);
}

TEST(Resources, LineEndsAndUnusualBytes) {
  const std::string input = kLine + "\n" + kData;
  const Outcome reference = run(input);
  // The same report without the last line feed, and with CR LF line ends.
  for (const std::string& variant :
       {input.substr(0, input.size() - 1), replaced(input, "\n", "\r\n"),
        kLine + std::string(" \xE9\x00\xFF text\n", 10) + kData}) {
    const Outcome r = run(variant);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, reference.out);
    EXPECT_EQ(r.err, "");
  }
  // A NUL or a byte above 127 first on the line: the user leaves.
  for (const std::string& line : {std::string("\0"
                                              "10 1\n",
                                              6),
                                  std::string("\xE9"
                                              "10 1\n")}) {
    const Outcome r = run(line);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
  }
  // Within a value they are bad values, quoted in hexadecimal.
  struct Case {
    std::string input;
    std::string diagnostic;
  };
  const Case cases[] = {
      {replaced(kLine, " .8 ", std::string(" .8\0 ", 5)) + "\n",
       "belrovin: bad value for item 3 of the parameter line: \".8\\x00\"\n"},
      {kLine + "\n3\n12 5\xE9\n",
       "belrovin: bad value for item 2 of adult row 1 of the previously collected data: "
       "\"5\\xE9\"\n"},
      {kLine + "\r\n3\r\n12 5\r15\r\n",
       "belrovin: bad value for item 2 of adult row 1 of the previously collected data: "
       "\"5\\x0D15\"\n"},
  };
  for (const Case& c : cases) {
    const Outcome r = run(c.input);
    EXPECT_EQ(r.status, 2) << c.input;
    EXPECT_EQ(r.err, c.diagnostic);
  }
}

TEST(Resources, NoInputEndsWithTheEndOfInputDiagnostic) {
  const std::string diagnostic = "belrovin: end of input before the parameter line\n";
  EXPECT_EQ(run("").err, diagnostic);
  EXPECT_EQ(run("").status, 2);
  // A closed standard input: a stream without a buffer, or one whose buffer
  // throws as a file buffer does on a closed descriptor.
  UnreadableInput unreadable;
  for (std::streambuf* buffer :
       {static_cast<std::streambuf*>(nullptr), static_cast<std::streambuf*>(&unreadable)}) {
    std::istream closed(buffer);
    std::ostringstream out, err;
    EXPECT_EQ(runBelrovin(closed, out, err), 2);
    EXPECT_EQ(err.str(), diagnostic);
  }
}
