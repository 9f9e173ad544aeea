#include "run/driver.h"

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

  printDescription(writer);
  deriveRunValues(ws);
  const ParameterGrids grids = buildGrids(ws.par);

  std::int32_t ipage = 0;
  for (std::int32_t KN = 1; KN <= grids.NN; ++KN) {
    startPage(ws, grids.NGRID[KN]);
    printPageHeading(writer, ws, ipage);
    for (std::int32_t KP = 1; KP <= grids.NP; ++KP) {
      if (!runBlock(ws, grids.PGRID[KP])) throw Stop{kExitModelCheck, "STOP *** col>rel **"};
      // The estimates leave the arrays as built, so they print the same here.
      printCombinedArrays(writer, ws);
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
