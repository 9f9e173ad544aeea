#include "run/parameter_entry.h"

#include <array>
#include <string>
#include <string_view>

#include "run/output.h"
#include "run/stop.h"

namespace {

constexpr std::string_view kHelp[] = {
    "**********************",
    "*  Program BELROVIN  *",
    "**********************",
    "NPER = Number of sampling periods,",
    "NBET = Number of periods between capture periods,",
    "FI   = Adult survival rate,",
    "PS   = Adult resighting probability,",
    "PRPNY= Proportion of yng/adlt pop. size,",
    "FY   = Young survival rate,",
    "PRPPC= Proportion of yng/adlt capt. prob.,",
    "N1-N2= Range of population sizes,",
    "NINC = Increment of population size,",
    "P1-P2= Range of capture probabilities,",
    "PINC = Increment of capture probability,",
    "MEAN = 0 Compute arithmetic mean survival rate,",
    "MEAN = 1 Compute geometric mean survival rate,",
    "PRT  = 0 Do not print combined M(i,j) array,",
    "PRT  = 1 Print combined M(i,j) array",
    "NPER,NBET,FI,PS,PRPNY,FY,PRPPC,N1,N2,NINC,P1,P2,PINC,MEAN:",
};

constexpr std::string_view kFieldNames[] = {"NPER", "NBET",  "FI",   "PS",   "PRPNY",
                                            "FY",   "PRPPC", "N1",   "N2",   "NINC",
                                            "P1",   "P2",    "PINC", "MEAN", "PRT"};

constexpr std::size_t kLineColumns = 128;

// A character after which a value cut at column 128 would go on.
bool continuesValue(int c) { return c >= 0 && c != ' ' && c != '\t' && c != ',' && c != '/'; }

}  // namespace

bool enterParameters(RecordWriter& writer, StreamSource& input, ParameterSet& par) {
  for (std::string_view text : kHelp) {
    const OutputValue record[] = {text};
    writer.writeFree(record);
  }
  flushOrStop(writer);
  return readParameterLine(input, par);
}

bool readParameterLine(StreamSource& input, ParameterSet& par) {
  // The line: its first 128 characters, filled up with blanks.
  std::array<char, kLineColumns> line;
  line.fill(' ');
  int c = input.next();
  if (c == CharSource::kEnd) {
    throw Stop{kExitBadInput, "belrovin: end of input before the parameter line"};
  }
  std::size_t length = 0;
  while (c >= 0 && length < kLineColumns) {
    line[length++] = static_cast<char>(c);
    c = input.next();
  }
  const bool cut = length == kLineColumns && continuesValue(c);
  while (c >= 0) c = input.next();  // the rest of the line is dropped

  if (line[0] < '0' || line[0] > '9') return false;

  std::array<ReadItem, 15> items = {{
      {&par.NPER},
      {&par.NBET},
      {&par.FI},
      {&par.PS},
      {&par.PRPNY},
      {&par.FY},
      {&par.PRPPC},
      {&par.N1},
      {&par.N2},
      {&par.NINC},
      {&par.P1},
      {&par.P2},
      {&par.PINC},
      {&par.MEAN},
      {&par.PRT},
  }};
  TextSource source(std::string_view(line.data(), line.size()), cut);
  if (readValues(source, items, "the parameter line") == ReadEnd::EndOfInput) {
    throw Stop{kExitBadInput,
               "belrovin: end of input: the parameter line holds fewer than fifteen values"};
  }
  // Every field but PRT, which has a start value, needs a value of its own.
  for (std::size_t i = 0; i + 1 < items.size(); ++i) {
    if (!items[i].filled) {
      throw Stop{kExitBadInput, "belrovin: item " + std::to_string(i + 1) + " (" +
                                    std::string(kFieldNames[i]) +
                                    ") of the parameter line has no value"};
    }
  }
  if (par.NPER > kMaxPeriods) {
    throw Stop{kExitBadInput, "belrovin: NPER = " + std::to_string(par.NPER) +
                                  " is above the limit of 36 sampling periods"};
  }
  return true;
}
