#include "plan/targets.h"

#include <charconv>
#include <cmath>

#include "model/block.h"
#include "plan/csv.h"

namespace {

// The key of each estimate in a target list.
constexpr std::string_view kKeys[] = {"PHI", "YOUNG", "N"};

std::optional<Estimate> estimateOfKey(std::string_view key) {
  for (Estimate e : kEstimates) {
    if (kKeys[index(e)] == key) return e;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Targets> parseTargets(std::string_view text, std::string& problem) {
  Targets targets;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const std::size_t equals = item.find('=');
    const std::string_view key = item.substr(0, equals);
    const std::optional<Estimate> e = estimateOfKey(key);
    if (!e || equals == std::string_view::npos) {
      problem = "bad target '" + std::string(item) + "': write N=, PHI= or YOUNG= and a CV";
      return std::nullopt;
    }
    if (targets.named[index(*e)]) {
      problem = "target " + std::string(key) + " given twice";
      return std::nullopt;
    }
    const std::string_view number = item.substr(equals + 1);
    double limit = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), limit);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(limit) ||
        !(limit > 0)) {
      problem = "bad target " + std::string(key) + " = '" + std::string(number) +
                "': the CV wanted must be a positive number";
      return std::nullopt;
    }
    targets.named[index(*e)] = true;
    targets.limit[index(*e)] = limit;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return targets;
}

bool meetsTargets(const WorkingSet& ws, const Targets& targets) {
  for (Estimate e : kEstimates) {
    if (targets.named[index(e)] && !(meanCV(ws, e) <= targets.limit[index(e)])) return false;
  }
  return true;
}

TargetResult scanForTargets(WorkingSet& ws, const Targets& targets) {
  TargetResult result;
  for (int k = 1; k <= kScanSteps; ++k) {
    // The saved arrays are the only values a block can take from an earlier one.
    ws.phiy = notComputedVector();
    ws.sefy = notComputedVector();
    ws.cvfy = notComputedVector();
    const float P = scanProbability(k);
    if (!runBlock(ws, P) || !meetsTargets(ws, targets)) continue;
    result.reached = true;
    result.P = P;
    for (Estimate e : kEstimates) result.cv[index(e)] = meanCV(ws, e);
    break;
  }
  return result;
}

void appendTargetHeader(OutputBuffer& out, const Targets& targets) {
  out.append("N,P");
  for (Estimate e : kEstimates) {
    if (!targets.named[index(e)]) continue;
    out.push_back(',');
    out.append(estimateName(e));
  }
  out.push_back('\n');
}

void appendTargetRow(OutputBuffer& out, const Targets& targets, float N, const TargetResult& r) {
  CsvRoom room;
  out.append(csvText(room, N));
  out.push_back(',');
  out.append(r.reached ? csvText(room, r.P) : "none");
  for (Estimate e : kEstimates) {
    if (!targets.named[index(e)]) continue;
    out.push_back(',');
    out.append(r.reached ? csvText(room, r.cv[index(e)]) : "NA");
  }
  out.push_back('\n');
}
