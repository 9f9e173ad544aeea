#include "run/value_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "run/stop.h"

namespace {

constexpr double kUnset = -99.0;  // start value of every double item
constexpr float kUnsetFloat = -99.0F;
constexpr std::int32_t kUnsetInt = -99;

// Reads `values.size()` doubles from `source`, each starting at kUnset.
ReadEnd readDoubles(CharSource& source, std::vector<double>& values,
                    std::vector<bool>* filled = nullptr) {
  std::vector<ReadItem> items;
  for (double& value : values) {
    value = kUnset;
    items.push_back({&value});
  }
  const ReadEnd end = readValues(source, items, "the test record");
  if (filled != nullptr) {
    filled->clear();
    for (const ReadItem& item : items) filled->push_back(item.filled);
  }
  return end;
}

template <typename T>
T readOne(std::string_view text, T start) {
  T value = start;
  ReadItem item{&value};
  TextSource source(text, false);
  EXPECT_EQ(readValues(source, std::span(&item, 1), "the test record"), ReadEnd::Complete) << text;
  EXPECT_TRUE(item.filled) << text;
  return value;
}

// The message of the Stop that reading `text` into `count` integers throws.
std::string badValueMessage(CharSource& source, std::size_t count) {
  std::vector<std::int32_t> values(count, kUnsetInt);
  std::vector<ReadItem> items;
  for (std::int32_t& value : values) items.push_back({&value});
  try {
    readValues(source, items, "the test record");
  } catch (const Stop& stop) {
    EXPECT_EQ(stop.status, kExitBadInput);
    return stop.message;
  }
  return "no stop";
}

std::string badValueMessage(std::string_view text, std::size_t count) {
  std::istringstream in{std::string(text)};
  StreamSource source(in);
  return badValueMessage(source, count);
}

TEST(StreamSource, GivesBytesAndLineEnds) {
  using namespace std::string_view_literals;
  std::istringstream in(std::string("a\r\nb\rc\n\0\xff\n\r"sv));
  StreamSource source(in);
  const std::vector<int> expected = {'a',
                                     CharSource::kLineEnd,
                                     'b',
                                     '\r',
                                     'c',
                                     CharSource::kLineEnd,
                                     0,
                                     255,
                                     CharSource::kLineEnd,
                                     '\r',
                                     CharSource::kEnd,
                                     CharSource::kEnd};
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(source.next(), expected[i]) << i;
}

TEST(TextSource, GivesTheTextThenEnd) {
  TextSource source("a\n\xff", true);
  EXPECT_EQ(source.next(), 'a');
  EXPECT_EQ(source.next(), '\n');
  EXPECT_EQ(source.next(), 255);
  EXPECT_EQ(source.next(), CharSource::kEnd);
  EXPECT_EQ(source.next(), CharSource::kEnd);
  EXPECT_TRUE(source.cutAtEnd());
}

struct ListCase {
  std::string_view input;
  std::vector<std::optional<double>> values;  // nullopt: left unchanged
  ReadEnd end;
};

// Four doubles read from the start of the input.
TEST(ReadValues, SeparatorsEmptyValuesRepeatsAndSlash) {
  constexpr auto no = std::nullopt;
  const ListCase cases[] = {
      {"1 2 3 4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"1,2,3,4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"  1 , 2 ,3,  4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"\t1\t2\t\t3 \t4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"1 2\n\n3\n  4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"1\n,2,3,4", {1, 2, 3, 4}, ReadEnd::Complete},
      {"1 2 3 4 5 6", {1, 2, 3, 4}, ReadEnd::Complete},
      {",2,3,4", {no, 2, 3, 4}, ReadEnd::Complete},
      {" ,2,3,4", {no, 2, 3, 4}, ReadEnd::Complete},
      {"1,,3,4", {1, no, 3, 4}, ReadEnd::Complete},
      {"1, ,3,4", {1, no, 3, 4}, ReadEnd::Complete},
      {"1,\n,3,4", {1, no, 3, 4}, ReadEnd::Complete},
      {"1,2,3,,", {1, 2, 3, no}, ReadEnd::Complete},
      {",,,,", {no, no, no, no}, ReadEnd::Complete},
      {"2*0.5 3 4", {0.5, 0.5, 3, 4}, ReadEnd::Complete},
      {"4*7", {7, 7, 7, 7}, ReadEnd::Complete},
      {"1 9*2", {1, 2, 2, 2}, ReadEnd::Complete},
      {"3* 4", {no, no, no, 4}, ReadEnd::Complete},
      {"1 2*,4", {1, no, no, 4}, ReadEnd::Complete},
      {"1 2/ 3 4", {1, 2, no, no}, ReadEnd::Slash},
      {"1 2/3", {1, 2, no, no}, ReadEnd::Slash},
      {"1,2,/", {1, 2, no, no}, ReadEnd::Slash},
      {"1 2*/", {1, no, no, no}, ReadEnd::Slash},
      {"/", {no, no, no, no}, ReadEnd::Slash},
      {"1 2 3 4/", {1, 2, 3, 4}, ReadEnd::Complete},
      {"1 2", {1, 2, no, no}, ReadEnd::EndOfInput},
      {"1,,", {1, no, no, no}, ReadEnd::EndOfInput},
      {"", {no, no, no, no}, ReadEnd::EndOfInput},
      {"\n\n", {no, no, no, no}, ReadEnd::EndOfInput},
  };
  for (const ListCase& c : cases) {
    std::istringstream in{std::string(c.input)};
    StreamSource source(in);
    std::vector<double> values(4);
    std::vector<bool> filled;
    EXPECT_EQ(readDoubles(source, values, &filled), c.end) << c.input;
    for (std::size_t k = 0; k < values.size(); ++k) {
      EXPECT_EQ(values[k], c.values[k].value_or(kUnset)) << c.input << " item " << k + 1;
      EXPECT_EQ(filled[k], c.values[k].has_value()) << c.input << " item " << k + 1;
    }
  }
}

// Reads in sequence from one stream, as the records of collected data are.
class ReadSequence : public testing::Test {
 protected:
  void start(std::string text) {
    in_.str(std::move(text));
    source_.emplace(in_);
  }
  // A read of `count` doubles; its values, kUnset where left unchanged.
  std::vector<double> read(std::size_t count, ReadEnd expected = ReadEnd::Complete) {
    std::vector<double> values(count);
    EXPECT_EQ(readDoubles(*source_, values), expected);
    return values;
  }

  std::istringstream in_;
  std::optional<StreamSource> source_;
};

using Values = std::vector<double>;

TEST_F(ReadSequence, RestOfTheLastLineIsSkipped) {
  start("1 2 junk\n3,4,\n5\n6 7 8\n9,,x\n10\n11/x\n12");
  EXPECT_EQ(read(2), (Values{1, 2}));
  EXPECT_EQ(read(1), (Values{3}));
  EXPECT_EQ(read(1), (Values{5}));  // the token ended at the line end: nothing skipped
  EXPECT_EQ(read(2), (Values{6, 7}));
  EXPECT_EQ(read(2), (Values{9, kUnset}));
  EXPECT_EQ(read(1), (Values{10}));
  EXPECT_EQ(read(3, ReadEnd::Slash), (Values{11, kUnset, kUnset}));
  EXPECT_EQ(read(1), (Values{12}));
  EXPECT_EQ(read(1, ReadEnd::EndOfInput), (Values{kUnset}));
}

TEST_F(ReadSequence, ValuesGoOnAcrossLines) {
  start("1\n\n2 3\n4 5\n6");
  EXPECT_EQ(read(4), (Values{1, 2, 3, 4}));
  EXPECT_EQ(read(1), (Values{6}));
}

TEST_F(ReadSequence, EndOfInputKeepsTheValuesRead) {
  start("5\n6\n");
  EXPECT_EQ(read(3, ReadEnd::EndOfInput), (Values{5, 6, kUnset}));
}

TEST_F(ReadSequence, ReadWithoutItemsTakesOneWholeLine) {
  start("1 2 3\n\n7\nlast");
  EXPECT_EQ(read(0), Values{});
  EXPECT_EQ(read(0), Values{});  // the empty line
  EXPECT_EQ(read(1), (Values{7}));
  EXPECT_EQ(read(0), Values{});  // the last line, without its line feed
  EXPECT_EQ(read(0, ReadEnd::EndOfInput), Values{});
}

TEST_F(ReadSequence, CarriageReturnLineFeedEndsALine) {
  start("1 2\r\n3\r\n\r\n4\r\n");
  EXPECT_EQ(read(1), (Values{1}));
  EXPECT_EQ(read(2), (Values{3, 4}));
  EXPECT_EQ(read(0, ReadEnd::EndOfInput), Values{});
}

TEST_F(ReadSequence, LastLineWithoutLineFeed) {
  start("1\n2.5");
  EXPECT_EQ(read(1), (Values{1}));
  EXPECT_EQ(read(1), (Values{2.5}));
  EXPECT_EQ(read(1, ReadEnd::EndOfInput), (Values{kUnset}));
}

TEST_F(ReadSequence, ReadsALongTokenWhole) {
  const std::size_t zeros = 10'000'000;
  start("0." + std::string(zeros, '0') + "1e10000001 2\n3");
  EXPECT_EQ(read(2), (Values{1, 2}));
  EXPECT_EQ(read(1), (Values{3}));
}

TEST(ReadValues, MixedItemTypesTakeTheirOwnCopyOfARepeat) {
  std::int32_t count = kUnsetInt;
  float size = kUnsetFloat;
  double rate = kUnset;
  ReadItem items[] = {{&count}, {&size}, {&rate}};
  TextSource source("3*1", false);
  EXPECT_EQ(readValues(source, items, "the test record"), ReadEnd::Complete);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(size, 1.0F);
  EXPECT_EQ(rate, 1.0);
}

struct IntegerCase {
  std::string_view text;
  std::optional<std::int32_t> value;  // nullopt: a bad value
};

TEST(ReadValues, Integers) {
  const IntegerCase cases[] = {
      {"0", 0},
      {"+7", 7},
      {"-7", -7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"+2147483647", 2147483647},
      {"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"10.0", std::nullopt},
      {"10.", std::nullopt},
      {"1E1", std::nullopt},
      {"1e1", std::nullopt},
      {"1D1", std::nullopt},
      {"1+1", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {"--1", std::nullopt},
      {"1a", std::nullopt},
      {"0x10", std::nullopt},
      {"Inf", std::nullopt},
      {"0*3", std::nullopt},
  };
  for (const IntegerCase& c : cases) {
    if (c.value) {
      EXPECT_EQ(readOne<std::int32_t>(c.text, kUnsetInt), *c.value) << c.text;
    } else {
      EXPECT_EQ(
          badValueMessage(c.text, 1),
          "belrovin: bad value for item 1 of the test record: \"" + std::string(c.text) + "\"");
    }
  }
}

struct NumberCase {
  std::string_view text;
  double value;
};

TEST(ReadValues, Doubles) {
  const double inf = std::numeric_limits<double>::infinity();
  const NumberCase cases[] = {
      {"1.5", 1.5},
      {"+2", 2},
      {"-.5", -0.5},
      {"5.", 5},
      {"0.1", 0.1},
      {"1E2", 100},
      {"1e2", 100},
      {"1D2", 100},
      {"1d2", 100},
      {"1.5E+3", 1500},
      {"1.5e-3", 0.0015},
      {"-1.5D-3", -0.0015},
      {"1.5+3", 1500},
      {"1.5-3", 0.0015},
      {"0.00125e3", 1.25},
      {"12500e-4", 1.25},
      {"Inf", inf},
      {"-infinity", -inf},
      {"+INFINITY", inf},
      {"iNf", inf},
      {"1e-320", 1e-320},
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1e400", inf},
      {"-1e400", -inf},
      {"1e99999999999999999999999", inf},
      {"1e-99999999999999999999999", 0},
      {"0e99999999999999999999999", 0},
      {"0.0000000000000000000000000000000000000000001e43", 1},
  };
  for (const NumberCase& c : cases) {
    EXPECT_EQ(readOne<double>(c.text, kUnset), c.value) << c.text;
  }
  EXPECT_TRUE(std::isnan(readOne<double>("NaN", kUnset)));
  EXPECT_TRUE(std::isnan(readOne<double>("-nan", kUnset)));
  EXPECT_TRUE(std::isnan(readOne<double>("+NAN", kUnset)));
}

TEST(ReadValues, ZerosKeepTheirSign) {
  const std::string_view positive[] = {"0", "+0.0", "1e-400", "1e-99999999999999999999"};
  const std::string_view negative[] = {"-0", "-0.000", "-1e-400", "-1e-99999999999999999999"};
  for (std::string_view text : positive) {
    const double value = readOne<double>(text, kUnset);
    EXPECT_TRUE(value == 0 && !std::signbit(value)) << text;
  }
  for (std::string_view text : negative) {
    const double value = readOne<double>(text, kUnset);
    EXPECT_TRUE(value == 0 && std::signbit(value)) << text;
  }
}

TEST(ReadValues, FloatsAreRoundedOnceToSinglePrecision) {
  EXPECT_EQ(readOne<float>("0.1", kUnsetFloat), 0.1F);
  EXPECT_EQ(readOne<float>("100", kUnsetFloat), 100.0F);
  // Just above the midpoint of 1 and the next float; through a double it
  // would land on the midpoint and round to 1.
  const std::string_view aboveMidpoint = "1.00000005960464477539062500001";
  ASSERT_EQ(static_cast<float>(readOne<double>(aboveMidpoint, kUnset)), 1.0F);
  EXPECT_EQ(readOne<float>(aboveMidpoint, kUnsetFloat), std::nextafter(1.0F, 2.0F));

  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(readOne<float>("1e39", kUnsetFloat), inf);
  EXPECT_EQ(readOne<float>("-1e39", kUnsetFloat), -inf);
  EXPECT_EQ(readOne<float>("3.4028235e38", kUnsetFloat), std::numeric_limits<float>::max());
  EXPECT_EQ(readOne<float>("1e-45", kUnsetFloat), std::numeric_limits<float>::denorm_min());
  const float tiny = readOne<float>("1e-50", kUnsetFloat);
  EXPECT_TRUE(tiny == 0 && !std::signbit(tiny));
  const float negativeTiny = readOne<float>("-1e-50", kUnsetFloat);
  EXPECT_TRUE(negativeTiny == 0 && std::signbit(negativeTiny));
}

TEST(ReadValues, BadNumbers) {
  const std::string_view cases[] = {".",       "-",      "+.",    "1..2",   "1.2.3", "e5",   "1e",
                                    "1e+",     "1E2.5",  "1+",    "1.5+-3", "1e5e5", "abc",  "inf5",
                                    "infinit", "nan(1)", "0x1p3", "1.5*2",  "*5",    "-2*5", "0*5",
                                    "00*5",    "2*1..2", "\r",    "1\r"};
  for (std::string_view text : cases) {
    double value = kUnset;
    ReadItem item{&value};
    TextSource source(text, false);
    EXPECT_THROW(readValues(source, std::span(&item, 1), "the test record"), Stop) << text;
  }
}

struct MessageCase {
  std::string_view input;
  std::string_view message;
};

// Three integers; the diagnostic names the item and quotes its text safely.
TEST(ReadValues, BadValueNamesItsItem) {
  using namespace std::string_view_literals;
  const MessageCase cases[] = {
      {"x", "belrovin: bad value for item 1 of the test record: \"x\""},
      {"1 2 3.5", "belrovin: bad value for item 3 of the test record: \"3.5\""},
      {"1,,x", "belrovin: bad value for item 3 of the test record: \"x\""},
      {"1\n\n2e0", "belrovin: bad value for item 2 of the test record: \"2e0\""},
      {"1 0*4", "belrovin: bad value for item 2 of the test record: \"0*4\""},
      {"2*1 3*1.5", "belrovin: bad value for item 3 of the test record: \"3*1.5\""},
      {"123456789012345678901234",
       "belrovin: bad value for item 1 of the test record: \"12345678901234567890...\""},
      {"a\"b\\c\x01\xff",
       "belrovin: bad value for item 1 of the test record: \"a\\\"b\\\\c\\x01\\xFF\""},
      {"\0"sv, "belrovin: bad value for item 1 of the test record: \"\\x00\""},
  };
  for (const MessageCase& c : cases) {
    EXPECT_EQ(badValueMessage(c.input, 3), c.message) << c.input;
  }
}

// A value that the column limit cut off is bad; a complete one is not.
TEST(ReadValues, ValueCutAtTheEndOfTheText) {
  TextSource cut("1 2 345", true);
  EXPECT_EQ(badValueMessage(cut, 3),
            "belrovin: bad value for item 3 of the test record: \"345\" cut at column 7");
  TextSource cutRepeat("1 2*3", true);
  EXPECT_EQ(badValueMessage(cutRepeat, 3),
            "belrovin: bad value for item 2 of the test record: \"2*3\" cut at column 5");

  std::int32_t values[3] = {kUnsetInt, kUnsetInt, kUnsetInt};
  ReadItem items[] = {{&values[0]}, {&values[1]}, {&values[2]}};
  TextSource whole("1 2 345", false);
  EXPECT_EQ(readValues(whole, items, "the test record"), ReadEnd::Complete);
  EXPECT_EQ(values[2], 345);
  TextSource endsInBlank("1 2 6 ", true);
  EXPECT_EQ(readValues(endsInBlank, items, "the test record"), ReadEnd::Complete);
  EXPECT_EQ(values[2], 6);
  TextSource cutAfterTheLastItem("1 2 7 89", true);
  EXPECT_EQ(readValues(cutAfterTheLastItem, items, "the test record"), ReadEnd::Complete);
  EXPECT_EQ(values[2], 7);
}

}  // namespace
