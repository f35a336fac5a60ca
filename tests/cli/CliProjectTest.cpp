#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "BadInputSupport.h"
#include "CliApp.h"
#include "CliOutcome.h"
#include "TestFolder.h"
#include "detention/DetentionInputs.h"
#include "intensity/IntensityDatabase.h"
#include "store/ElementRows.h"
#include "store/ProjectSetup.h"

namespace torrenta {
namespace {

using test::TestFolder;

using Outcome = test::CliOutcome;

class CliProject : public ::testing::Test {
  protected:
    void SetUp() override {
        // Every duration holds the same values, so any Tc reads them, and the
        // 24-hour 2-year value 0.125 gives P2 = 3.0 in.
        IntensityGrid grid;
        for (auto& row : grid) {
            row = {"2.0", "0.125", "3.0", "4.0", "5.0", "6.0", "7.0"};
        }
        SaveIntensityTable(folder_.AppFolder(), "Flat", grid);
        project_ = folder_.File("site.rmt");
    }

    Outcome Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--app-folder", folder_.AppFolder()});
        return test::RunCliCaptured(args);
    }

    void NewProject() {
        ASSERT_EQ(Cli({"new", project_, "--node", "Pond", "--table", "Flat", "--project-name",
                       "O'Brien's \"Lot\"", "--design-date", "12/8/2026"})
                      .code,
                  kExitDone);
    }

    Outcome AddBasin(const std::string& name, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"add",
                                         "overland",
                                         project_,
                                         "--name",
                                         name,
                                         "--area",
                                         "3",
                                         "--slope",
                                         "0.02",
                                         "--land-use",
                                         "Lawn",
                                         "--c",
                                         "0.9",
                                         "--length",
                                         "150",
                                         "--surface",
                                         "Grass, Dense grass"};
        args.insert(args.end(), extra.begin(), extra.end());
        return Cli(args);
    }

    TestFolder folder_;
    std::string project_;
};

TEST_F(CliProject, NewWritesTheProjectAndNodeRows) {
    NewProject();
    const auto node = ReadNode(project_);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->NodeName, "Pond");
    EXPECT_EQ(node->IntensityTable, "Flat");
    EXPECT_EQ(node->NodeX, "5040");
    EXPECT_EQ(node->NodeY, "5160");
    EXPECT_EQ(ReadProjectInfo(project_)->ProjectName, "O'Brien's \"Lot\"");

    const Outcome noTable = Cli({"new", folder_.File("b.rmt"), "--node", "P", "--table", "Nope"});
    EXPECT_EQ(noTable.code, kExitIntensity);
    EXPECT_FALSE(std::filesystem::exists(folder_.File("b.rmt")));
}

