#include "run/driver.h"

#include <algorithm>
#include <memory>

#include "model/block.h"
#include "report/headings.h"
#include "report/result_table.h"
#include "run/collected_data.h"
#include "run/grids.h"
#include "run/output.h"
#include "run/parameter_entry.h"
#include "run/stop.h"

namespace {

void runReport(RecordWriter& writer, StreamSource& input, WorkingSet& ws) {
  if (!enterParameters(writer, input, ws.par)) return;
  readCollectedData(writer, input, ws);

  ParameterSet& par = ws.par;
  ws.IGEO = par.MEAN == 1;
  printDescription(writer);
  const ParameterGrids grids = buildGrids(par);
  ws.ALLCAP = 0;
  if (par.NBET <= 0) {
    par.NBET = 1;
    ws.ALLCAP = 1;
  }
  // Every NPER below -36 runs like -36; the floor keeps NPER - 2 in range.
  const std::int32_t NPER = std::max(par.NPER, -kMaxPeriods);
  ws.NPM1 = NPER - 1;
  ws.NPM2 = NPER - 2;

  std::int32_t ipage = 0;
  for (std::int32_t KN = 1; KN <= grids.NN; ++KN) {
    ws.N = static_cast<double>(grids.NGRID[KN]);
    ws.NY = ws.N * par.PRPNY;
    if (ws.nper1 >= 1) ws.AVGP = averageCaptureProbability(ws);
    printPageHeading(writer, ws, ipage);
    for (std::int32_t KP = 1; KP <= grids.NP; ++KP) {
      if (!buildExpectedArrays(ws, grids.PGRID[KP])) {
        throw Stop{kExitModelCheck, "STOP *** col>rel **"};
      }
      printCombinedArrays(writer, ws);
      computeEstimates(ws);
      computePrecision(ws);
      printResultRows(writer, ws);
    }
    if (writer.failed()) break;  // reported below; no use computing further pages
  }
}

}  // namespace

int runBelrovin(std::istream& in, std::ostream& out, std::ostream& err) {
  RecordWriter writer(out);
  const auto ws = std::make_unique<WorkingSet>();
  StreamSource input(in);
  int status = kExitComplete;
  try {
    runReport(writer, input, *ws);
  } catch (const Stop& stop) {
    status = stop.status;
    writer.flush();  // what was printed before the stop stays printed
    err << stop.message << '\n';
  }
  if (!writer.flush() && status != kExitOutputFailed) {
    status = kExitOutputFailed;
    err << "belrovin: cannot write standard output\n";
  }
  err.flush();
  return status;
}
