#include "report/field_editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FixedCase {
  double value;
  std::uint32_t width;
  std::uint32_t decimals;
  std::string_view field;
};

std::string fixed(double value, std::uint32_t width, std::uint32_t decimals) {
  OutputBuffer out;
  editFixed(out, value, width, decimals);
  return std::string(out.view());
}

void expectFixed(std::initializer_list<FixedCase> cases) {
  for (const FixedCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " in F" << c.width << '.' << c.decimals);
    EXPECT_EQ(fixed(c.value, c.width, c.decimals), c.field);
  }
}

TEST(EditFixed, LeadingZeroSignAndWidth) {
  expectFixed({
      {0.1234, 6, 4, "0.1234"},
      {-0.1234, 6, 4, "-.1234"},
      {0.1234, 7, 4, " 0.1234"},
      {0.1234, 5, 4, ".1234"},
      {-0.5, 6, 4, "-.5000"},
      {0.3, 5, 0, "   0."},
      {0.3, 6, 3, " 0.300"},
      {100.0, 9, 0, "     100."},
      {9999.4, 5, 0, "9999."},
      {-999.0, 5, 0, "-999."},
      {0.0, 6, 4, "0.0000"},
      {0.99996, 6, 4, "1.0000"},
      {31.5, 7, 1, "   31.5"},
      {50.0, 11, 2, "      50.00"},
      {0.8, 13, 4, "       0.8000"},
      {4503599627370495.0, 20, 0, "   4503599627370495."},
      {1e17, 20, 0, " 100000000000000000."},
      {1e25, 30, 2, " 10000000000000000905969664.00"},
  });
}

TEST(EditFixed, NegativeValuesRoundingToZeroKeepTheirSign) {
  expectFixed({
      {-0.00004, 6, 4, "-.0000"},
      {-0.4, 5, 0, "  -0."},
      {-0.0, 5, 0, "  -0."},
      {-0.0, 6, 4, "-.0000"},
      {-0.0, 7, 4, "-0.0000"},
  });
}

TEST(EditFixed, RoundsTheHeldValueTiesToEven) {
  expectFixed({
      {0.5, 5, 0, "   0."},
      {1.5, 5, 0, "   2."},
      {2.5, 5, 0, "   2."},
      {11.5, 5, 0, "  12."},
      {12.5, 5, 0, "  12."},
      {13.5, 5, 0, "  14."},
      {-2.5, 5, 0, "  -2."},
      {4503599627370495.5, 20, 0, "   4503599627370496."},
      {0.125, 5, 2, " 0.12"},
      {0.375, 5, 2, " 0.38"},
      {2.675, 5, 2, " 2.67"},  // held just below the half
      {0.15, 4, 1, " 0.1"},    // held just below the half
      {99999.95, 7, 1, "99999.9"},
  });
}

TEST(EditFixed, TooWideGivesAsterisks) {
  expectFixed({
      {10.0, 6, 4, "******"},
      {9.0e29, 6, 4, "******"},
      {9.99995, 6, 4, "******"},  // rounds up to 10.0000
      {-10.0, 7, 4, "*******"},
      {9999.5, 5, 0, "*****"},
      {10000.0, 5, 0, "*****"},
      {-9999.0, 5, 0, "*****"},
      {100000.0, 7, 1, "*******"},
      {1e8, 13, 4, "*************"},
      {1e300, 13, 4, "*************"},
      {1e300, 40, 4, "****************************************"},
      {0.5, 3, 4, "***"},
  });
  // Fields of any width follow the same rules, beyond the 1074 decimals a
  // double can have too; a text longer than the field never overruns it.
  EXPECT_EQ(fixed(0.5, 700, 650), std::string(48, ' ') + "0.5" + std::string(649, '0'));
  EXPECT_EQ(fixed(-0.5, 2000, 1500), std::string(497, ' ') + "-0.5" + std::string(1499, '0'));
  EXPECT_EQ(fixed(-1.0, 10, 4000000000u), "**********");
}

TEST(EditFixed, NotFiniteValuesByWidth) {
  expectFixed({
      {kNaN, 6, 4, "   NaN"},
      {-kNaN, 5, 0, "  NaN"},
      {kInf, 6, 4, "   Inf"},
      {-kInf, 6, 4, "  -Inf"},
      {kInf, 7, 4, "    Inf"},
      {kInf, 8, 4, "Infinity"},
      {-kInf, 8, 4, "    -Inf"},
      {-kInf, 9, 4, "-Infinity"},
      {-kInf, 13, 4, "    -Infinity"},
      {kNaN, 2, 0, "**"},
  });
}

TEST(EditFixed, AppendsToTheRecord) {
  OutputBuffer out;
  out.append("ab");
  editFixed(out, 1.0, 5, 0);
  editFixed(out, 9.0e29, 6, 4);
  EXPECT_EQ(out.view(), "ab   1.******");
}

TEST(EditInteger, RightAlignedOrAsterisks) {
  const struct {
    std::int32_t value;
    std::uint32_t width;
    std::string_view field;
  } cases[] = {
      {0, 1, "0"},       {6, 8, "       6"},
      {2, 2, " 2"},      {99, 2, "99"},
      {100, 2, "**"},    {-5, 3, " -5"},
      {-10, 2, "**"},    {std::numeric_limits<std::int32_t>::min(), 11, "-2147483648"},
      {1234, 4, "1234"}, {std::numeric_limits<std::int32_t>::max(), 10, "2147483647"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    OutputBuffer out;
    editInteger(out, c.value, c.width);
    EXPECT_EQ(out.view(), c.field);
  }
}

TEST(EditText, TruncatedOrRightAligned) {
  const struct {
    std::string_view value;
    std::uint32_t width;
    std::string_view field;
  } cases[] = {
      {" ______", 7, " ______"}, {"abc", 5, "  abc"}, {"abcdef", 3, "abc"},
      {"ab ", 4, " ab "},        {"", 3, "   "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    OutputBuffer out;
    editText(out, c.value, c.width);
    EXPECT_EQ(out.view(), c.field);
  }
}

TEST(EditFree, IntegerInElevenColumns) {
  OutputBuffer out;
  editFreeInteger(out, 3);
  editFreeInteger(out, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(out.view(), "          3-2147483648");
}

TEST(EditFree, RealInTwentyFiveColumns) {
  const struct {
    double value;
    std::string_view field;
  } cases[] = {
      {0.3, " 0.29999999999999999     "},
      {0.0, "  0.0000000000000000     "},
      {-0.0, " -0.0000000000000000     "},
      {1.0, "  1.0000000000000000     "},
      {12.0, "  12.000000000000000     "},
      {123.456, "  123.45600000000000     "},
      {-0.3, "-0.29999999999999999     "},
      {0.1, " 0.10000000000000001     "},
      {1e17 - 16, "  99999999999999984.     "},
      {0.09999999999999999, "  9.9999999999999992E-002"},
      {0.05, "  5.0000000000000003E-002"},
      {-5e-5, " -5.0000000000000002E-005"},
      {1e17, "  1.0000000000000000E+017"},
      {1e300, "  1.0000000000000001E+300"},
      {-1.7976931348623157e308, " -1.7976931348623157E+308"},
      {5e-324, "  4.9406564584124654E-324"},
      {kNaN, "                      NaN"},
      {kInf, "                 Infinity"},
      {-kInf, "                -Infinity"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    OutputBuffer out;
    editFreeReal(out, c.value);
    EXPECT_EQ(out.view(), c.field);
  }
}

}  // namespace
