// The chart file: well-formed XML holding a panel per estimate, a line per
// population size and the target lines.
#include "plan/chart.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "plan_run.h"

namespace {

// Well-formedness of an XML document without a DTD: one root element, tags
// that nest and match, quoted attributes named once, '<' only in markup and
// '&' only in the five predefined references or a character reference.
// Returns the problem, or an empty text.
class XmlChecker {
 public:
  explicit XmlChecker(std::string_view text) : text_(text) {}

  std::string check() {
    if (text_.substr(0, 5) == "<?xml") {
      at_ = text_.find("?>");
      if (at_ == std::string_view::npos) return "unended declaration";
      at_ += 2;
    }
    int roots = 0;
    std::vector<std::string_view> open;
    while (at_ < text_.size()) {
      if (text_[at_] != '<') {
        const std::size_t end = std::min(text_.find('<', at_), text_.size());
        const std::string_view content = text_.substr(at_, end - at_);
        if (open.empty() && content.find_first_not_of(" \t\r\n") != std::string_view::npos) {
          return "text outside the root element";
        }
        if (!referencesValid(content)) return "bad reference in text";
        at_ = end;
      } else if (text_.substr(at_, 4) == "<!--") {
        at_ = text_.find("-->", at_);
        if (at_ == std::string_view::npos) return "unended comment";
        at_ += 3;
      } else if (text_.substr(at_, 2) == "</") {
        at_ += 2;
        const std::string_view name = readName();
        skipBlanks();
        if (open.empty() || name != open.back() || !take('>')) {
          return "end tag </" + std::string(name) + "> does not close the open element";
        }
        open.pop_back();
      } else {
        ++at_;
        const std::string_view name = readName();
        if (name.empty()) return "element without a name";
        if (open.empty() && ++roots > 1) return "a second root element";
        std::set<std::string_view> attributes;
        while (true) {
          const bool blank = skipBlanks();
          if (take('>')) {
            open.push_back(name);
            break;
          }
          if (text_.substr(at_, 2) == "/>") {
            at_ += 2;
            break;
          }
          const std::string_view attribute = readName();
          if (!blank || attribute.empty()) return "bad attribute in <" + std::string(name) + ">";
          if (!attributes.insert(attribute).second) {
            return "attribute " + std::string(attribute) + " twice";
          }
          skipBlanks();
          if (!take('=')) return "attribute " + std::string(attribute) + " without a value";
          skipBlanks();
          if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
            return "unquoted attribute " + std::string(attribute);
          }
          const char quote = text_[at_++];
          const std::size_t end = text_.find(quote, at_);
          if (end == std::string_view::npos) return "unended attribute value";
          const std::string_view value = text_.substr(at_, end - at_);
          if (value.find('<') != std::string_view::npos || !referencesValid(value)) {
            return "bad attribute value of " + std::string(attribute);
          }
          at_ = end + 1;
        }
      }
    }
    if (!open.empty()) return "element <" + std::string(open.back()) + "> not closed";
    if (roots != 1) return "no root element";
    return "";
  }

