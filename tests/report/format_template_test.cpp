#include "report/format_template.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace {

using Op = FormatTemplate::Op;

// The parsed items in a compact notation: literals in brackets, groups as
// r( ... ), descriptors with their repeat count when it is above 1.
std::string describe(const FormatTemplate& format) {
  std::string text;
  for (const FormatTemplate::Item& item : format.items()) {
    if (!text.empty()) text += ' ';
    const std::string repeat = item.count > 1 ? std::to_string(item.count) : "";
    const std::string width = std::to_string(item.width);
    switch (item.op) {
      case Op::Literal:
        text += '[' + std::string(format.literal(item)) + ']';
        break;
      case Op::Skip:
        text += std::to_string(item.count) + 'X';
        break;
      case Op::Separator:
        text += '/';
        break;
      case Op::Integer:
        text += repeat + 'I' + width;
        break;
      case Op::Fixed:
        text += repeat + 'F' + width + '.' + std::to_string(item.decimals);
        break;
      case Op::Text:
        text += repeat + 'A' + width;
        break;
      case Op::GroupBegin:
        text += std::to_string(item.count) + '(';
        break;
      case Op::GroupEnd:
        text += ')';
        break;
    }
  }
  return text;
}

// Every GroupBegin and its GroupEnd point at each other.
void expectPartnersLinked(const FormatTemplate& format) {
  const auto& items = format.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].op != Op::GroupBegin) continue;
    const std::uint32_t end = items[i].partner;
    ASSERT_LT(end, items.size());
    EXPECT_EQ(items[end].op, Op::GroupEnd);
    EXPECT_EQ(items[end].partner, i);
  }
}

struct ParseCase {
  std::string_view source;
  std::string_view items;
};

TEST(FormatTemplateParse, BuildsTheItemList) {
  const ParseCase cases[] = {
      {"(I4)", "I4"},
      {"(/20F5.0)", "/ 20F5.0"},
      {"(20f5.0,i4,a7,8x,15F7.1)", "20F5.0 I4 A7 8X 15F7.1"},
      {"(  I4 ,  'a b'  ,  2X  )", "I4 [a b] 2X"},
      {"('N'' (YOUNG)','''','')", "[N' (YOUNG)] ['] []"},
      {"(' (,) ')", "[ (,) ]"},
      // Counted literals take their characters before anything else is looked at.
      {"(7X,9H CV(PHI'),F7.4)", "7X [ CV(PHI')] F7.4"},
      {"('PHI',1H',' (YOUNG')", "[PHI] ['] [ (YOUNG]"},
      {"(3H),(,I2)", "[),(] I2"},
      {"(2h'',4H  ab)", "[''] [  ab]"},
      {"(41H PREVIOUSLY COLLECTED ADULT DATA - M(i,j))",
       "[ PREVIOUSLY COLLECTED ADULT DATA - M(i,j)]"},
      // Commas may be left out on either side of "/", and may be written there.
      {"(F11.2  /11X,I2/'x'/,I3)", "F11.2 / 11X I2 / [x] / I3"},
      {"('A'//'B'/)", "[A] / / [B] /"},
      {"(/)", "/"},
      {"(15(3X,i4))", "15( 3X I4 )"},
      {"(/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4)))",
       "/ 1X F6.3 [ CV(PHI) ] F7.4 2X 1( 15( 1X F6.4 ) )"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.source);
    const FormatTemplate format = FormatTemplate::parse(c.source);
    EXPECT_EQ(describe(format), c.items);
    expectPartnersLinked(format);
  }
}

