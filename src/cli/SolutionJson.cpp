#include "SolutionJson.h"

#include <charconv>
#include <string>
#include <utility>

#include "ReturnPeriods.h"
#include "checks/DesignChecks.h"
#include "report/ShownValues.h"
#include "solver/RationalMethod.h"
#include "store/DrainageStore.h"
#include "text/NumberText.h"

namespace torrenta {
namespace {

// A single-precision result as the shortest decimal that reads back as it:
// 5.4f is 5.4, not 5.400000095367432. Read back with from_chars: the PDF
// plugin's Qt may have switched the process to a locale whose decimal point
// is a comma, and strtod would then stop at the ".".
double FullPrecision(float value) {
    const std::string text = SingleText(value);
    double number = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

template <class Row>
nlohmann::json StoredColumns(const Row& row) {
    nlohmann::json object;
    for (const auto& column : ElementTable<Row>::kColumns) {
        object[std::string(column.name)] = row.*column.member;
    }
    return object;
}

nlohmann::json WithShown(nlohmann::json object, const std::vector<ShownValue>& shown) {
    nlohmann::json values;
    nlohmann::json texts;
    for (const ShownValue& value : shown) {
        values[std::string(value.name)] = value.number;
        texts[std::string(value.name)] = value.text;
    }
    object["values"] = std::move(values);
    object["shown"] = std::move(texts);
    return object;
}

// An element's entry: its columns, its numbers and texts, and whether its Tc
// counts in the total; off the path, its shown Tc carries the report's
// parentheses.
template <class Row>
nlohmann::json ElementJson(const Row& row, const NetworkSolution& solution,
                           const std::vector<ShownValue>& shown, const char* tcName) {
    nlohmann::json object = WithShown(StoredColumns(row), shown);
    const std::string& tag = row.*ElementTable<Row>::kTag;
    const bool onPath = solution.OnTcPath(tag);
    object["onTcPath"] = onPath;
    const auto link = solution.layout.drainsTo.find(tag);
    object["drainsTo"] =
        link == solution.layout.drainsTo.end() ? std::string(kOutletTag) : link->second;
    if (!onPath) {
        object["shown"][tcName] = "(" + object["shown"][tcName].template get<std::string>() + ")";
    }
    return object;
}

// A pipe as sized for the design period, with every period's flow through it.
nlohmann::json PipeJson(const PipeFlow& pipe) {
    nlohmann::json periods = nlohmann::json::array();
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        const PipePeriod& period = pipe.periods[k];
        nlohmann::json entry = nlohmann::json::object();
        entry["returnPeriod"] = kReturnPeriods[k];
        entry["flow"] = period.flow;
        entry["velocity"] = period.velocity;
        entry["depthRatio"] = period.depthRatio;
        entry["travelTime"] = period.travelTime;
        entry["pressureFlow"] = period.pressure;
        periods.push_back(std::move(entry));
    }
    nlohmann::json object = nlohmann::json::object();
    object["tag"] = pipe.tag;
    object["name"] = pipe.name;
    object["from"] = pipe.from;
    object["to"] = pipe.to;
    object["length"] = pipe.length;
    object["slope"] = pipe.slope;
    object["n"] = pipe.n;
    object["diameterGiven"] =
        pipe.diameterGiven ? nlohmann::json(pipe.diameter) : nlohmann::json(nullptr);
    object["diameter"] = pipe.diameter;
    object["diameterRequired"] =
        pipe.diameterRequired ? nlohmann::json(*pipe.diameterRequired) : nlohmann::json(nullptr);
    object["fullFlow"] = pipe.fullFlow;
    object["fullVelocity"] = pipe.fullVelocity;
    object["periods"] = std::move(periods);
    return object;
}

nlohmann::json DesignJson(const DesignSettings& settings) {
    nlohmann::json object = nlohmann::json::object();
    object["period"] = settings.designYears;
    object["minDiameter"] = settings.minimumDiameter;
    object["sizes"] = settings.sizes;
    object["minDuration"] = settings.minimumDuration;
    object["minVelocity"] = settings.minimumVelocity;
    object["maxVelocity"] = settings.maximumVelocity;
    object["minCover"] = settings.minimumCover;
    return object;
}

// A design point (or the outlet) as the walk of the network found it. Built
// member by member: a network holds hundreds of points, and an initializer
// list would copy every value twice.
nlohmann::json PointJson(const PointFlow& point, bool withPipes) {
    nlohmann::json sumCA = nlohmann::json::array();
    nlohmann::json results = nlohmann::json::array();
    for (std::size_t k = 0; k < kReturnPeriods.size(); ++k) {
        sumCA.push_back(point.sumCA[k]);
        nlohmann::json period = nlohmann::json::object();
        period["returnPeriod"] = kReturnPeriods[k];
        period["frequencyFactor"] = FrequencyFactor(static_cast<std::int16_t>(kReturnPeriods[k]));
        period["intensity"] = FullPrecision(point.intensity[k]);
        period["intensityShown"] = FormatFixed(point.intensity[k], 2);
        period["peakFlow"] = FullPrecision(point.peakFlow[k]);
        period["peakFlowShown"] = FormatFixed(point.peakFlow[k], 2);
        if (withPipes) {
            // Travel times in the pipes, and so Tc, differ from period to period.
            period["tc"] = point.tcByPeriod[k];
        }
        results.push_back(std::move(period));
    }
    nlohmann::json object = nlohmann::json::object();
    object["tag"] = point.tag;
    object["name"] = point.name;
    object["kind"] = point.kind;
    object["drainsTo"] =
        point.drainsTo.empty() ? nlohmann::json(nullptr) : nlohmann::json(point.drainsTo);
    object["ownArea"] = point.ownArea;
    object["totalArea"] = point.totalArea;
    object["weightedC"] = point.weightedC;
    object["sumCA"] = std::move(sumCA);
    object["tc"] = point.tc;
    object["path"] = point.path;
    object["results"] = std::move(results);
    return object;
}

}  // namespace

nlohmann::json SolutionAsJson(const NetworkSolution& solution, const ProjectInfoRow& info,
                              const NodeRow& node) {
    nlohmann::json json;
    json["project"] = {{"ProjectName", info.ProjectName},
                       {"DesignEngineer", info.DesignEngineer},
                       {"ProjectManager", info.ProjectManager},
                       {"DesignDate", info.DesignDate},
                       {"JobNumber", info.JobNumber}};
    json["node"] = {{"NodeName", node.NodeName}, {"IntensityTable", node.IntensityTable}};
    json["intensityTable"] = solution.intensityTable;
    json["intensitySource"] = solution.intensitySource;
    json["totalArea"] = solution.TotalArea;
    json["weightedC"] = solution.WeightedC;
    json["tc"] = {{"overland", solution.OverlandTcSum},
                  {"shallow", solution.ShallowTcSum},
                  {"channel", solution.ChannelTcSum},
                  {"total", solution.TotalTc}};
    json["shown"] = {{"totalArea", GeneralNumberText(solution.TotalArea)},
                     {"weightedC", FormatFixed(solution.WeightedC, 4)},
                     {"tc",
                      {{"overland", GeneralNumberText(solution.OverlandTcSum)},
                       {"shallow", GeneralNumberText(solution.ShallowTcSum)},
                       {"channel", GeneralNumberText(solution.ChannelTcSum)},
                       {"total", GeneralNumberText(solution.TotalTc)}}}};

    nlohmann::json overland = nlohmann::json::array();
    for (const auto& row : solution.overland) {
        overland.push_back(ElementJson(row, solution, ShownValues(row, solution), "Tc"));
    }
    nlohmann::json shallow = nlohmann::json::array();
    for (const auto& row : solution.shallow) {
        shallow.push_back(ElementJson(row, solution, ShownValues(row), "SurfTc"));
    }
    nlohmann::json channel = nlohmann::json::array();
    for (const auto& row : solution.channel) {
        channel.push_back(ElementJson(row, solution, ShownValues(row), "ChannelTc"));
    }
    json["elements"] = nlohmann::json::object();
    json["elements"]["overland"] = std::move(overland);
    json["elements"]["shallow"] = std::move(shallow);
    json["elements"]["channel"] = std::move(channel);

    nlohmann::json results = nlohmann::json::array();
    for (const PeriodResult& period : solution.periods) {
        results.push_back({{"returnPeriod", period.years},
                           {"frequencyFactor", period.frequencyFactor},
                           {"intensity", FullPrecision(period.intensity)},
                           {"intensityStored", period.intensityStored},
                           {"intensityShown", period.intensityShown},
                           {"peakFlow", FullPrecision(period.peakFlow)},
                           {"peakFlowStored", period.peakFlowStored},
                           {"peakFlowShown", period.peakFlowShown}});
    }
    json["results"] = std::move(results);
    if (!solution.layout.points.empty()) {
        nlohmann::json points = nlohmann::json::array();
        const bool withPipes = !solution.layout.pipes.empty();
        for (const PointFlow& point : solution.flow.points) {
            points.push_back(PointJson(point, withPipes));
        }
        json["points"] = std::move(points);
        if (withPipes) {
            nlohmann::json pipes = nlohmann::json::array();
            for (const PipeFlow& pipe : solution.flow.pipes) {
                pipes.push_back(PipeJson(pipe));
            }
            json["pipes"] = std::move(pipes);
            json["design"] = DesignJson(solution.layout.settings);
        }
    }

    nlohmann::json checks = nlohmann::json::array();
    for (const DesignFinding& finding : CheckDesign(solution)) {
        checks.push_back({{"code", finding.code},
                          {"element", finding.element},
                          {"message", finding.message},
                          {"reference", finding.reference}});
    }
    json["checks"] = checks;
    if (solution.detention) {
        json["detention"] = DetentionAsJson(*solution.detention);
    }
    return json;
}

nlohmann::json DetentionAsJson(const DetentionResult& detention) {
    const DetentionInputs& inputs = detention.inputs;
    nlohmann::json source = {{"kind", std::string(ReleaseSourceWord(inputs.source))}};
    if (inputs.source == ReleaseSource::PreDevelopment) {
        source["project"] = inputs.preDevelopmentProject;
        source["factor"] = inputs.releaseFactor;
        source["table"] = detention.preDevelopmentTable;
    }
    nlohmann::json periods = nlohmann::json::array();
    for (const DetentionPeriod& period : detention.sweep.periods) {
        // Without storage needed no storm is critical: null, not a 0 minutes
        // a script could take for a duration.
        const auto critical = [&](double value) {
            return period.storageNeeded ? nlohmann::json(value) : nlohmann::json(nullptr);
        };
        // The intensity and the inflow are the solver's single-precision
        // values, written as the results' are: 2.1263876, not 2.126387596130371.
        const auto single = [&](double value) {
            return critical(FullPrecision(static_cast<float>(value)));
        };
        nlohmann::json curve = nlohmann::json::array();
        for (const StoragePoint& point : period.curve) {
            curve.push_back({point.duration, point.storage});
        }
        periods.push_back({{"returnPeriod", period.years},
                           {"release", period.release},
                           {"storageNeeded", period.storageNeeded},
                           {"criticalDuration", critical(period.criticalDuration)},
                           {"intensity", single(period.intensity)},
                           {"inflowPeak", single(period.inflowPeak)},
                           {"storage", period.storage},
                           {"storageAcreFeet", period.storageAcreFeet},
                           {"atTableEnd", period.atTableEnd},
                           {"curve", curve}});
    }
    return {{"method", std::string(DetentionMethodWord(detention.sweep.method))},
            {"releaseSource", source},
            {"periods", periods}};
}

}  // namespace torrenta
