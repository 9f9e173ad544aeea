#include "plan/chart.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "plan/csv.h"

namespace {

// Layout in pixels.
constexpr double kMargin = 24;
constexpr double kAxisRoom = 62;  // tick labels and axis title left of a plot
constexpr double kPlotWidth = 300;
constexpr double kPlotHeight = 260;
constexpr double kPanelGap = 30;
constexpr double kPlotTop = 104;
constexpr double kBelowPlot = 58;  // tick labels and axis title below a plot
constexpr double kLegendGap = 34;
constexpr double kLegendRow = 19;
constexpr double kLegendWidth = 130;
// Factor between a target and the nearest end of its axis, at least.
constexpr double kTargetRoom = 1.25;
// The CVs a chart shows; a NaN, zero, negative or more extreme value is not shown.
constexpr double kSmallestCV = 1e-100, kLargestCV = 1e100;

constexpr std::string_view kColors[] = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e", "#9467bd",
                                        "#8c564b", "#e377c2", "#17becf", "#7f7f7f", "#bcbd22"};
// After every colour has been used once, the lines go on dashed.
constexpr std::string_view kDashes[] = {"", "8 3", "2 2", "8 3 2 3"};

constexpr std::string_view kPanelTitles[] = {"Adult survival", "Young survival", "Population size"};

// m * 10^e, the double nearest to it for whole m.
double scaled(double m, int e) {
  double power = 1;
  for (int k = 0; k < (e < 0 ? -e : e); ++k) power = power * 10;
  return e < 0 ? m / power : m * power;
}

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Step i of the sequence 1, 2, 5, 10, 20, ...; step 0 is 1.
double oneTwoFive(int i) {
  constexpr double kMantissa[] = {1, 2, 5};
  const int decade = floorDiv(i, 3);
  return scaled(kMantissa[i - 3 * decade], decade);
}

// The first step of the sequence at or above `value` (positive, finite).
int stepAtOrAbove(double value) {
  int i = 3 * static_cast<int>(std::floor(std::log10(value)));
  while (oneTwoFive(i) > value) --i;
  while (oneTwoFive(i) < value) ++i;
  return i;
}

struct Axis {
  double lo = 0, hi = 1;
  bool log = false;
  std::vector<double> ticks;

