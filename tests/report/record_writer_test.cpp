#include "report/record_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Values = std::vector<OutputValue>;

// The doubles 1, 2, ..., count.
Values counting(int count) {
  Values values;
  for (int i = 1; i <= count; ++i) values.push_back(static_cast<double>(i));
  return values;
}

// The year numbers 1, 2, ..., count.
Values years(int count) {
  Values values;
  for (std::int32_t i = 1; i <= count; ++i) values.push_back(i);
  return values;
}

Values copies(int count, OutputValue value) {
  return Values(static_cast<std::size_t>(count), value);
}

std::string repeat(std::string_view text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

std::string rightAligned(const std::string& text, std::size_t width) {
  return std::string(width - text.size(), ' ') + text;
}

// The F5.0 fields of from, from + 1, ..., to.
std::string wholeNumbers(int from, int to) {
  std::string out;
  for (int i = from; i <= to; ++i) out += rightAligned(std::to_string(i) + ".", 5);
  return out;
}

// Year numbers from..to, each after three blanks in I4.
std::string yearFields(int from, int to) {
  std::string out;
  for (int i = from; i <= to; ++i) out += "   " + rightAligned(std::to_string(i), 4);
  return out;
}

// Each line followed by a line feed.
std::string lines(std::initializer_list<std::string> records) {
  std::string out;
  for (const std::string& record : records) out += record + '\n';
  return out;
}

std::string render(std::string_view format, const Values& values) {
  std::ostringstream out;
  RecordWriter writer(out);
  writer.write(FormatTemplate::parse(format), values);
  EXPECT_TRUE(writer.flush());
  return out.str();
}

struct StatementCase {
  const char* name;
  std::string_view format;
  Values values;
  std::string records;
};

void expectStatements(const std::vector<StatementCase>& cases) {
  for (const StatementCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(render(c.format, c.values), c.records);
  }
}

// The capture probability 0.3 of the grid, single precision widened.
const double kP = 0.3f;
const OutputValue kPiece = std::string_view(" ______");
const std::string kUnderlineLabel = "+ _____ ________ ______  ";
const std::string kYearLabel = "   PROB            MEAN";
constexpr std::string_view kYearHeader =
    "('  ADULT'/'   CAPT',34X,'YEAR',                            24X/'   PROB            MEAN',"
    "1X,15(3X,i4))";

TEST(RecordWriterStatement, WorkedCases) {
  expectStatements({
      {"no values", "(20F5.0)", {}, "\n"},
      {"37 values", "(20F5.0)", counting(37), lines({wholeNumbers(1, 20), wholeNumbers(21, 37)})},
      {"leading separator runs again", "(/20F5.0)", counting(36),
       lines({"", wholeNumbers(1, 20), "", wholeNumbers(21, 36)})},
      {"values end with the template", "(/20F5.0)", counting(20), lines({"", wholeNumbers(1, 20)})},
      {"trailing separator",
       "(11X,'MEAN PHI = GEOMETRIC MEAN'/)",
       {},
       lines({"           MEAN PHI = GEOMETRIC MEAN", ""})},
      {"35 underline pieces", "('+ _____ ________ ______  ',(19A7))", copies(35, kPiece),
       lines({kUnderlineLabel + repeat(" ______", 19), repeat(" ______", 16)})},
      {"no underline pieces", "('+ _____ ________ ______  ',(19A7))", {}, lines({kUnderlineLabel})},
      {"skips before a missing value are dropped",
       "('        EXP(M) ',8x,9X,(15f7.1))",
       {},
       lines({"        EXP(M) "})},
  });
}

TEST(RecordWriterStatement, SeparatorsSkipsAndStops) {
  expectStatements({
      {"no value descriptors",
       "(/41H            COMBINED  ADULT DATA - M(i,j))",
       {},
       lines({"", "            COMBINED  ADULT DATA - M(i,j)"})},
      {"two separators in a row", "('A'//'B')", {}, lines({"A", "", "B"})},
      {"skip before a separator", "('A',3X/2X,'B')", {}, lines({"A", "  B"})},
      {"skip before a missing value", "(I4,5X,I4)", years(1), lines({"   1"})},
      {"literal keeps its trailing blanks", "('A  ',2X)", {}, lines({"A  "})},
      {"first descriptor without a value", "('A'/'B',I4,'C'/'D')", {}, lines({"A", "B"})},
      {"skips add up", "(2X,3X,I1,1X,1X,'x')", years(1), lines({"     1  x"})},
      {"repeated descriptor stops midway", "(3I2,'x')", years(2), lines({" 1 2"})},
  });
}

TEST(RecordWriterStatement, GroupsAndReversion) {
  expectStatements({
      {"group repeats in a row", "(2(I1,'-'),'|')", years(2), lines({"1-2-|"})},
      {"reversion counts the group afresh and stops after its literal", "(2(I1,'-'),I1)", years(5),
       lines({"1-2-3", "4-5-"})},
      {"35 years: 15, 15 and 5", kYearHeader, years(35),
       lines({"  ADULT", "   CAPT" + std::string(34, ' ') + "YEAR",
              kYearLabel + ' ' + yearFields(1, 15), yearFields(16, 30), yearFields(31, 35)})},
      {"no years",
       kYearHeader,
       {},
       lines({"  ADULT", "   CAPT" + std::string(34, ' ') + "YEAR", kYearLabel})},
      {"reversion without a group starts over", "('x',I1)", years(3), lines({"x1", "x2", "x3"})},
      {"wrong kinds give asterisks",
       "(I4,F6.2,A3)",
       {1.5, std::string_view("x"), 7},
       lines({"****"
              "******"
              "***"})},
      {"a pass without values ends the statement", "(I2,('y'))", years(2), lines({" 1y", "y"})},
      {"a template without descriptors ends with values left", "('x')", years(1), lines({"x"})},
  });
}

TEST(RecordWriterStatement, ResultRowsWithThirtyFourPeriods) {
  Values survival = {kP, 0.0549};
  const Values cvs = copies(34, 0.1);
  survival.insert(survival.end(), cvs.begin(), cvs.end());
  Values population = {0.093};
  population.insert(population.end(), cvs.begin(), cvs.end());
  const std::string cv = " 0.1000";
  const std::string marked = "   31.5";

  const std::string first_survival = "  0.300 CV(PHI)  0.0549  " + repeat(cv, 15);
  const std::string first_population =
      "        CV(N)    0.0930" + std::string(9, ' ') + repeat(cv, 15);
  const std::string first_marked = "        EXP(M) " + std::string(17, ' ') + repeat(marked, 15);
  EXPECT_EQ(first_survival.size(), 130u);
  EXPECT_EQ(first_population.size(), 137u);
  EXPECT_EQ(first_marked.size(), 137u);

  expectStatements({
      {"CV(PHI)", "(/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4)))", survival,
       lines({"", first_survival, repeat(cv, 15), repeat(cv, 4)})},
      {"CV(N)", "('        CV(N)  ',F8.4,9X,(15(1X,F6.4)))", population,
       lines({first_population, repeat(cv, 15), repeat(cv, 4)})},
      {"EXP(M)", "('        EXP(M) ',8x,9X,(15f7.1))", copies(34, 31.5),
       lines({first_marked, repeat(marked, 15), repeat(marked, 4)})},
      {"CV(PHI) without periods",
       "(/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4)))",
       {kP, 0.0549},
       lines({"", "  0.300 CV(PHI)  0.0549"})},
  });
}

// Runs of statements, compared record for record with the printed report.
class RecordWriterReport : public testing::Test {
 protected:
  void write(std::string_view format, const Values& values = {}) {
    writer_.write(FormatTemplate::parse(format), values);
  }
  std::string written() {
    EXPECT_TRUE(writer_.flush());
    return out_.str();
  }

  std::ostringstream out_;
  RecordWriter writer_{out_};
};

TEST_F(RecordWriterReport, Description) {
  write(
      R"((60X,'BELROVIN'/                                            /' PROGRAM BELROVIN IS INTENDED TO AID IN THE DESIGN OF CAPTURE', '-RECAPTURE AND CAPTURE-RESIGHTING EXPERIMENTS.'/                 ' FOR SPECIFIED CAPTURE PROBABILITY, SIGHTING PROBABILITY, ',     'SURVIVAL RATE, POPULATION SIZE AND SAMPLING'/                    ' DESIGN, THE PROGRAM OUTPUTS THE COEFFICIENTS OF VARIATION (C.', 'V. = STANDARD ERROR OF PARAMETER ESTIMATE)'/                     ' EXPECTED FOR POPULATION SIZE (ADULTS ONLY)',                    ' AND SURVIVAL RATE (YOUNG AND ADULTS) ESTIMATES'))");
  write(
      R"((' BASED ON THE MODELS OF JOLLY (1965; BIOMETRIKA 52:225-', '247) AND POLLOCK (1981; BIOMETRICS 37: 521-529).'/               ' THE BIOLOGIST CAN THEN SELECT THE DESIRED C.V. AND OBTAIN A ',  'GOOD IDEA OF THE SAMPLING EFFORT (REFLECTED IN '/                ' THE MAGNITUDES OF CAPTURE PROBABILITY AND/OR SIGHTING PROBAB',  'ILITY) NEEDED TO PRODUCE THIS LEVEL OF PRECISION.'/))");
  EXPECT_EQ(written(), lines({
                           "                                                            BELROVIN",
                           "",
                           " PROGRAM BELROVIN IS INTENDED TO AID IN THE DESIGN OF "
                           "CAPTURE-RECAPTURE AND CAPTURE-RESIGHTING EXPERIMENTS.",
                           " FOR SPECIFIED CAPTURE PROBABILITY, SIGHTING PROBABILITY, SURVIVAL "
                           "RATE, POPULATION SIZE AND SAMPLING",
                           " DESIGN, THE PROGRAM OUTPUTS THE COEFFICIENTS OF VARIATION (C.V. = "
                           "STANDARD ERROR OF PARAMETER ESTIMATE)",
                           " EXPECTED FOR POPULATION SIZE (ADULTS ONLY) AND SURVIVAL RATE (YOUNG "
                           "AND ADULTS) ESTIMATES",
                           " BASED ON THE MODELS OF JOLLY (1965; BIOMETRIKA 52:225-247) AND "
                           "POLLOCK (1981; BIOMETRICS 37: 521-529).",
                           " THE BIOLOGIST CAN THEN SELECT THE DESIRED C.V. AND OBTAIN A GOOD IDEA "
                           "OF THE SAMPLING EFFORT (REFLECTED IN ",
                           " THE MAGNITUDES OF CAPTURE PROBABILITY AND/OR SIGHTING PROBABILITY) "
                           "NEEDED TO PRODUCE THIS LEVEL OF PRECISION.",
                           "",
                       }));
}

TEST_F(RecordWriterReport, FirstPageHeadingOfTheTwoAgeModel) {
  write("(I1,20X,'PROGRAM BELROVIN - TWO AGE MODEL (POLLOCK 1981; '  ,'BIOMETRICS 37: 521-529)')",
        {0});
  write("('  INPUT:',3X,'NPER (NUMBER OF SAMPLING PERIODS ........'  ,'...',I8)", {6});
  write(
      R"((11X,'N (ADULT POPULATION SIZE) ..................',F9.0/   11X,'PHI (ADULT SURVIVAL RATE) ..................',F13.4))",
      {100.0, 0.8});
  write("(11X,'PS (ADULT SIGHTING PROBABILITY) ............',F13.4)", {0.5});
  write(
      R"((11X,'N'' (YOUNG POPULATION SIZE) .................',F11.2  /11X,'PHI',1H',' (YOUNG SURVIVAL RATE) .................',F13.4   /11X,'RATIO OF YOUNG/ADULT CAPTURE PROBABILITY....',F13.4))",
      {50.0, 0.5, 1.0});
  write(
      R"((/11X,'CAPTURES OCCUR AT EVERY ',I2,' SAMPLES',             ', AND AFTER INITIAL CAPTURE ALL SAMPLING IS BY RESIGHTING'))",
      {2});
  write("(11X,'MEAN PHI = ARITHMETIC MEAN')");
  write(kYearHeader, years(5));
  write("('+ _____ ________ ______  ',(19A7))", copies(5, kPiece));
  EXPECT_EQ(written(),
            lines({
                "0                    PROGRAM BELROVIN - TWO AGE MODEL (POLLOCK 1981; BIOMETRICS "
                "37: 521-529)",
                "  INPUT:   NPER (NUMBER OF SAMPLING PERIODS ...........       6",
                "           N (ADULT POPULATION SIZE) ..................     100.",
                "           PHI (ADULT SURVIVAL RATE) ..................       0.8000",
                "           PS (ADULT SIGHTING PROBABILITY) ............       0.5000",
                "           N' (YOUNG POPULATION SIZE) .................      50.00",
                "           PHI' (YOUNG SURVIVAL RATE) .................       0.5000",
                "           RATIO OF YOUNG/ADULT CAPTURE PROBABILITY....       1.0000",
                "",
                "           CAPTURES OCCUR AT EVERY  2 SAMPLES, AND AFTER INITIAL CAPTURE ALL "
                "SAMPLING IS BY RESIGHTING",
                "           MEAN PHI = ARITHMETIC MEAN",
                "  ADULT",
                "   CAPT                                  YEAR",
                "   PROB            MEAN       1      2      3      4      5",
                "+ _____ ________ ______   ______ ______ ______ ______ ______",
            }));
}

TEST_F(RecordWriterReport, LaterPageOfTheOneAgeModelWithCollectedData) {
  write("(I1,20X,'PROGRAM BELROVIN - ONE AGE MODEL (JOLLY 1965; ',   'BIOMETRIKA 52: 225-247)')",
        {1});
  write("(/11X,'ALL SAMPLING IS BY CAPTURE-RECAPTURE')");
  write("(11X,'MEAN PHI = GEOMETRIC MEAN'/)");
  write("(/41H PREVIOUSLY COLLECTED ADULT DATA - M(i,j))");
  write("(20F5.0)", {12.0, 5.0});
  write("(20F5.0)", {15.0});
  write("(20F5.0)");
  write("(/20F5.0)", {30.0, 36.0, 40.0});
  writer_.writeFree(Values{std::string_view("AVG P="), 25.0 / 36.0});
  write("(/41H PREVIOUSLY COLLECTED YOUNG DATA - M(i,j))");
  EXPECT_EQ(written(), lines({
                           "1                    PROGRAM BELROVIN - ONE AGE MODEL (JOLLY 1965; "
                           "BIOMETRIKA 52: 225-247)",
                           "",
                           "           ALL SAMPLING IS BY CAPTURE-RECAPTURE",
                           "           MEAN PHI = GEOMETRIC MEAN",
                           "",
                           "",
                           " PREVIOUSLY COLLECTED ADULT DATA - M(i,j)",
                           "  12.   5.",
                           "  15.",
                           "",
                           "",
                           "  30.  36.  40.",
                           " AVG P=  0.69444444444444442     ",
                           "",
                           " PREVIOUSLY COLLECTED YOUNG DATA - M(i,j)",
                       }));
}

TEST_F(RecordWriterReport, BlockWithCombinedArrays) {
  const Values adult_rows[] = {
      {0.0, 12.0, 5.0, 2.0, 1.0, 0.0, 20.0}, {0.0, 0.0, 15.0, 6.0, 2.0, 1.0, 24.0},
      {0.0, 0.0, 0.0, 16.0, 6.0, 3.0, 25.0}, {0.0, 0.0, 0.0, 0.0, 17.0, 7.0, 23.0},
      {0.0, 0.0, 0.0, 0.0, 0.0, 17.0, 17.0}, {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
  };
  const Values young_rows[] = {
      {0.0, 4.0, 2.0, 1.0, 0.0, 0.0, 6.0}, {0.0, 0.0, 4.0, 2.0, 1.0, 0.0, 6.0},
      {0.0, 0.0, 0.0, 4.0, 2.0, 1.0, 6.0}, {0.0, 0.0, 0.0, 0.0, 4.0, 2.0, 5.0},
      {0.0, 0.0, 0.0, 0.0, 0.0, 4.0, 4.0}, {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
  };
  write("(/41H            COMBINED  ADULT DATA - M(i,j))");
  for (const Values& row : adult_rows) write("(20F5.0)", row);
  write("(/20F5.0)", {0.0, 16.0, 25.0, 30.0, 32.0, 34.0});
  write("(20F5.0)", {30.0, 36.0, 40.0, 42.0, 43.0, 44.0});
  write("(/41H            COMBINED  YOUNG DATA - M(i,j))");
  for (const Values& row : young_rows) write("(20F5.0)", row);
  write("(20F5.0)", copies(6, 15.0));
  write("(/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4)))",
        {kP, 0.0549, 0.1507, 0.1416, 0.1473, 0.1803});
  // A young-survival CV that no block has computed yet.
  write("(7X,9H CV(PHI'),F7.4,2X,(15(1X,F6.4)))", {0.168, 0.3171, 0.3205, 9.0e29, 0.3708});
  write("('        CV(N)  ',F8.4,9X,(15(1X,F6.4)))", {0.093, 0.1949, 0.1611, 0.1575, 0.181});
  write("('        EXP(M) ',8x,9X,(15f7.1))", {31.5, 49.1, 59.0, 64.6});
  EXPECT_EQ(written(), lines({
                           "",
                           "            COMBINED  ADULT DATA - M(i,j)",
                           "   0.  12.   5.   2.   1.   0.  20.",
                           "   0.   0.  15.   6.   2.   1.  24.",
                           "   0.   0.   0.  16.   6.   3.  25.",
                           "   0.   0.   0.   0.  17.   7.  23.",
                           "   0.   0.   0.   0.   0.  17.  17.",
                           "   0.   0.   0.   0.   0.   0.   0.",
                           "",
                           "   0.  16.  25.  30.  32.  34.",
                           "  30.  36.  40.  42.  43.  44.",
                           "",
                           "            COMBINED  YOUNG DATA - M(i,j)",
                           "   0.   4.   2.   1.   0.   0.   6.",
                           "   0.   0.   4.   2.   1.   0.   6.",
                           "   0.   0.   0.   4.   2.   1.   6.",
                           "   0.   0.   0.   0.   4.   2.   5.",
                           "   0.   0.   0.   0.   0.   4.   4.",
                           "   0.   0.   0.   0.   0.   0.   0.",
                           "  15.  15.  15.  15.  15.  15.",
                           "",
                           "  0.300 CV(PHI)  0.0549   0.1507 0.1416 0.1473 0.1803",
                           "        CV(PHI') 0.1680   0.3171 0.3205 ****** 0.3708",
                           "        CV(N)    0.0930          0.1949 0.1611 0.1575 0.1810",
                           "        EXP(M)                     31.5   49.1   59.0   64.6",
                       }));
}

TEST(RecordWriterFree, OneRecordPerStatement) {
  const struct {
    const char* name;
    Values values;
    std::string_view record;
  } cases[] = {
      {"no values", {}, ""},
      {"one text", {std::string_view("HELP")}, " HELP"},
      {"texts are joined", {std::string_view("AB"), std::string_view("CD ")}, " ABCD "},
      {"integer then doubles",
       {3, 12.0, 5.0},
       "           3   12.000000000000000        5.0000000000000000     "},
      {"text between numbers",
       {std::string_view("N"), -7, std::string_view("x")},
       " N          -7 x"},
      {"AVG P= 0.3", {std::string_view("AVG P="), 0.3}, " AVG P=  0.29999999999999999     "},
      {"AVG P= 0.0", {std::string_view("AVG P="), 0.0}, " AVG P=   0.0000000000000000     "},
      {"AVG P= 1.0", {std::string_view("AVG P="), 1.0}, " AVG P=   1.0000000000000000     "},
      {"AVG P= 123.456",
       {std::string_view("AVG P="), 123.456},
       " AVG P=   123.45600000000000     "},
      {"AVG P= -0.3", {std::string_view("AVG P="), -0.3}, " AVG P= -0.29999999999999999     "},
      {"AVG P= 0.05", {std::string_view("AVG P="), 0.05}, " AVG P=   5.0000000000000003E-002"},
      {"AVG P= 1E17", {std::string_view("AVG P="), 1e17}, " AVG P=   1.0000000000000000E+017"},
      {"AVG P= NaN",
       {std::string_view("AVG P="), std::numeric_limits<double>::quiet_NaN()},
       " AVG P=                       NaN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream out;
    RecordWriter writer(out);
    writer.writeFree(c.values);
    EXPECT_TRUE(writer.flush());
    EXPECT_EQ(out.str(), std::string(c.record) + '\n');
  }
}

TEST(RecordWriterBuffer, DrainsAfterTheStatementThatPassesSixtyFourKiB) {
  std::ostringstream out;
  RecordWriter writer(out);
  const FormatTemplate line = FormatTemplate::parse("(I8)");
  std::string expected;
  std::int32_t statements = 0;
  while (out.str().empty() && statements < 100000) {
    ++statements;
    writer.write(line, Values{statements});
    expected += rightAligned(std::to_string(statements), 8) + '\n';
  }
  EXPECT_LE(expected.size() - 9, 64u * 1024u);
  EXPECT_GT(expected.size(), 64u * 1024u);
  EXPECT_EQ(out.str(), expected);

  writer.writeFree(Values{std::string_view("end")});
  EXPECT_EQ(out.str(), expected);
  EXPECT_TRUE(writer.flush());
  EXPECT_EQ(out.str(), expected + " end\n");
}

TEST(RecordWriterBuffer, DestructorLeavesFlushingToTheCaller) {
  std::ostringstream out;
  {
    RecordWriter writer(out);
    writer.writeFree(Values{std::string_view("x")});
  }
  EXPECT_EQ(out.str(), "");
}

// Takes nothing: every write fails.
class RefusingSink : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(RecordWriterBuffer, FailureIsKeptAndLaterRecordsAreDiscarded) {
  RefusingSink refusing;
  std::ostream out(&refusing);
  RecordWriter writer(out);
  EXPECT_TRUE(writer.flush());
  writer.writeFree(Values{std::string_view("lost")});
  EXPECT_FALSE(writer.flush());
  EXPECT_TRUE(writer.failed());

  std::stringbuf working;
  out.rdbuf(&working);  // also clears the stream state
  writer.writeFree(Values{std::string_view("also lost")});
  EXPECT_FALSE(writer.flush());
  EXPECT_EQ(working.str(), "");
}

}  // namespace
