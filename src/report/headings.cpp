#include "report/headings.h"

namespace {

// Templates are parsed once, when the program starts.
const FormatTemplate kDescriptionIntro = FormatTemplate::parse(
    R"((60X,'BELROVIN'/                                            /' PROGRAM BELROVIN IS INTENDED TO AID IN THE DESIGN OF CAPTURE', '-RECAPTURE AND CAPTURE-RESIGHTING EXPERIMENTS.'/                 ' FOR SPECIFIED CAPTURE PROBABILITY, SIGHTING PROBABILITY, ',     'SURVIVAL RATE, POPULATION SIZE AND SAMPLING'/                    ' DESIGN, THE PROGRAM OUTPUTS THE COEFFICIENTS OF VARIATION (C.', 'V. = STANDARD ERROR OF PARAMETER ESTIMATE)'/                     ' EXPECTED FOR POPULATION SIZE (ADULTS ONLY)',                    ' AND SURVIVAL RATE (YOUNG AND ADULTS) ESTIMATES'))");
const FormatTemplate kDescriptionModels = FormatTemplate::parse(
    R"((' BASED ON THE MODELS OF JOLLY (1965; BIOMETRIKA 52:225-', '247) AND POLLOCK (1981; BIOMETRICS 37: 521-529).'/               ' THE BIOLOGIST CAN THEN SELECT THE DESIRED C.V. AND OBTAIN A ',  'GOOD IDEA OF THE SAMPLING EFFORT (REFLECTED IN '/                ' THE MAGNITUDES OF CAPTURE PROBABILITY AND/OR SIGHTING PROBAB',  'ILITY) NEEDED TO PRODUCE THIS LEVEL OF PRECISION.'/))");

const FormatTemplate kTitleTwoAge = FormatTemplate::parse(
    R"((I1,20X,'PROGRAM BELROVIN - TWO AGE MODEL (POLLOCK 1981; '  ,'BIOMETRICS 37: 521-529)'))");
const FormatTemplate kTitleOneAge = FormatTemplate::parse(
    R"((I1,20X,'PROGRAM BELROVIN - ONE AGE MODEL (JOLLY 1965; ',   'BIOMETRIKA 52: 225-247)'))");
const FormatTemplate kEchoPeriods = FormatTemplate::parse(
    R"(('  INPUT:',3X,'NPER (NUMBER OF SAMPLING PERIODS ........'  ,'...',I8))");
const FormatTemplate kEchoAdults = FormatTemplate::parse(
    R"((11X,'N (ADULT POPULATION SIZE) ..................',F9.0/   11X,'PHI (ADULT SURVIVAL RATE) ..................',F13.4))");
const FormatTemplate kEchoSighting =
    FormatTemplate::parse(R"((11X,'PS (ADULT SIGHTING PROBABILITY) ............',F13.4))");
const FormatTemplate kEchoYoung = FormatTemplate::parse(
    R"((11X,'N'' (YOUNG POPULATION SIZE) .................',F11.2  /11X,'PHI',1H',' (YOUNG SURVIVAL RATE) .................',F13.4   /11X,'RATIO OF YOUNG/ADULT CAPTURE PROBABILITY....',F13.4))");
const FormatTemplate kEchoResighting = FormatTemplate::parse(
    R"((/11X,'CAPTURES OCCUR AT EVERY ',I2,' SAMPLES',             ', AND AFTER INITIAL CAPTURE ALL SAMPLING IS BY RESIGHTING'))");
const FormatTemplate kEchoAllCapture =
    FormatTemplate::parse(R"((/11X,'ALL SAMPLING IS BY CAPTURE-RECAPTURE'))");
const FormatTemplate kMeanGeometric =
    FormatTemplate::parse(R"((11X,'MEAN PHI = GEOMETRIC MEAN'/))");
const FormatTemplate kMeanArithmetic =
    FormatTemplate::parse(R"((11X,'MEAN PHI = ARITHMETIC MEAN'))");

const FormatTemplate kCollectedAdultHeading =
    FormatTemplate::parse(R"((/41H PREVIOUSLY COLLECTED ADULT DATA - M(i,j)))");
const FormatTemplate kCollectedYoungHeading =
    FormatTemplate::parse(R"((/41H PREVIOUSLY COLLECTED YOUNG DATA - M(i,j)))");
const FormatTemplate kCollectedRow = FormatTemplate::parse(R"((20F5.0))");
const FormatTemplate kCollectedReleases = FormatTemplate::parse(R"((/20F5.0))");

const FormatTemplate kHeaderYears = FormatTemplate::parse(
    R"(('  ADULT'/'   CAPT',34X,'YEAR',                            24X/'   PROB            MEAN',1X,15(3X,i4)))");
const FormatTemplate kHeaderUnderline =
    FormatTemplate::parse(R"(('+ _____ ________ ______  ',(19A7)))");

// Rows of a previously collected recapture array, then its releases.
void printCollectedArray(RecordWriter& writer, const PeriodArray& M, const PeriodVector& R,
                         std::int32_t nper1) {
  ValueList values;
  for (std::int32_t I = 1; I <= nper1; ++I) {
    values.clear();
    for (std::int32_t J = I + 1; J <= nper1; ++J) values.push(M[I][J]);
    writer.write(kCollectedRow, values);
  }
  values.clear();
  for (std::int32_t I = 1; I <= nper1; ++I) values.push(R[I]);
  writer.write(kCollectedReleases, values);
}

}  // namespace

void printDescription(RecordWriter& writer) {
  writer.write(kDescriptionIntro, {});
  writer.write(kDescriptionModels, {});
}

void printPageHeading(RecordWriter& writer, const WorkingSet& ws, std::int32_t& ipage) {
  const ParameterSet& par = ws.par;
  const OutputValue page[] = {ipage};
  if (par.PRPNY > 0) writer.write(kTitleTwoAge, page);
  if (par.PRPNY <= 0) writer.write(kTitleOneAge, page);
  ipage = 1;

  const OutputValue periods[] = {par.NPER};
  writer.write(kEchoPeriods, periods);
  const OutputValue adults[] = {ws.N, par.FI};
  writer.write(kEchoAdults, adults);
  if (ws.ALLCAP <= 0) {
    const OutputValue sighting[] = {par.PS};
    writer.write(kEchoSighting, sighting);
  }
  if (par.PRPNY > 0) {
    const OutputValue young[] = {ws.NY, par.FY, par.PRPPC};
    writer.write(kEchoYoung, young);
  }
  if (ws.ALLCAP <= 0) {
    const OutputValue spacing[] = {par.NBET};
    writer.write(kEchoResighting, spacing);
  }
  if (ws.ALLCAP > 0) writer.write(kEchoAllCapture, {});
  writer.write(ws.IGEO ? kMeanGeometric : kMeanArithmetic, {});

  if (ws.nper1 > 0) {
    writer.write(kCollectedAdultHeading, {});
    printCollectedArray(writer, ws.MA, ws.RA, ws.nper1);
    const OutputValue average[] = {std::string_view("AVG P="), ws.AVGP};
    writer.writeFree(average);
    writer.write(kCollectedYoungHeading, {});
    printCollectedArray(writer, ws.MY, ws.RY, ws.nper1);
  }

  ValueList values;
  for (std::int32_t year = 1; year <= ws.NPM1; ++year) values.push(year);
  writer.write(kHeaderYears, values);
  values.clear();
  for (std::int32_t piece = 1; piece <= ws.NPM1; ++piece) values.push(std::string_view(" ______"));
  writer.write(kHeaderUnderline, values);
}