TEST_F(CliProject, AddWritesTheRowsTheDialogsWouldWrite) {
    NewProject();
    EXPECT_EQ(AddBasin("North").out, "Basin1\n");
    EXPECT_EQ(AddBasin("South", {"--tc", "12.5", "--off-path"}).out, "Basin2\n");
    EXPECT_EQ(Cli({"add", "shallow", project_, "--name", "Swale", "--length", "500", "--slope",
                   "0.02", "--type", "Paved"})
                  .out,
              "Surface1\n");
    EXPECT_EQ(Cli({"add", "channel", project_, "--name", "Ditch", "--area", "10", "--wp", "8",
                   "--slope", "0.005", "--length", "1000", "--material", "Concrete Channel"})
                  .out,
              "Channel1\n");
    EXPECT_EQ(Cli({"add",  "channel",    project_,  "--name", "Pipe",     "--area",    "10",
                   "--wp", "8",          "--slope", "0.005",  "--length", "1000",      "--n",
                   "0.02", "--velocity", "3",       "--tc",   "5.5",      "--off-path"})
                  .code,
              kExitDone);

    const auto basins = ReadAllElements<BasinRow>(project_);
    ASSERT_EQ(basins.size(), 2u);
    const BasinRow expected{"Basin1",
                            "North",
                            "650",
                            "840",
                            "3",
                            "Lawn",
                            "0.9",
                            "0.02",
                            "150",
                            "False",
                            "Grass, Dense grass",
                            "0.24",
                            "20.3854"};
    const auto fields = [](const BasinRow& r) {
        return std::vector<std::string>{
            r.BasinTag, r.BasinName,    r.BasinX,  r.BasinY,     r.Area,   r.SoilType, r.CVal,
            r.Slope,    r.TravelLength, r.Deleted, r.BasinNType, r.BasinN, r.Tc};
    };
    EXPECT_EQ(fields(basins[0]), fields(expected));
    EXPECT_EQ(basins[1].BasinX, "2100");  // clear of the first icon and its name
    EXPECT_EQ(basins[1].Tc, "12.5");

    const auto surface = ReadAllElements<SurfaceRow>(project_).at(0);
    EXPECT_EQ(surface.SurfVelocity, "2.8751");
    EXPECT_EQ(surface.SurfTc, "2.8985");
    EXPECT_EQ(surface.SurfX + "," + surface.SurfY, "650,1680");
    const auto channels = ReadAllElements<ChannelRow>(project_);
    EXPECT_EQ(channels.at(0).ChannelVelocity, "9.3792");
    EXPECT_EQ(channels.at(0).ChannelTc, "1.7770");
    EXPECT_EQ(channels.at(0).ChannelN, "0.013");
    EXPECT_EQ(channels.at(1).ChannelVelocity + "/" + channels.at(1).ChannelTc, "3/5.5");

    EXPECT_EQ(Cli({"list", project_}).out,
              "overland\tBasin1\tNorth\t20.3854\noverland\tBasin2\tSouth\t12.5\toff-path\n"
              "shallow\tSurface1\tSwale\t2.8985\nchannel\tChannel1\tDitch\t1.7770\n"
              "channel\tChannel2\tPipe\t5.5\toff-path\n");

    // The total Tc runs along the path: 20.3854 + 2.8985 + 1.7770.
    const Outcome json = Cli({"solve", project_, "--json"});
    ASSERT_EQ(json.code, kExitDone) << json.err;
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_NEAR(parsed["tc"]["total"].get<double>(), 25.0609, 1e-9);
    EXPECT_EQ(parsed["shown"]["totalArea"], "6");
    EXPECT_EQ(parsed["shown"]["tc"], (nlohmann::json{{"overland", "20.3854"},
                                                     {"shallow", "2.8985"},
                                                     {"channel", "1.777"},
                                                     {"total", "25.0609"}}));
    const auto& elements = parsed["elements"];
    EXPECT_EQ(elements["overland"][0]["onTcPath"], true);
    EXPECT_EQ(elements["overland"][1]["onTcPath"], false);
    EXPECT_EQ(elements["overland"][1]["shown"]["Tc"], "(12.5)");
    EXPECT_EQ(elements["shallow"][0]["onTcPath"], true);
    EXPECT_EQ(elements["channel"][1]["onTcPath"], false);
}