 private:
  static bool nameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' ||
           c == '.';
  }
  std::string_view readName() {
    const std::size_t from = at_;
    if (at_ < text_.size() && (std::isalpha(static_cast<unsigned char>(text_[at_])) ||
                               text_[at_] == '_' || text_[at_] == ':')) {
      while (at_ < text_.size() && nameCharacter(text_[at_])) ++at_;
    }
    return text_.substr(from, at_ - from);
  }
  bool skipBlanks() {
    const std::size_t from = at_;
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
      ++at_;
    }
    return at_ > from;
  }
  bool take(char c) {
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  static bool referencesValid(std::string_view s) {
    for (std::size_t amp = s.find('&'); amp != std::string_view::npos; amp = s.find('&', amp + 1)) {
      const std::size_t semicolon = s.find(';', amp);
      if (semicolon == std::string_view::npos) return false;
      const std::string_view ref = s.substr(amp + 1, semicolon - amp - 1);
      const bool named =
          ref == "amp" || ref == "lt" || ref == "gt" || ref == "quot" || ref == "apos";
      const bool numeric = ref.size() >= 2 && ref[0] == '#' &&
                           ref.find_first_not_of("0123456789", 1) == std::string_view::npos;
      if (!named && !numeric) return false;
    }
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string chartPath(const char* name) { return testing::TempDir() + name; }

}  // namespace

TEST(PlanChart, CheckerFindsMalformedDocuments) {
  EXPECT_EQ(XmlChecker("<?xml version=\"1.0\"?>\n<a x=\"1\" y='2'><b/>t &amp; &#60;</a>\n").check(),
            "");
  for (const char* bad :
       {"<a><b></a></b>", "<a>", "<a x=1/>", "<a x=\"1\" x=\"2\"/>", "<a>&nbsp;</a>",
        "<a>x & y</a>", "<a/><b/>", "text<a/>", "<a x=\"<\"/>", "<a x=\"1\"y=\"2\"/>", ""}) {
    EXPECT_NE(XmlChecker(bad).check(), "") << bad;
  }
}

TEST(PlanChart, TwoAgeChartHasThreePanelsALinePerNAndTheTargets) {
  const std::string file = chartPath("two-age.svg");
  const std::string design = "10 2 .8 .2 .5 .5 1 200 800 200 .05 .95 .05 0 0\n";
  const Outcome r = runPlanWith({"--svg", file, "--target", "N=0.10,PHI=0.05,YOUNG=0.15"}, design);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("N,P,adult_survival,young_survival,population_size\n", 0), 0u);
  const std::string svg = readFile(file);
  EXPECT_EQ(XmlChecker(svg).check(), "");
  EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\""),
            std::string::npos);
  EXPECT_EQ(count(svg, "<g class=\"panel\">"), 3u);
  EXPECT_EQ(count(svg, "class=\"target\""), 3u);
  EXPECT_EQ(count(svg, "<polyline "), 3u * 4u);      // no gaps: one line per N and panel
  EXPECT_EQ(count(svg, "<circle "), 3u * 4u * 19u);  // P = 0.05 .. 0.95
  for (const char* label : {">Adult survival<", ">Young survival<", ">Population size<", ">200<",
                            ">800<", ">target 0.15<", ">capture probability P<"}) {
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  }
  std::remove(file.c_str());
}

TEST(PlanChart, OneAgeChartAloneWritesNoTable) {
  const std::string file = chartPath("one-age.svg");
  const std::string design = "6 0 .75 .5 0 .5 1 250 500 250 .2 .8 .2 1 0\n";
  const Outcome r = runPlanWith({"--svg", file}, design);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string svg = readFile(file);
  EXPECT_EQ(XmlChecker(svg).check(), "");
  EXPECT_EQ(count(svg, "<g class=\"panel\">"), 2u);
  EXPECT_EQ(count(svg, "Young survival"), 0u);
  EXPECT_EQ(count(svg, "class=\"target\""), 0u);
  // With --csv the table comes too, the same as without a chart.
  EXPECT_EQ(runPlanWith({"--svg", file, "--csv"}, design).out, runPlanWith({}, design).out);
  std::remove(file.c_str());
}

TEST(PlanChart, ValuesThatCannotBePlottedLeaveGaps) {
  // Two periods: every mean CV is a NaN, which no log scale holds.
  const std::string file = chartPath("empty.svg");
  const Outcome r = runPlanWith({"--svg", file}, "2 1 .8 .5 .5 .5 1 100 100 100 .3 .5 .1 0 0\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string svg = readFile(file);
  EXPECT_EQ(XmlChecker(svg).check(), "");
  EXPECT_EQ(count(svg, "<polyline "), 0u);
  EXPECT_EQ(count(svg, "<circle "), 0u);
  EXPECT_EQ(count(svg, ">no finite CV<"), 3u);
  std::remove(file.c_str());
}

TEST(PlanChart, ModelCheckEndsTheRunWithoutAChart) {
  const std::string file = chartPath("stopped.svg");
  std::remove(file.c_str());
  const Outcome r = runPlanWith({"--svg", file}, "6 0 .8 .5 1 .5 1 100 100 100 .3 .9 .1 0 0\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "STOP *** col>rel **\n");
  EXPECT_FALSE(std::ifstream(file).is_open());
}

TEST(PlanChart, LinesBreakAtValuesThatCannotBePlotted) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  ChartData chart;
  chart.panels = {Estimate::AdultSurvival};
  chart.P = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f};
  // Runs: 0.1-0.2, 0.4 alone, 0.6-0.8; a NaN, a negative value between them.
  const double cv[] = {0.5, 0.4, nan, 0.3, -1, 0.2, 0.15, 0.1};
  ChartLine line{500, {}};
  for (double v : cv) line.cv.push_back({v, nan, nan});
  chart.lines.push_back(line);
  const std::string svg = renderChart(chart);
  EXPECT_EQ(XmlChecker(svg).check(), "");
  EXPECT_EQ(count(svg, "<polyline "), 2u);
  EXPECT_EQ(count(svg, "<circle "), 6u);
}
