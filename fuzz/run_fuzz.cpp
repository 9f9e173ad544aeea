// The whole run on arbitrary standard input, the report counted and dropped.
//
// The run must end with status 0, 1 or 2 (the output cannot fail here), with
// nothing on standard error exactly when the status is 0: the model check's
// stop line for 1, one diagnostic line for 2.
//
// Inputs whose parameter line asks for more than kMaxBlocks blocks are left
// out: the largest report takes seconds under the sanitizers, and pages and
// blocks beyond the first few repeat the same code with other values.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "../tests/support/counting_sink.h"
#include "run/driver.h"
#include "run/grids.h"
#include "run/parameter_entry.h"
#include "run/stop.h"

namespace {

constexpr std::int64_t kMaxBlocks = 48;

// Reads a fixed text without copying it.
class TextBuffer : public std::streambuf {
 public:
  explicit TextBuffer(std::string_view text) {
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
  }
};

// Pages times blocks per page that the parameter line asks for; 0 when the
// run ends at the line.
std::int64_t blocksAsked(std::string_view input) {
  TextBuffer buffer(input);
  std::istream in(&buffer);
  StreamSource source(in);
  ParameterSet par;
  try {
    if (!readParameterLine(source, par)) return 0;
  } catch (const Stop&) {
    return 0;
  }
  const ParameterGrids grids = buildGrids(par);
  return std::int64_t{grids.NN} * grids.NP;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (blocksAsked(input) > kMaxBlocks) return -1;  // kept out of the corpus

  TextBuffer in_buffer(input);
  std::istream in(&in_buffer);
  CountingSink out_buffer;
  std::ostream out(&out_buffer);
  std::ostringstream err;
  const int status = runBelrovin(in, out, err);
  const std::string diagnostics = err.str();

  if (out_buffer.bytes == 0) std::abort();  // the help text comes first
  switch (status) {
    case kExitComplete:
      if (!diagnostics.empty()) std::abort();
      break;
    case kExitModelCheck:
      if (diagnostics != "STOP *** col>rel **\n") std::abort();
      break;
    case kExitBadInput:
      if (diagnostics.rfind("belrovin: ", 0) != 0) std::abort();
      if (diagnostics.find('\n') != diagnostics.size() - 1) std::abort();
      break;
    default:
      std::abort();
  }
  return 0;
}