TEST_F(CliProject, RefusedInputNamesTheProblemAndWritesNothing) {
    NewProject();
    const struct {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"add", "overland", project_, "--name", "A", "--slope", "0.02", "--land-use", "L", "--c",
          "0.5", "--length", "100", "--n", "0.1"},
         kExitInvalidInput,
         "--area"},
        {{"add", "overland", project_, "--name", "A", "--area", "-3", "--slope", "0.02",
          "--land-use", "L", "--c", "0.5", "--length", "100", "--n", "0.1"},
         kExitInvalidInput,
         "-3"},
        {{"add", "overland", project_, "--name", "A", "--area", "3", "--slope", "0", "--land-use",
          "L", "--c", "0.5", "--length", "100", "--n", "0.1"},
         kExitInvalidInput,
         "slope"},
        {{"add", "overland", project_, "--name", "A", "--area", "3", "--slope", "0.02",
          "--land-use", "L", "--c", "0.5", "--length", "100", "--surface", "Lawn"},
         kExitInvalidInput,
         "--n"},
        {{"add", "shallow", project_, "--name", "S", "--length", "1,5", "--slope", "0.02"},
         kExitInvalidInput,
         "1,5"},
        {{"add", "shallow", project_, "--name", "S", "--length", "100"},
         kExitInvalidInput,
         "--slope"},
        {{"add", "channel", project_, "--name", "C", "--area", "10", "--wp", "0", "--slope",
          "0.005", "--length", "1000", "--n", "0.013"},
         kExitInvalidInput,
         "wetted perimeter"},
        {{"add", "shallow", folder_.File("none.rmt"), "--name", "S", "--length", "1", "--slope",
          "1"},
         kExitProjectFile,
         "none.rmt"},
        {{"add", "shallow", project_, "--name", "S", "--length", "1", "--slope", "1", "--type",
          "Gravel"},
         kExitUsage,
         "Gravel"},
        {{"detention", project_, "--release", "2", "--release-per-period", "1,1,1,1,1,1,1"},
         kExitUsage,
         "excludes"},
        {{"detention", project_, "--release", "2", "--release-factor", "0.5"},
         kExitUsage,
         "--release-from"},
        {{"detention", project_, "--clear", "--release", "2"}, kExitUsage, "excludes"},
        {{"detention", project_, "--store"}, kExitUsage, "no detention inputs"},
        {{"detention", project_, "--release-per-period", "1,2,3,4,5,6", "--store"},
         kExitInvalidInput,
         "--release-per-period takes seven releases"},
        {{"detention", project_, "--release", "1.5.2", "--store"},
         kExitInvalidInput,
         "\"1.5.2\" of --release"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Cli(c.args);
        EXPECT_EQ(outcome.code, c.code) << outcome.err;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
    EXPECT_TRUE(ReadAllElements<BasinRow>(project_).empty());
    EXPECT_TRUE(ReadAllElements<SurfaceRow>(project_).empty());
    EXPECT_TRUE(ReadAllElements<ChannelRow>(project_).empty());
    EXPECT_EQ(ReadDetentionInputs(project_), std::nullopt);
}

TEST_F(CliProject, TwentyLiveElementsOfAKindAreTheLimit) {
    NewProject();
    for (int i = 1; i <= 20; ++i) {
        ASSERT_EQ(AddBasin("B" + std::to_string(i)).code, kExitDone);
    }
    const Outcome refused = AddBasin("B21");
    EXPECT_EQ(refused.code, kExitInvalidInput);
    EXPECT_NE(refused.err.find("Maximum 20 basins allowed"), std::string::npos);
    SoftDeleteElement(project_, ElementKind::Overland, "Basin3");
    EXPECT_EQ(AddBasin("B21").out, "Basin21\n");
}

// The network commands reach the core: a point, a link given with the add
// and one made after, the tree, the JSON's points; a loop is refused with the
// input exit code and the file left as it was.
TEST_F(CliProject, NetworkCommandsBuildAndPrintTheTree) {
    NewProject();
    EXPECT_EQ(Cli({"add", "point", project_, "--name", "Inlet A", "--kind", "inlet"}).out,
              "Point1\n");
    EXPECT_EQ(AddBasin("Lot", {"--drains-to", "Point1"}).out, "Basin1\n");
    EXPECT_EQ(Cli({"drain", project_, "Point1", "--to", "Outlet"}).code, kExitDone);
    const Outcome loop = Cli({"drain", project_, "Point1", "--to", "Basin1"});
    EXPECT_EQ(loop.code, kExitInvalidInput);
    EXPECT_NE(loop.err.find("would go round in a loop"), std::string::npos) << loop.err;
    const Outcome tree = Cli({"network", project_});
    EXPECT_EQ(tree.out.rfind("Outlet\tPond\t0\t", 0), 0u) << tree.out;
    EXPECT_NE(tree.out.find("\n  Point1\tInlet A\t0\t"), std::string::npos) << tree.out;
    EXPECT_NE(tree.out.find("\n    Basin1\tLot\t"), std::string::npos) << tree.out;
    const auto json = nlohmann::json::parse(Cli({"solve", project_, "--json"}).out);
    EXPECT_EQ(json["elements"]["overland"][0]["drainsTo"], "Point1");
    EXPECT_EQ(json["points"][0]["tag"], "Point1");
    EXPECT_EQ(json["points"][1]["path"], nlohmann::json({"Basin1", "Point1"}));
    EXPECT_NE(Cli({"list", project_}).out.find("point\tPoint1\tInlet A\tinlet\tOutlet\n"),
              std::string::npos);
}

