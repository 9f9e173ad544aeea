#include "run/driver.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = runBelrovin(in, out, err);
  return {status, out.str(), err.str()};
}

const char kHelp[] =
    " **********************\n"
    " *  Program BELROVIN  *\n"
    " **********************\n"
    " NPER = Number of sampling periods,\n"
    " NBET = Number of periods between capture periods,\n"
    " FI   = Adult survival rate,\n"
    " PS   = Adult resighting probability,\n"
    " PRPNY= Proportion of yng/adlt pop. size,\n"
    " FY   = Young survival rate,\n"
    " PRPPC= Proportion of yng/adlt capt. prob.,\n"
    " N1-N2= Range of population sizes,\n"
    " NINC = Increment of population size,\n"
    " P1-P2= Range of capture probabilities,\n"
    " PINC = Increment of capture probability,\n"
    " MEAN = 0 Compute arithmetic mean survival rate,\n"
    " MEAN = 1 Compute geometric mean survival rate,\n"
    " PRT  = 0 Do not print combined M(i,j) array,\n"
    " PRT  = 1 Print combined M(i,j) array\n"
    " NPER,NBET,FI,PS,PRPNY,FY,PRPPC,N1,N2,NINC,P1,P2,PINC,MEAN:\n";

const char kValid[] = "10 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n";

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Run, QuitsQuietlyOnALineThatDoesNotBeginWithADigit) {
  for (const char* line : {"\n", " 10 3\n", "-1\n", ".5\n", "x\n", "\xe9\n", "\r\n"}) {
    const Outcome r = run(line);
    EXPECT_EQ(r.status, 0) << line;
    EXPECT_EQ(r.out, kHelp) << line;
    EXPECT_EQ(r.err, "") << line;
  }
}

TEST(Run, InputThatCannotBeReadEndsWithStatus2) {
  struct Case {
    std::string input;
    std::string diagnostic;  // a piece of the message
  };
  const Case cases[] = {
      {"", "end of input before the parameter line"},
      {"10 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0\n", "fewer than fifteen values"},
      {"10.0 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n", "item 1"},
      {"1E1 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n", "item 1"},
      {"10 3 ,, .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n", "item 3 (FI)"},
      {"10 3 .9 .6 .5 .5 1 100 500 100 .1 .5 /\n", "item 13 (PINC)"},
      {"37 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n", "36"},
      {std::string(113, ' ').replace(0, 1, "1") + "3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1\n",
       "fewer than fifteen values"},
  };
  for (const Case& c : cases) {
    const Outcome r = run(c.input);
    EXPECT_EQ(r.status, 2) << c.input;
    EXPECT_EQ(r.out, kHelp) << c.input;
    EXPECT_NE(r.err.find(c.diagnostic), std::string::npos) << c.input << " -> " << r.err;
  }
}

TEST(Run, ValueCutAtColumn128IsRejected) {
  // Fourteen values, then PRT written so that it ends at column 128 and goes on.
  std::string line = "10 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0";
  line += std::string(127 - line.size(), ' ') + "10\n";
  Outcome r = run(line);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("item 15"), std::string::npos) << r.err;

  line.replace(127, 2, "1 ");  // ends at column 128, a blank follows: accepted
  r = run(line);
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(Run, AcceptsSeparatorsRepeatsAndASlashForPRT) {
  const std::string reference = run(kValid).out;
  ASSERT_NE(reference.find("COMBINED  ADULT"), std::string::npos);
  for (const char* line :
       {"10,3,.9,.6,.5,.5,1,100,500,100,.1,.5,.1,0,1\n",
        "10 , 3 , .9 , .6 , .5 , .5 , 1 , 100 , 500 , 100 , .1 , .5 , .1 , 0 , 1\n",
        "10\t3\t.9\t.6\t.5\t.5\t1\t100\t500\t100\t.1\t.5\t.1\t0\t1\n",
        "10 3 .9 .6 2*.5 1 100 500 100 .1 .5 .1 0 /\n",
        "10 3 .9 .6 .5 .5 1 100 500 100 .1 .5 .1 0 1 and a comment\r\n"}) {
    const Outcome r = run(line);
    EXPECT_EQ(r.status, 0) << line << r.err;
    EXPECT_EQ(r.out, reference) << line;
  }
}

TEST(Run, ValidLineGivesTheWholeReport) {
  const Outcome r = run(kValid);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind(std::string(kHelp) + std::string(60, ' ') + "BELROVIN\n", 0), 0u);
  EXPECT_EQ(count(r.out, "PROGRAM BELROVIN - TWO AGE MODEL"), 5u);  // N = 100 .. 500
  EXPECT_EQ(count(r.out, " CV(PHI) "), 30u);                        // 6 blocks a page
  EXPECT_EQ(r.out.find("0                    PROGRAM"), r.out.find("PROGRAM BELROVIN - TWO") - 21);
  EXPECT_EQ(count(r.out, "\n1                    PROGRAM"), 4u);
}

TEST(Run, MarkedAnimalsAboveReleasesStopTheRun) {
  // All-capture design, N = 100, young as many as adults, no deaths, P = 0.9.
  const Outcome r = run("5 0 1 .5 1 1 1 100 100 100 .9 .9 .1 0 0\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "STOP *** col>rel **\n");
  // The page heading stands; the stopped block printed nothing.
  EXPECT_NE(r.out.find("+ _____ ________ ______  "), std::string::npos);
  EXPECT_EQ(r.out.find("CV(PHI)"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 8), " ______\n");
}

namespace {

// A stream buffer that accepts nothing, like a full device.
class FullDevice : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace

TEST(Run, OutputThatCannotBeWrittenEndsWithStatus3) {
  for (const char* input : {kValid, "\n"}) {
    FullDevice device;
    std::ostream out(&device);
    std::istringstream in(input);
    std::ostringstream err;
    EXPECT_EQ(runBelrovin(in, out, err), 3);
    EXPECT_NE(err.str().find("cannot write standard output"), std::string::npos);
  }
}
