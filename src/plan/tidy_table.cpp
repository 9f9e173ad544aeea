#include "plan/tidy_table.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "plan/csv.h"
#include "plan/estimate.h"

namespace {

constexpr double kNA = std::numeric_limits<double>::quiet_NaN();

double smallestMarkedSeen(const WorkingSet& ws) {
  double smallest = kNA;
  for (std::int32_t j = 2; j <= ws.par.NPER; ++j) {
    if (std::isnan(ws.MJ[j])) return kNA;
    if (j == 2 || ws.MJ[j] < smallest) smallest = ws.MJ[j];
  }
  return smallest;
}

// The rows of one block, which share their N, P and min_MJ.
class BlockRows {
 public:
  BlockRows(OutputBuffer& out, const WorkingSet& ws, float N, float P)
      : out_(out),
        N_(csvText(NRoom_, N)),
        P_(csvText(PRoom_, P)),
        minMJ_(csvText(minMJRoom_, smallestMarkedSeen(ws))) {}

  void mean(std::string_view estimate, double value) { row(estimate, "mean", value); }
  void period(std::string_view estimate, std::int32_t J, double value) {
    CsvRoom room;
    row(estimate, csvText(room, J), value);
  }

 private:
  void row(std::string_view estimate, std::string_view period, double value) {
    CsvRoom room;
    out_.append(N_);
    out_.push_back(',');
    out_.append(P_);
    out_.push_back(',');
    out_.append(estimate);
    out_.push_back(',');
    out_.append(period);
    out_.push_back(',');
    out_.append(csvText(room, value));
    out_.push_back(',');
    out_.append(minMJ_);
    out_.push_back('\n');
  }

  OutputBuffer& out_;
  CsvRoom NRoom_, PRoom_, minMJRoom_;
  std::string_view N_, P_, minMJ_;
};

}  // namespace

void appendTidyHeader(OutputBuffer& out) { out.append("N,P,estimate,period,value,min_MJ\n"); }

void appendTidyRows(OutputBuffer& out, const WorkingSet& ws, float N, float P) {
  BlockRows rows(out, ws, N, P);

  const std::string_view adult = estimateName(Estimate::AdultSurvival);
  rows.mean(adult, meanCV(ws, Estimate::AdultSurvival));
  for (std::int32_t J = 1; J <= ws.NPM2; ++J) rows.period(adult, J, ws.CVPHI[J]);

  if (ws.par.PRPNY > 0) {
    const std::string_view young = estimateName(Estimate::YoungSurvival);
    rows.mean(young, meanCV(ws, Estimate::YoungSurvival));
    // cvfy(J) is this block's own only where it released young in period J.
    for (std::int32_t J = 1; J <= ws.NPM2; ++J)
      rows.period(young, J, ws.RY[J] > 0 ? ws.cvfy[J] : kNA);
  }

  const std::string_view population = estimateName(Estimate::PopulationSize);
  rows.mean(population, meanCV(ws, Estimate::PopulationSize));
  for (std::int32_t J = 2; J <= ws.NPM1; ++J) rows.period(population, J, ws.CVN[J]);

  for (std::int32_t J = 2; J <= ws.NPM1; ++J) rows.period("expected_marked", J, ws.EXPM[J]);
}