// Pipes and the design settings reach the core: the pipe is sized, the
// settings apply, the JSON carries both, and a second way out of a point is
// refused.
TEST_F(CliProject, PipeCommandsSizeAPipeWithTheSettingsGiven) {
    NewProject();
    Cli({"add", "point", project_, "--name", "Inlet", "--kind", "inlet"});
    AddBasin("Lot", {"--drains-to", "Point1"});
    EXPECT_EQ(Cli({"add", "pipe", project_, "--from", "Point1", "--to", "Outlet", "--length", "200",
                   "--invert-up", "101", "--invert-down", "100"})
                  .out,
              "Pipe1\n");
    EXPECT_EQ(Cli({"add", "pipe", project_, "--from", "Point1", "--to", "Outlet", "--length", "20",
                   "--slope", "0.01"})
                  .code,
              kExitInvalidInput);
    EXPECT_EQ(Cli({"set-design", project_, "--period", "25", "--min-diameter", "24"}).code,
              kExitDone);
    const auto json = nlohmann::json::parse(Cli({"solve", project_, "--json"}).out);
    EXPECT_EQ(json["design"]["period"], 25);
    EXPECT_EQ(json["pipes"][0]["slope"], 0.005);
    EXPECT_EQ(json["pipes"][0]["diameter"], 24.0);
    EXPECT_NE(Cli({"list", project_}).out.find("pipe\tPipe1\tPoint1 to Outlet\tPoint1\tOutlet\t\n"),
              std::string::npos);
}

TEST_F(CliProject, SolvePrintsTheReportAndWritesResults) {
    NewProject();
    EXPECT_EQ(Cli({"solve", project_}).code, kExitNothingToDo);
    EXPECT_NE(Cli({"solve", project_}).err.find("Nothing to Solve"), std::string::npos);

    AddBasin("North");
    const std::string rtf = folder_.File("report.rtf");
    const Outcome text = Cli({"solve", project_, "--rtf", rtf});
    ASSERT_EQ(text.code, kExitDone) << text.err;
    EXPECT_NE(text.out.find("TORRENTA  Version 1.0"), std::string::npos);
    EXPECT_NE(text.out.find("Q(cfs)"), std::string::npos);
    std::ifstream file(rtf);
    std::string head(6, '\0');
    file.read(head.data(), 6);
    EXPECT_EQ(head, "{\\rtf1");

    const Outcome json = Cli({"solve", project_, "--json"});
    ASSERT_EQ(json.code, kExitDone) << json.err;
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_FALSE(parsed.contains("detention"));
    EXPECT_EQ(parsed["project"]["ProjectName"], "O'Brien's \"Lot\"");
    EXPECT_EQ(parsed["node"]["NodeName"], "Pond");
    EXPECT_EQ(parsed["intensityTable"], "Flat");
    EXPECT_DOUBLE_EQ(parsed["totalArea"].get<double>(), 3.0);
    EXPECT_DOUBLE_EQ(parsed["weightedC"].get<double>(), 0.9);
    EXPECT_DOUBLE_EQ(parsed["tc"]["total"].get<double>(), 20.3854);
    EXPECT_EQ(parsed["elements"]["overland"][0]["BasinTag"], "Basin1");
    ASSERT_EQ(parsed["results"].size(), 7u);
    const auto& hundred = parsed["results"][6];
    EXPECT_EQ(hundred["returnPeriod"], 100);
    EXPECT_DOUBLE_EQ(hundred["frequencyFactor"].get<double>(), 1.25);
    EXPECT_DOUBLE_EQ(hundred["intensity"].get<double>(), 7.0);
    EXPECT_NEAR(hundred["peakFlow"].get<double>(), 21.0, 1e-5);  // min(0.9 x 1.25, 1) x 7 x 3
    EXPECT_DOUBLE_EQ(parsed["results"][0]["peakFlow"].get<double>(), 5.4);
}

