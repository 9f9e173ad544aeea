#include "report/result_table.h"

namespace {

const FormatTemplate kCombinedAdultHeading =
    FormatTemplate::parse(R"((/41H            COMBINED  ADULT DATA - M(i,j)))");
const FormatTemplate kCombinedYoungHeading =
    FormatTemplate::parse(R"((/41H            COMBINED  YOUNG DATA - M(i,j)))");
const FormatTemplate kArrayLine = FormatTemplate::parse(R"((20F5.0))");
const FormatTemplate kColumnTotals = FormatTemplate::parse(R"((/20F5.0))");

const FormatTemplate kAdultSurvivalRow =
    FormatTemplate::parse(R"((/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4))))");
const FormatTemplate kYoungSurvivalRow =
    FormatTemplate::parse(R"((7X,9H CV(PHI'),F7.4,2X,(15(1X,F6.4))))");
const FormatTemplate kPopulationRow =
    FormatTemplate::parse(R"(('        CV(N)  ',F8.4,9X,(15(1X,F6.4))))");
const FormatTemplate kMarkedRow = FormatTemplate::parse(R"(('        EXP(M) ',8x,9X,(15f7.1)))");

// Every row of a recapture array, each with its row total last.
void printArrayRows(RecordWriter& writer, const PeriodArray& M, const PeriodVector& rowTotal,
                    std::int32_t NPER) {
  ValueList values;
  for (std::int32_t I = 1; I <= NPER; ++I) {
    values.clear();
    for (std::int32_t J = 1; J <= NPER; ++J) values.push(M[I][J]);
    values.push(rowTotal[I]);
    writer.write(kArrayLine, values);
  }
}

void printPeriods(RecordWriter& writer, const FormatTemplate& format, const PeriodVector& v,
                  std::int32_t first, std::int32_t last) {
  ValueList values;
  for (std::int32_t I = first; I <= last; ++I) values.push(v[I]);
  writer.write(format, values);
}

}  // namespace

void printCombinedArrays(RecordWriter& writer, const WorkingSet& ws) {
  if (ws.par.PRT <= 0) return;
  const std::int32_t NPER = ws.par.NPER;
  writer.write(kCombinedAdultHeading, {});
  printArrayRows(writer, ws.MA, ws.RRA, NPER);
  printPeriods(writer, kColumnTotals, ws.MJ, 1, NPER);
  printPeriods(writer, kArrayLine, ws.RA, 1, NPER);
  if (ws.RY[1] + ws.RY[2] > 0) {
    writer.write(kCombinedYoungHeading, {});
    printArrayRows(writer, ws.MY, ws.RRY, NPER);
    printPeriods(writer, kArrayLine, ws.RY, 1, NPER);
  }
}

void printResultRows(RecordWriter& writer, const WorkingSet& ws) {
  ValueList values;
  values.push(ws.P);
  values.push(ws.CVPHIM);
  for (std::int32_t J = 1; J <= ws.NPM2; ++J) values.push(ws.CVPHI[J]);
  writer.write(kAdultSurvivalRow, values);

  if (ws.par.PRPNY > 0) {
    values.clear();
    values.push(ws.CVFYM);
    for (std::int32_t J = 1; J <= ws.NPM2; ++J) values.push(ws.cvfy[J]);
    writer.write(kYoungSurvivalRow, values);
  }

  values.clear();
  values.push(ws.CVNM);
  for (std::int32_t J = 2; J <= ws.NPM1; ++J) values.push(ws.CVN[J]);
  writer.write(kPopulationRow, values);

  printPeriods(writer, kMarkedRow, ws.EXPM, 2, ws.NPM1);
}
