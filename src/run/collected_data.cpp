#include "run/collected_data.h"

#include <array>
#include <string>

#include "run/output.h"
#include "run/stop.h"

namespace {

// One read of `count` doubles into consecutive entries of `values` from
// index `first` on, with the prompt's output visible before it waits.
ReadEnd readRecord(RecordWriter& writer, CharSource& input, PeriodVector& values,
                   std::int32_t first, std::int32_t count, const std::string& what) {
  std::array<ReadItem, kMaxPeriods> items;
  const auto size = static_cast<std::size_t>(count > 0 ? count : 0);
  for (std::size_t k = 0; k < size; ++k) items[k] = {&values[static_cast<std::size_t>(first) + k]};
  flushOrStop(writer);
  return readValues(input, std::span(items.data(), size), what);
}

std::string rowName(std::string_view group, std::int32_t i) {
  return std::string(group) + " row " + std::to_string(i) + " of the previously collected data";
}

// The echo of an adult row: its number, then its values.
void echoRow(RecordWriter& writer, std::int32_t i, const PeriodVector& row, std::int32_t nper1) {
  ValueList values;
  values.push(i);
  for (std::int32_t j = i + 1; j <= nper1; ++j) values.push(row[j]);
  writer.writeFree(values);
}

void echoReleases(RecordWriter& writer, const PeriodVector& releases, std::int32_t nper1) {
  ValueList values;
  for (std::int32_t i = 1; i <= nper1; ++i) values.push(releases[i]);
  writer.writeFree(values);
}

}  // namespace

void readCollectedData(RecordWriter& writer, CharSource& input, WorkingSet& ws) {
  std::int32_t nper1 = 0;
  std::array<ReadItem, 1> count = {{{&nper1}}};
  flushOrStop(writer);
  const ReadEnd end =
      readValues(input, count, "the number of periods of previously collected data");
  if (nper1 < 0 || nper1 > kMaxPeriods) {
    throw Stop{kExitBadInput, "belrovin: " + std::to_string(nper1) +
                                  " periods of previously collected data: the limit is 0 to 36"};
  }
  ws.nper1 = nper1;
  if (end == ReadEnd::EndOfInput) return;

  for (std::int32_t i = 1; i <= nper1 - 1; ++i) {
    if (readRecord(writer, input, ws.MA[i], i + 1, nper1 - i, rowName("adult", i)) ==
        ReadEnd::EndOfInput)
      return;
    echoRow(writer, i, ws.MA[i], nper1);
  }
  if (readRecord(writer, input, ws.RA, 1, nper1,
                 "the adult releases of the previously collected data") == ReadEnd::EndOfInput)
    return;
  echoReleases(writer, ws.RA, nper1);

  for (std::int32_t i = 1; i <= nper1 - 1; ++i) {
    if (readRecord(writer, input, ws.MY[i], i + 1, nper1 - i, rowName("young", i)) ==
        ReadEnd::EndOfInput)
      return;
  }
  if (readRecord(writer, input, ws.RY, 1, nper1,
                 "the young releases of the previously collected data") == ReadEnd::EndOfInput) {
    throw Stop{kExitBadInput,
               "belrovin: end of input in the young releases of the previously collected data"};
  }
}