TEST_F(CliProject, SolveProblemsLeaveTheResultsAlone) {
    NewProject();
    AddBasin("North");
    ASSERT_EQ(Cli({"solve", project_}).code, kExitDone);
    const auto before = ReadResults(project_);

    const Outcome missing = Cli({"solve", project_, "--table", "Nowhere"});
    EXPECT_EQ(missing.code, kExitIntensity);
    EXPECT_NE(missing.err.find("Nowhere"), std::string::npos);
    EXPECT_EQ(ReadResults(project_)->qpeak, before->qpeak);
    EXPECT_EQ(ReadNode(project_)->IntensityTable, "Flat");

    std::ofstream(folder_.File("text.rmt")) << "not a project";
    EXPECT_EQ(Cli({"solve", folder_.File("text.rmt")}).code, kExitProjectFile);
}

// --json carries every digit the solver computed beside the texts the file
// holds and the report shows, and each element's numbers beside its texts.
TEST_F(CliProject, JsonGivesNumbersInFullBesideTheirTexts) {
    IntensityGrid grid;
    for (auto& row : grid) {
        row = {"2.123456", "0.125", "3.0", "4.0", "5.0", "6.0", "7.0"};
    }
    SaveIntensityTable(folder_.AppFolder(), "Uneven", grid);
    NewProject();
    AddBasin("North");

    const Outcome json = Cli({"solve", project_, "--table", "Uneven", "--json"});
    ASSERT_EQ(json.code, kExitDone) << json.err;
    const auto parsed = nlohmann::json::parse(json.out);
    const auto& year = parsed["results"][0];
    EXPECT_DOUBLE_EQ(year["intensity"].get<double>(), 2.123456);
    EXPECT_EQ(year["intensityStored"], "2.1235");
    EXPECT_EQ(year["intensityShown"], "2.12");
    EXPECT_NEAR(year["peakFlow"].get<double>(), 0.9 * 2.123456 * 3, 1e-5);
    EXPECT_EQ(year["peakFlowStored"], "5.7333");
    EXPECT_EQ(year["peakFlowShown"], "5.73");
    EXPECT_EQ(parsed["results"][6]["intensityStored"], "7");

    const auto& basin = parsed["elements"]["overland"][0];
    EXPECT_EQ(basin["Area"], "3");
    EXPECT_DOUBLE_EQ(basin["values"]["Area"].get<double>(), 3.0);
    EXPECT_EQ(basin["shown"]["AreaShare"], "1.000");
    EXPECT_EQ(basin["shown"]["WeightedC"], "0.9000");
    EXPECT_EQ(parsed["shown"]["weightedC"], "0.9000");
}

// A design check never changes the outcome: the report and the JSON carry it,
// stderr says it after the report, the exit status stays 0.
TEST_F(CliProject, DesignChecksGoToStderrTheReportAndTheJson) {
    NewProject();
    AddBasin("North");  // C 0.9: C * Cf passes 1 for 50 and 100 years
    const std::string message =
        "Weighted C 0.9000 times Cf is over 1 and is capped at 1 for the 50-year and 100-year "
        "periods.";

    const Outcome text = Cli({"solve", project_});
    EXPECT_EQ(text.code, kExitDone);
    EXPECT_EQ(text.err, "torrenta-cli: check CF-CAP: " + message +
                            " (Rational method: C * Cf may not exceed 1)\n");
    const std::size_t section = text.out.find("Design Checks\n");
    ASSERT_NE(section, std::string::npos);
    EXPECT_LT(section, text.out.find("CF-CAP"));
    EXPECT_LT(section, text.out.find(message));

    const Outcome json = Cli({"solve", project_, "--json"});
    EXPECT_EQ(json.code, kExitDone);
    const auto checks = nlohmann::json::parse(json.out)["checks"];
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0]["code"], "CF-CAP");
    EXPECT_EQ(checks[0]["element"], "");
    EXPECT_EQ(checks[0]["message"], message);
    EXPECT_EQ(checks[0]["reference"], "Rational method: C * Cf may not exceed 1");
}

