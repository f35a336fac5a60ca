#pragma once

#include <nlohmann/json.hpp>

#include "solver/NetworkSolution.h"
#include "store/ProjectSetup.h"

namespace torrenta {

// A solved network for other programs. Keys:
//   project          the five project fields, as stored
//   node             NodeName, IntensityTable (the project's own choice)
//   intensityTable   the table this solve used; intensitySource where it came
//                    from ("" when not recorded)
//   totalArea, weightedC, tc {overland, shallow, channel, total}: numbers
//   shown            the same as the report prints them (text)
//   elements         {overland, shallow, channel}: each element's stored
//                    columns (text), "values" (numbers) and "shown" (text)
//   results          per return period: returnPeriod, frequencyFactor,
//                    intensity, peakFlow (numbers, every digit the solver
//                    computed), and their texts as stored and as shown
//   checks           the design checks that apply: code, element (its tag,
//                    "" for the network), message, reference; [] when none
nlohmann::json SolutionAsJson(const NetworkSolution& solution, const ProjectInfoRow& info,
                              const NodeRow& node);

}  // namespace torrenta