TEST(FormatTemplateParse, ReversionStartsAtTheLastOuterGroup) {
  const struct {
    std::string_view source;
    std::uint32_t start;
  } cases[] = {
      {"(20F5.0)", 0},
      {"('(I4)',I4)", 0},
      {"(3H(I),I4)", 0},
      {"((I2),'x')", 0},
      {"(I1,(I2),3(I3),'x')", 4},
      {"((I2),((I3),I4))", 3},
      {"('+ _____ ________ ______  ',(19A7))", 1},
      {"(/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4)))", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(FormatTemplate::parse(c.source).reversion_start(), c.start);
  }
}

TEST(FormatTemplateParse, RejectsTextOutsideTheSyntax) {
  const std::string_view cases[] = {
      "",
      "I4",
      "(I4",
      "(I4))",
      "(I4) x",
      "()",
      "(I4,(  ))",
      "(,I4)",
      "(I4,)",
      "(I4,,I4)",
      "(I4 I4)",
      "('abc)",
      "(5H abc)",
      "(X)",
      "(0X)",
      "(0I4)",
      "(0(I4))",
      "(I)",
      "(I0)",
      "(F5)",
      "(F5.)",
      "(I4.2)",
      "(Q4)",
      "(3'a')",
      "(2/)",
      "(H)",
      "(2 X)",
      "(I40000)",
      "((((((((((I4))))))))))",
  };
  for (const std::string_view source : cases) {
    SCOPED_TRACE(source);
    EXPECT_THROW(FormatTemplate::parse(source), std::invalid_argument);
  }
}

// Every template the report prints from.
TEST(FormatTemplateParse, AcceptsEveryTemplateOfTheReport) {
  const std::string_view templates[] = {
      R"(('        CV(N)  ',F8.4,9X,(15(1X,F6.4))))",
      R"(('        EXP(M) ',8x,9X,(15f7.1)))",
      R"(('  ADULT'/'   CAPT',34X,'YEAR',                            24X/'   PROB            MEAN',1X,15(3X,i4)))",
      R"(('  INPUT:',3X,'NPER (NUMBER OF SAMPLING PERIODS ........'  ,'...',I8))",
      R"((' BASED ON THE MODELS OF JOLLY (1965; BIOMETRIKA 52:225-', '247) AND POLLOCK (1981; BIOMETRICS 37: 521-529).'/               ' THE BIOLOGIST CAN THEN SELECT THE DESIRED C.V. AND OBTAIN A ',  'GOOD IDEA OF THE SAMPLING EFFORT (REFLECTED IN '/                ' THE MAGNITUDES OF CAPTURE PROBABILITY AND/OR SIGHTING PROBAB',  'ILITY) NEEDED TO PRODUCE THIS LEVEL OF PRECISION.'/))",
      R"(('+ _____ ________ ______  ',(19A7)))",
      R"((/11X,'ALL SAMPLING IS BY CAPTURE-RECAPTURE'))",
      R"((/11X,'CAPTURES OCCUR AT EVERY ',I2,' SAMPLES',             ', AND AFTER INITIAL CAPTURE ALL SAMPLING IS BY RESIGHTING'))",
      R"((/1X,F6.3,' CV(PHI) ',F7.4,2X,(15(1X,F6.4))))",
      R"((/20F5.0))",
      R"((/41H            COMBINED  ADULT DATA - M(i,j)))",
      R"((/41H            COMBINED  YOUNG DATA - M(i,j)))",
      R"((/41H PREVIOUSLY COLLECTED ADULT DATA - M(i,j)))",
      R"((/41H PREVIOUSLY COLLECTED YOUNG DATA - M(i,j)))",
      R"((11X,'MEAN PHI = ARITHMETIC MEAN'))",
      R"((11X,'MEAN PHI = GEOMETRIC MEAN'/))",
      R"((11X,'N (ADULT POPULATION SIZE) ..................',F9.0/   11X,'PHI (ADULT SURVIVAL RATE) ..................',F13.4))",
      R"((11X,'N'' (YOUNG POPULATION SIZE) .................',F11.2  /11X,'PHI',1H',' (YOUNG SURVIVAL RATE) .................',F13.4   /11X,'RATIO OF YOUNG/ADULT CAPTURE PROBABILITY....',F13.4))",
      R"((11X,'PS (ADULT SIGHTING PROBABILITY) ............',F13.4))",
      R"((20F5.0))",
      R"((60X,'BELROVIN'/                                            /' PROGRAM BELROVIN IS INTENDED TO AID IN THE DESIGN OF CAPTURE', '-RECAPTURE AND CAPTURE-RESIGHTING EXPERIMENTS.'/                 ' FOR SPECIFIED CAPTURE PROBABILITY, SIGHTING PROBABILITY, ',     'SURVIVAL RATE, POPULATION SIZE AND SAMPLING'/                    ' DESIGN, THE PROGRAM OUTPUTS THE COEFFICIENTS OF VARIATION (C.', 'V. = STANDARD ERROR OF PARAMETER ESTIMATE)'/                     ' EXPECTED FOR POPULATION SIZE (ADULTS ONLY)',                    ' AND SURVIVAL RATE (YOUNG AND ADULTS) ESTIMATES'))",
      R"((7X,9H CV(PHI'),F7.4,2X,(15(1X,F6.4))))",
      R"((I1,20X,'PROGRAM BELROVIN - ONE AGE MODEL (JOLLY 1965; ',   'BIOMETRIKA 52: 225-247)'))",
      R"((I1,20X,'PROGRAM BELROVIN - TWO AGE MODEL (POLLOCK 1981; '  ,'BIOMETRICS 37: 521-529)'))",
  };
  for (const std::string_view source : templates) {
    SCOPED_TRACE(source);
    FormatTemplate format;
    ASSERT_NO_THROW(format = FormatTemplate::parse(source));
    EXPECT_FALSE(format.items().empty());
    expectPartnersLinked(format);
  }
}

}  // namespace
