// Targets for the mean CVs, and the smallest capture probability that meets
// them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/working_set.h"
#include "plan/estimate.h"
#include "report/output_buffer.h"

struct Targets {
  std::array<bool, 3> named{};    // by Estimate
  std::array<double, 3> limit{};  // the largest mean CV wanted
};

// "N=0.10,PHI=0.05,YOUNG=0.10": one or more of N (CVNM), PHI (CVPHIM) and
// YOUNG (CVFYM), each once, in any order, each a positive finite number. On
// a bad list returns nothing and says why in `problem`.
std::optional<Targets> parseTargets(std::string_view text, std::string& problem);

// Capture probabilities of the scan: k / 1000 for k = 1..1000, each rounded
// to single precision as the report's grid stores the P1 of its line.
inline constexpr int kScanSteps = 1000;
inline float scanProbability(int k) { return static_cast<float>(k / 1000.0); }

struct TargetResult {
  bool reached = false;
  float P = 0;
  std::array<double, 3> cv{};  // the mean CVs at P, by Estimate
};

// Every named mean CV of the block just run at or below its limit (a NaN is not).
bool meetsTargets(const WorkingSet& ws, const Targets& targets);

// For the page's N (startPage done): the first P of the scan at which the
// design meets the targets. Every P is tried in turn from the smallest, so
// nothing is assumed about how the CVs change with P; a P that fails the
// marked-versus-released check does not meet them. Each block starts with
// the saved young-survival arrays as at the start of a run.
TargetResult scanForTargets(WorkingSet& ws, const Targets& targets);

// N,P and a column for each named estimate (in the order of Estimate).
void appendTargetHeader(OutputBuffer& out, const Targets& targets);
// P is "none" and the CVs NA when no P of the scan meets the targets.
void appendTargetRow(OutputBuffer& out, const Targets& targets, float N, const TargetResult& r);
