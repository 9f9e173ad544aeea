// The three estimates whose mean precision the plan reports, charts and
// solves for.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <string_view>

#include "model/working_set.h"

enum class Estimate : std::size_t { AdultSurvival, YoungSurvival, PopulationSize };

inline constexpr std::array<Estimate, 3> kEstimates = {
    Estimate::AdultSurvival, Estimate::YoungSurvival, Estimate::PopulationSize};

inline constexpr std::size_t index(Estimate e) { return static_cast<std::size_t>(e); }

// The name in the tables: adult_survival, young_survival, population_size.
inline std::string_view estimateName(Estimate e) {
  constexpr std::string_view kNames[] = {"adult_survival", "young_survival", "population_size"};
  return kNames[index(e)];
}

// CVPHIM, CVFYM or CVNM of the block just run. The young mean exists only in
// the two-age model; otherwise it is a NaN.
inline double meanCV(const WorkingSet& ws, Estimate e) {
  switch (e) {
    case Estimate::AdultSurvival:
      return ws.CVPHIM;
    case Estimate::YoungSurvival:
      return ws.par.PRPNY > 0 ? ws.CVFYM : std::numeric_limits<double>::quiet_NaN();
    case Estimate::PopulationSize:
      return ws.CVNM;
  }
  return std::numeric_limits<double>::quiet_NaN();
}
