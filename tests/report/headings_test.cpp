#include "report/headings.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

namespace {

std::string render(void (*print)(RecordWriter&, WorkingSet&, std::int32_t&), WorkingSet& ws,
                   std::int32_t& ipage) {
  std::ostringstream out;
  RecordWriter writer(out);
  print(writer, ws, ipage);
  writer.flush();
  return out.str();
}

void heading(RecordWriter& writer, WorkingSet& ws, std::int32_t& ipage) {
  printPageHeading(writer, ws, ipage);
}

// The first page of a two-age run with captures every second sample.
WorkingSet twoAgeResighting() {
  WorkingSet ws;
  ws.par.NPER = 6;
  ws.par.NBET = 2;
  ws.par.FI = 0.8;
  ws.par.PS = 0.5;
  ws.par.PRPNY = 0.5;
  ws.par.FY = 0.5;
  ws.par.PRPPC = 1;
  ws.NPM1 = 5;
  ws.NPM2 = 4;
  ws.N = 100;
  ws.NY = 50;
  return ws;
}

}  // namespace

TEST(Description, PrintsTheTenLines) {
  std::ostringstream out;
  RecordWriter writer(out);
  printDescription(writer);
  writer.flush();
  EXPECT_EQ(out.str(),
            "                                                            BELROVIN\n"
            "\n"
            " PROGRAM BELROVIN IS INTENDED TO AID IN THE DESIGN OF "
            "CAPTURE-RECAPTURE AND CAPTURE-RESIGHTING EXPERIMENTS.\n"
            " FOR SPECIFIED CAPTURE PROBABILITY, SIGHTING PROBABILITY, SURVIVAL "
            "RATE, POPULATION SIZE AND SAMPLING\n"
            " DESIGN, THE PROGRAM OUTPUTS THE COEFFICIENTS OF VARIATION (C.V. = "
            "STANDARD ERROR OF PARAMETER ESTIMATE)\n"
            " EXPECTED FOR POPULATION SIZE (ADULTS ONLY) AND SURVIVAL RATE (YOUNG "
            "AND ADULTS) ESTIMATES\n"
            " BASED ON THE MODELS OF JOLLY (1965; BIOMETRIKA 52:225-247) AND "
            "POLLOCK (1981; BIOMETRICS 37: 521-529).\n"
            " THE BIOLOGIST CAN THEN SELECT THE DESIRED C.V. AND OBTAIN A GOOD IDEA "
            "OF THE SAMPLING EFFORT (REFLECTED IN \n"
            " THE MAGNITUDES OF CAPTURE PROBABILITY AND/OR SIGHTING PROBABILITY) "
            "NEEDED TO PRODUCE THIS LEVEL OF PRECISION.\n"
            "\n");
}

TEST(PageHeading, FirstPageOfATwoAgeResightingRun) {
  WorkingSet ws = twoAgeResighting();
  std::int32_t ipage = 0;
  EXPECT_EQ(render(heading, ws, ipage),
            "0                    PROGRAM BELROVIN - TWO AGE MODEL (POLLOCK 1981; BIOMETRICS 37: "
            "521-529)\n"
            "  INPUT:   NPER (NUMBER OF SAMPLING PERIODS ...........       6\n"
            "           N (ADULT POPULATION SIZE) ..................     100.\n"
            "           PHI (ADULT SURVIVAL RATE) ..................       0.8000\n"
            "           PS (ADULT SIGHTING PROBABILITY) ............       0.5000\n"
            "           N' (YOUNG POPULATION SIZE) .................      50.00\n"
            "           PHI' (YOUNG SURVIVAL RATE) .................       0.5000\n"
            "           RATIO OF YOUNG/ADULT CAPTURE PROBABILITY....       1.0000\n"
            "\n"
            "           CAPTURES OCCUR AT EVERY  2 SAMPLES, AND AFTER INITIAL CAPTURE ALL SAMPLING "
            "IS BY RESIGHTING\n"
            "           MEAN PHI = ARITHMETIC MEAN\n"
            "  ADULT\n"
            "   CAPT                                  YEAR\n"
            "   PROB            MEAN       1      2      3      4      5\n"
            "+ _____ ________ ______   ______ ______ ______ ______ ______\n");
  EXPECT_EQ(ipage, 1);
}

