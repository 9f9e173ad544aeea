// The chart: the mean CVs against the capture probability, one panel per
// estimate and one line per population size, as plain SVG 1.1.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "plan/estimate.h"
#include "plan/targets.h"

struct ChartLine {
  float N = 0;
  std::vector<std::array<double, 3>> cv;  // for each P of the chart, by Estimate
};

struct ChartData {
  std::string subtitle;            // the design, in one line
  std::vector<Estimate> panels;    // left to right
  std::vector<float> P;            // the capture probabilities, in grid order
  std::vector<ChartLine> lines;    // in grid order of N
  std::optional<Targets> targets;  // a dashed line in each named panel
};

// The CVs on a logarithmic scale; a value that is not a positive number
// within 1e-100..1e100 leaves a gap in its line.
std::string renderChart(const ChartData& chart);