  // 0 at lo, 1 at hi.
  double fraction(double v) const {
    if (log) return (std::log10(v) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
    return (v - lo) / (hi - lo);
  }
};

// From the step of the sequence at or below `smallest` to the one at or above
// `largest`, ticked at every step; a range of more than nine steps is ticked
// at whole decades, at most nine of them.
Axis logAxis(double smallest, double largest) {
  int lo = stepAtOrAbove(smallest);
  if (oneTwoFive(lo) > smallest) --lo;
  int hi = std::max(stepAtOrAbove(largest), lo + 1);
  Axis axis{oneTwoFive(lo), oneTwoFive(hi), true, {}};
  if (hi - lo <= 9) {
    for (int i = lo; i <= hi; ++i) axis.ticks.push_back(oneTwoFive(i));
    return axis;
  }
  const int first = floorDiv(lo, 3);
  const int last = -floorDiv(-hi, 3);
  const int every = (last - first + 7) / 8;
  axis.lo = scaled(1, first);
  axis.hi = scaled(1, first + (last - first + every - 1) / every * every);
  for (int d = first; scaled(1, d) <= axis.hi; d += every) axis.ticks.push_back(scaled(1, d));
  return axis;
}

// Whole multiples of a step of the sequence, about six of them over the range.
Axis linearAxis(double smallest, double largest) {
  const double span = largest > smallest ? largest - smallest : 0.5;
  const int step = stepAtOrAbove(span / 6);
  const int decade = floorDiv(step, 3);
  const double mantissa = oneTwoFive(step - 3 * decade);
  const double width = oneTwoFive(step);
  const double first = std::floor(smallest / width);
  double last = std::ceil(largest / width);
  if (last == first) last = first + 1;
  Axis axis{scaled(first * mantissa, decade), scaled(last * mantissa, decade), false, {}};
  for (double n = first; n <= last; n = n + 1) axis.ticks.push_back(scaled(n * mantissa, decade));
  return axis;
}

// A CV at a finite P that a log scale can hold; anything else leaves a gap.
bool plottable(float P, double cv) {
  return std::isfinite(P) && cv >= kSmallestCV && cv <= kLargestCV;
}

class Svg {
 public:
  void raw(std::string_view s) { text_ += s; }
  void number(double v) {
    char room[320];  // any double with one decimal
    const auto end = std::to_chars(room, room + sizeof room, v, std::chars_format::fixed, 1).ptr;
    text_.append(room, end);
  }
  void escaped(std::string_view s) {
    for (char c : s) {
      if (c == '&') {
        text_ += "&amp;";
      } else if (c == '<') {
        text_ += "&lt;";
      } else if (c == '>') {
        text_ += "&gt;";
      } else {
        text_ += c;
      }
    }
  }
  void line(double x1, double y1, double x2, double y2, std::string_view style) {
    raw("<line x1=\"");
    number(x1);
    raw("\" y1=\"");
    number(y1);
    raw("\" x2=\"");
    number(x2);
    raw("\" y2=\"");
    number(y2);
    raw("\" ");
    raw(style);
    raw("/>\n");
  }
  void text(double x, double y, std::string_view style, std::string_view content) {
    raw("<text x=\"");
    number(x);
    raw("\" y=\"");
    number(y);
    raw("\" ");
    raw(style);
    raw(">");
    escaped(content);
    raw("</text>\n");
  }
  // The stroke of line `k`: its colour, and its dashes once the colours repeat.
  void stroke(std::size_t k) {
    constexpr std::size_t colours = std::size(kColors);
    raw("stroke=\"");
    raw(kColors[k % colours]);
    raw("\"");
    const std::string_view dashes = kDashes[k / colours % std::size(kDashes)];
    if (!dashes.empty()) {
      raw(" stroke-dasharray=\"");
      raw(dashes);
      raw("\"");
    }
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

struct Frame {
  double left, top, width, height;
  double x(const Axis& a, double v) const { return left + a.fraction(v) * width; }
  double y(const Axis& a, double v) const { return top + height - a.fraction(v) * height; }
};

void drawAxes(Svg& svg, const Frame& f, const Axis& xAxis, const Axis& yAxis) {
  CsvRoom room;
  for (double t : yAxis.ticks) {
    const double y = f.y(yAxis, t);
    svg.line(f.left, y, f.left + f.width, y, "stroke=\"#dddddd\"");
    svg.line(f.left - 5, y, f.left, y, "stroke=\"#000000\"");
    svg.text(f.left - 8, y + 4, "text-anchor=\"end\" font-size=\"12\"", csvText(room, t));
  }
  for (double t : xAxis.ticks) {
    const double x = f.x(xAxis, t);
    svg.line(x, f.top, x, f.top + f.height, "stroke=\"#dddddd\"");
    svg.line(x, f.top + f.height, x, f.top + f.height + 5, "stroke=\"#000000\"");
    svg.text(x, f.top + f.height + 19, "text-anchor=\"middle\" font-size=\"12\"", csvText(room, t));
  }
  svg.raw("<rect x=\"");
  svg.number(f.left);
  svg.raw("\" y=\"");
  svg.number(f.top);
  svg.raw("\" width=\"");
  svg.number(f.width);
  svg.raw("\" height=\"");
  svg.number(f.height);
  svg.raw("\" fill=\"none\" stroke=\"#000000\"/>\n");
  svg.text(f.left + f.width / 2, f.top + f.height + 42, "text-anchor=\"middle\" font-size=\"13\"",
           "capture probability P");
  const double yTitle = f.top + f.height / 2;
  svg.raw("<text x=\"0\" y=\"0\" text-anchor=\"middle\" font-size=\"13\" transform=\"translate(");
  svg.number(f.left - kAxisRoom + 14);
  svg.raw(",");
  svg.number(yTitle);
  svg.raw(") rotate(-90)\">CV of the mean (log scale)</text>\n");
}

void drawPanel(Svg& svg, const ChartData& chart, std::size_t panel, const Frame& f,
               const Axis& xAxis) {
  const Estimate e = chart.panels[panel];
  const std::size_t k = index(e);
  const bool target = chart.targets && chart.targets->named[k];

  double smallest = INFINITY, largest = -INFINITY;
  for (const ChartLine& line : chart.lines) {
    for (std::size_t p = 0; p < chart.P.size(); ++p) {
      const double cv = line.cv[p][k];
      if (!plottable(chart.P[p], cv)) continue;
      smallest = std::min(smallest, cv);
      largest = std::max(largest, cv);
    }
  }
  if (target) {  // with room on both sides, so that the line clears the frame
    smallest = std::min(smallest, chart.targets->limit[k] / kTargetRoom);
    largest = std::max(largest, chart.targets->limit[k] * kTargetRoom);
  }
  const bool empty = !(smallest <= largest);
  const Axis yAxis = empty ? logAxis(0.01, 1) : logAxis(smallest, largest);

  svg.raw("<g class=\"panel\">\n");
  svg.text(f.left + f.width / 2, f.top - 12,
           "text-anchor=\"middle\" font-size=\"15\" font-weight=\"bold\"", kPanelTitles[k]);
  drawAxes(svg, f, xAxis, yAxis);
  if (empty) {
    svg.text(f.left + f.width / 2, f.top + f.height / 2, "text-anchor=\"middle\" font-size=\"13\"",
             "no finite CV");
  }
  for (std::size_t n = 0; n < chart.lines.size(); ++n) {
    const ChartLine& line = chart.lines[n];
    auto point = [&](std::size_t p) { return plottable(chart.P[p], line.cv[p][k]); };
    // Each run of two or more points in a row is one polyline.
    for (std::size_t first = 0; first < chart.P.size();) {
      std::size_t end = first;
      while (end < chart.P.size() && point(end)) ++end;
      if (end - first >= 2) {
        svg.raw("<polyline fill=\"none\" stroke-width=\"2\" ");
        svg.stroke(n);
        svg.raw(" points=\"");
        for (std::size_t p = first; p < end; ++p) {
          if (p > first) svg.raw(" ");
          svg.number(f.x(xAxis, static_cast<double>(chart.P[p])));
          svg.raw(",");
          svg.number(f.y(yAxis, line.cv[p][k]));
        }
        svg.raw("\"/>\n");
      }
      first = end + 1;  // past the gap, or the end
    }
    for (std::size_t p = 0; p < chart.P.size(); ++p) {
      if (!point(p)) continue;
      svg.raw("<circle r=\"2.5\" cx=\"");
      svg.number(f.x(xAxis, static_cast<double>(chart.P[p])));
      svg.raw("\" cy=\"");
      svg.number(f.y(yAxis, line.cv[p][k]));
      svg.raw("\" fill=\"");
      svg.raw(kColors[n % std::size(kColors)]);
      svg.raw("\"/>\n");
    }
  }
  if (target) {
    CsvRoom room;
    const double limit = chart.targets->limit[k];
    const double y = f.y(yAxis, limit);
    svg.line(f.left, y, f.left + f.width, y,
             "class=\"target\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"");
    std::string label = "target ";
    label += csvText(room, limit);
    svg.text(f.left + f.width - 4, y - 5, "text-anchor=\"end\" font-size=\"12\"", label);
  }
  svg.raw("</g>\n");
}

}  // namespace

std::string renderChart(const ChartData& chart) {
  double pLow = INFINITY, pHigh = -INFINITY;
  for (float p : chart.P) {
    if (!std::isfinite(p)) continue;
    pLow = std::min(pLow, static_cast<double>(p));
    pHigh = std::max(pHigh, static_cast<double>(p));
  }
  const Axis xAxis = pLow <= pHigh ? linearAxis(pLow, pHigh) : linearAxis(0, 1);

  const std::size_t panels = chart.panels.size();
  const double plotsRight = kMargin + static_cast<double>(panels) * (kAxisRoom + kPlotWidth) +
                            static_cast<double>(panels - 1) * kPanelGap;
  const double legendLeft = plotsRight + kLegendGap;
  const bool targetShown =
      chart.targets && std::any_of(chart.panels.begin(), chart.panels.end(),
                                   [&](Estimate e) { return chart.targets->named[index(e)]; });
  const double legendRows = static_cast<double>(chart.lines.size() + (targetShown ? 1 : 0));
  const double width = legendLeft + kLegendWidth;
  const double height =
      std::max(kPlotTop + kPlotHeight + kBelowPlot, kPlotTop + 26 + legendRows * kLegendRow) +
      kMargin / 2;

  Svg svg;
  svg.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  svg.raw("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
  svg.number(width);
  svg.raw("\" height=\"");
  svg.number(height);
  svg.raw("\" viewBox=\"0 0 ");
  svg.number(width);
  svg.raw(" ");
  svg.number(height);
  svg.raw("\" font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\">\n");
  svg.raw("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n");
  svg.text(kMargin, 32, "font-size=\"19\" font-weight=\"bold\"",
           "Expected CV of the mean estimates against capture probability");
  svg.text(kMargin, 56, "font-size=\"13\" fill=\"#444444\"", chart.subtitle);

  for (std::size_t panel = 0; panel < panels; ++panel) {
    const double left =
        kMargin + kAxisRoom + static_cast<double>(panel) * (kAxisRoom + kPlotWidth + kPanelGap);
    drawPanel(svg, chart, panel, Frame{left, kPlotTop, kPlotWidth, kPlotHeight}, xAxis);
  }

  svg.raw("<g class=\"legend\">\n");
  svg.text(legendLeft, kPlotTop + 4, "font-size=\"13\" font-weight=\"bold\"", "population N");
  CsvRoom room;
  double y = kPlotTop + 26;
  for (std::size_t n = 0; n < chart.lines.size(); ++n, y += kLegendRow) {
    svg.raw("<line stroke-width=\"2\" ");
    svg.stroke(n);
    svg.raw(" x1=\"");
    svg.number(legendLeft);
    svg.raw("\" y1=\"");
    svg.number(y - 4);
    svg.raw("\" x2=\"");
    svg.number(legendLeft + 26);
    svg.raw("\" y2=\"");
    svg.number(y - 4);
    svg.raw("\"/>\n");
    svg.text(legendLeft + 34, y, "font-size=\"12\"", csvText(room, chart.lines[n].N));
  }
  if (targetShown) {
    svg.line(legendLeft, y - 4, legendLeft + 26, y - 4,
             "stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"");
    svg.text(legendLeft + 34, y, "font-size=\"12\"", "target");
  }
  svg.raw("</g>\n</svg>\n");
  return svg.take();
}