TEST(PageHeading, LaterPageOfAOneAgeAllCaptureGeometricRun) {
  WorkingSet ws = twoAgeResighting();
  ws.par.PRPNY = 0;
  ws.par.FI = 0.75;
  ws.par.NBET = 1;
  ws.ALLCAP = 1;
  ws.IGEO = true;
  ws.N = 250;
  ws.NY = 0;
  std::int32_t ipage = 1;
  const std::string page = render(heading, ws, ipage);
  EXPECT_EQ(
      page.substr(0, page.find("   CAPT")),
      "1                    PROGRAM BELROVIN - ONE AGE MODEL (JOLLY 1965; BIOMETRIKA 52: 225-247)\n"
      "  INPUT:   NPER (NUMBER OF SAMPLING PERIODS ...........       6\n"
      "           N (ADULT POPULATION SIZE) ..................     250.\n"
      "           PHI (ADULT SURVIVAL RATE) ..................       0.7500\n"
      "\n"
      "           ALL SAMPLING IS BY CAPTURE-RECAPTURE\n"
      "           MEAN PHI = GEOMETRIC MEAN\n"
      "\n"
      "  ADULT\n");
}

TEST(PageHeading, NaNYoungProportionPrintsNoTitleButCountsThePage) {
  WorkingSet ws = twoAgeResighting();
  ws.par.PRPNY = std::numeric_limits<double>::quiet_NaN();
  std::int32_t ipage = 0;
  const std::string page = render(heading, ws, ipage);
  EXPECT_EQ(page.rfind("  INPUT:", 0), 0u);
  EXPECT_EQ(page.find("YOUNG"), std::string::npos);
  EXPECT_EQ(ipage, 1);
}

TEST(PageHeading, PreviouslyCollectedDataOfThreePeriods) {
  WorkingSet ws = twoAgeResighting();
  ws.nper1 = 3;
  ws.MA[1][2] = 12;
  ws.MA[1][3] = 5;
  ws.MA[2][3] = 15;
  ws.RA[1] = 30;
  ws.RA[2] = 36;
  ws.RA[3] = 40;
  ws.MY[1][2] = 4;
  ws.MY[1][3] = 2;
  ws.MY[2][3] = 4;
  ws.RY[1] = ws.RY[2] = ws.RY[3] = 15;
  ws.AVGP = 25.0 / 36.0;
  std::int32_t ipage = 0;
  const std::string page = render(heading, ws, ipage);
  const auto from = page.find("           MEAN PHI = ARITHMETIC MEAN\n") + 38;
  EXPECT_EQ(page.substr(from, page.find("  ADULT") - from),
            "\n"
            " PREVIOUSLY COLLECTED ADULT DATA - M(i,j)\n"
            "  12.   5.\n"
            "  15.\n"
            "\n"
            "\n"
            "  30.  36.  40.\n"
            " AVG P=  0.69444444444444442     \n"
            "\n"
            " PREVIOUSLY COLLECTED YOUNG DATA - M(i,j)\n"
            "   4.   2.\n"
            "   4.\n"
            "\n"
            "\n"
            "  15.  15.  15.\n");
}

// Year k in an I4 field after three blanks, for the years first..last.
std::string yearFields(int first, int last) {
  std::string s;
  for (int k = first; k <= last; ++k) {
    const std::string digits = std::to_string(k);
    s += std::string(7 - digits.size(), ' ') + digits;
  }
  return s;
}

std::string underlinePieces(int count) {
  std::string s;
  for (int k = 0; k < count; ++k) s += " ______";
  return s;
}

TEST(PageHeading, TableHeaderOfOneAndOfThirtySixPeriods) {
  WorkingSet ws = twoAgeResighting();
  std::int32_t ipage = 0;
  ws.NPM1 = 0;  // NPER = 1
  std::string page = render(heading, ws, ipage);
  EXPECT_EQ(page.substr(page.find("   PROB")),
            "   PROB            MEAN\n+ _____ ________ ______  \n");

  ws.NPM1 = 35;  // NPER = 36
  page = render(heading, ws, ipage);
  const std::string header = page.substr(page.find("   PROB"));
  EXPECT_EQ(header, "   PROB            MEAN " + yearFields(1, 15) + "\n" + yearFields(16, 30) +
                        "\n" + yearFields(31, 35) + "\n+ _____ ________ ______  " +
                        underlinePieces(19) + "\n" + underlinePieces(16) + "\n");
  EXPECT_EQ(header.find('\n'), 129u);
  const auto underline = header.find("+ _____");
  EXPECT_EQ(header.find('\n', underline) - underline, 158u);
}