// Each way of giving the release and the method reaches the sizing (the JSON
// says what the sweep used), --table picks this run's rainfall, and the project
// keeps exactly what --store gave, or what it held.
TEST_F(CliProject, DetentionOptionsReachTheSizingAndStoreWhatWasGiven) {
    IntensityGrid doubled;
    for (auto& row : doubled) {
        row = {"4.0", "0.125", "3.0", "4.0", "5.0", "6.0", "7.0"};
    }
    SaveIntensityTable(folder_.AppFolder(), "Doubled", doubled);
    NewProject();
    AddBasin("North");
    // The site before development is the same basin: Q1 = 0.9 x 3 ac x 2 in/hr
    // = 5.4 cfs, Q100 = min(0.9 x 1.25, 1) x 3 ac x 7 in/hr = 21 cfs.
    const std::string pre = folder_.File("pre.rmt");
    std::filesystem::copy_file(project_, pre);
    DetentionInputs single;
    single.release = 2.0;
    DetentionInputs perPeriod;
    perPeriod.method = DetentionMethod::ConstantRelease;
    perPeriod.source = ReleaseSource::PerPeriod;
    perPeriod.releases = {1, 2, 3, 4, 5, 6, 7};
    DetentionInputs fromPre;
    fromPre.source = ReleaseSource::PreDevelopment;
    fromPre.preDevelopmentProject = "pre.rmt";
    fromPre.releaseFactor = 0.5;
    // Stored inputs whose pre-development project has gone are replaced, not
    // sized on the way.
    DetentionInputs gone = fromPre;
    gone.preDevelopmentProject = "gone.rmt";
    const struct {
        std::optional<DetentionInputs> before;
        std::vector<std::string> args;
        std::optional<DetentionInputs> after;
        std::string method, kind;
        double release1, release100, intensity1;  // intensity1: the 1-year I(Td*)
    } cases[] = {
        {{}, {"--release", "2"}, {}, "rising", "single", 2, 2, 2},
        {{},
         {"--release-per-period", "1,2,3,4,5,6,7", "--method", "constant", "--store"},
         perPeriod,
         "constant",
         "per-period",
         1,
         7,
         2},
        {single,
         {"--release-from", pre, "--release-factor", "0.5", "--store"},
         fromPre,
         "rising",
         "pre-development",
         2.7,
         10.5,
         2},
        {perPeriod, {"--method", "rising"}, perPeriod, "rising", "per-period", 1, 7, 2},
        {gone, {"--release", "2", "--store"}, single, "rising", "single", 2, 2, 2},
        // Last: the run on another table leaves results a solve would rewrite.
        {single, {"--table", "Doubled"}, single, "rising", "single", 2, 2, 4},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const auto& c = cases[i];
        ClearDetentionInputs(project_);
        if (c.before) {
            StoreDetentionInputs(project_, *c.before);
        }
        std::vector<std::string> args = {"detention", project_, "--json"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome outcome = Cli(args);
        ASSERT_EQ(outcome.code, kExitDone) << outcome.err;
        auto json = nlohmann::json::parse(outcome.out);
        EXPECT_EQ(json["method"], c.method);
        EXPECT_EQ(json["releaseSource"]["kind"], c.kind);
        EXPECT_NEAR(json["periods"][0]["release"].get<double>(), c.release1, 1e-5);
        EXPECT_NEAR(json["periods"][6]["release"].get<double>(), c.release100, 1e-5);
        EXPECT_DOUBLE_EQ(json["periods"][0]["intensity"].get<double>(), c.intensity1);
        EXPECT_EQ(ReadDetentionInputs(project_), c.after);
    }

    // The last run left the other table's results: a run that went on to
    // solve would rewrite them. A missing pre-development project stops it first.
    const auto bytes = [this] { return test::ReadFileBytes(project_); };
    const std::string before = bytes();
    const Outcome missing =
        Cli({"detention", project_, "--release-from", folder_.File("gone.rmt"), "--store"});
    EXPECT_EQ(missing.code, kExitInvalidInput);
    EXPECT_NE(missing.err.find("\"gone.rmt\""), std::string::npos) << missing.err;
    EXPECT_TRUE(bytes() == before);

    const Outcome defaultFactor = Cli({"detention", project_, "--json", "--release-from", pre});
    EXPECT_EQ(nlohmann::json::parse(defaultFactor.out)["releaseSource"],
              (nlohmann::json{{"kind", "pre-development"},
                              {"project", "pre.rmt"},
                              {"factor", 1.0},
                              {"table", "Flat"}}));
}

// The JSON's shape: seven periods in order, each with its whole storage curve,
// null where no storm needs storage; solve carries the same once the inputs
// are stored, and its old keys alone once they are cleared.
TEST_F(CliProject, DetentionJsonHoldsEveryPeriodWithItsWholeCurve) {
    NewProject();
    AddBasin("North");
    const Outcome text =
        Cli({"detention", project_, "--release-per-period", "1,30,30,30,30,30,30", "--store"});
    EXPECT_NE(text.out.find("Detention Storage (Modified Rational Method)"), std::string::npos);
    EXPECT_EQ(text.out.find("TORRENTA"), std::string::npos);
    EXPECT_NE(Cli({"solve", project_}).out.find("Detention Storage"), std::string::npos);

    auto json = nlohmann::json::parse(Cli({"detention", project_, "--json"}).out);
    EXPECT_EQ(json.size(), 3u);
    const int years[] = {1, 2, 5, 10, 25, 50, 100};
    ASSERT_EQ(json["periods"].size(), 7u);
    for (std::size_t k = 0; k < 7; ++k) {
        auto& period = json["periods"][k];
        EXPECT_EQ(period["returnPeriod"], years[k]);
        // Tc 20.3854 min, a storm a minute longer each up to 1439.3854, then
        // the table's longest, 1440 min.
        ASSERT_EQ(period["curve"].size(), 1421u);
        EXPECT_DOUBLE_EQ(period["curve"][0][0].get<double>(), 20.3854);
        EXPECT_DOUBLE_EQ(period["curve"][1420][0].get<double>(), 1440.0);
        // 30 cfs is above every inflow (21 cfs at most): no storm is critical.
        EXPECT_EQ(period["storageNeeded"], k == 0);
        for (const char* key : {"criticalDuration", "intensity", "inflowPeak"}) {
            EXPECT_EQ(period[key].is_null(), k != 0) << key;
        }
        for (const char* key : {"release", "storage", "storageAcreFeet", "atTableEnd"}) {
            EXPECT_TRUE(period.contains(key)) << key;
        }
        EXPECT_EQ(period.size(), 10u);
    }
    // The 1-year storm: 0.9 x 3 ac x 2 in/hr, the solver's single 5.4 written
    // as the results' numbers are, not as 5.400000095367432.
    EXPECT_EQ(json["periods"][0]["inflowPeak"].dump(), "5.4");

    EXPECT_EQ(nlohmann::json::parse(Cli({"solve", project_, "--json"}).out)["detention"], json);
    ASSERT_EQ(Cli({"detention", project_, "--clear"}).code, kExitDone);
    EXPECT_FALSE(
        nlohmann::json::parse(Cli({"solve", project_, "--json"}).out).contains("detention"));
}
}  // namespace
}  // namespace torrenta
