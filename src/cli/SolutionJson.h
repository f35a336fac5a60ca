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
//   detention        DetentionAsJson, only for a project holding detention
//                    inputs: any other project's JSON keeps its keys
nlohmann::json SolutionAsJson(const NetworkSolution& solution, const ProjectInfoRow& info,
                              const NodeRow& node);

// The pond sized by the Modified Rational Method. Keys:
//   method           "rising" or "constant"
//   releaseSource    kind ("single", "per-period", "pre-development"); for a
//                    pre-development project also project (as stored),
//                    factor and table (the table that project was solved with)
//   periods          per return period: returnPeriod, release, storageNeeded,
//                    criticalDuration, intensity, inflowPeak (null without
//                    storage needed), storage (ft3), storageAcreFeet,
//                    atTableEnd and curve: [[duration, storage], ...]
// Numbers are the sweep's doubles, every digit.
nlohmann::json DetentionAsJson(const DetentionResult& detention);

}  // namespace torrenta
