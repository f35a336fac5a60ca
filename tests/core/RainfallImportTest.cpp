#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "BadInputSupport.h"
#include "Errors.h"
#include "TestFolder.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/IdfEquation.h"
#include "rainfall/IntensityPlausibility.h"
#include "rainfall/NoaaAtlas14File.h"
#include "rainfall/RainfallTable.h"
#include "solver/RationalMethod.h"
#include "text/DisplayWidth.h"
#include "text/NameText.h"
#include "text/Utf8Text.h"

namespace torrenta {
namespace {

std::string NoaaFile(const std::string& name) {
    return std::string(TORRENTA_NOAA_FOLDER) + "/" + name;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return std::regex_replace(text, std::regex(from), to);
}

TEST(FourSignificantDigits, RoundsHalfUpOnTheDecimalForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{3.37 / 24, "0.1404"}, {2, "2.000"},        {11, "11.00"},
                 {9.9996, "10.00"},     {0.11125, "0.1113"}, {0.983 / 24, "0.04096"},
                 {123.45, "123.5"},     {12345, "12345"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FourSignificantDigits(c.value), c.text) << c.value;
    }
}

// Every real download imports; the spot cells are the file's values (depths
// divided by hours), the Source says where they came from.
TEST(NoaaAtlas14, ImportsEveryRealFile) {
    const struct {
        const char* file;
        NoaaBlock block;
        int row, column;
        const char* cell;
        std::vector<std::string> inSource;
        const char* name;
    } cases[] = {
        {"PF_Intensity_English_PDS_Bentonville_AR.csv",
         NoaaBlock::Estimates,
         7,
         6,
         "1.000",
         {"NOAA Atlas 14 Volume 9 Version 2; Partial duration series; precipitation intensity in "
          "inches/hour; Bentonville, Arkansas, USA; latitude 36.3719, longitude -94.2027; "
          "estimates; dated Wed Dec 31 21:45:44 2025 GMT; file "
          "PF_Intensity_English_PDS_Bentonville_AR.csv"},
         "Bentonville AR"},
        {"All_Depth_English_PDS_Nashville_TN.csv",
         NoaaBlock::Estimates,
         9,
         1,
         "0.1404",
         {"Volume 2 Version 3", "depth in inches, divided by the duration in hours",
          "station NASHVILLE WSO AIRPORT", "; estimates;"},
         "Nashville TN"},
        {"All_Depth_English_PDS_Nashville_TN.csv",
         NoaaBlock::Upper,
         9,
         1,
         "0.1496",
         {"; upper bound of the 90% confidence interval;"},
         "Nashville TN"},
        {"All_Depth_English_PDS_Nashville_TN.csv",
         NoaaBlock::Lower,
         9,
         0,
         "0.1113",
         {"; lower bound of the 90% confidence interval;"},
         "Nashville TN"},
        {"PF_Depth_English_PDS_Pulaski_VA.csv",
         NoaaBlock::Estimates,
         0,
         0,
         "3.348",
         {"latitude 37.0556, longitude -80.7842", "station PULASKI"},
         "Pulaski VA"},
        {"PF_Depth_English_PDS_Anchorage_AK.csv",
         NoaaBlock::Estimates,
         0,
         0,
         "1.116",
         {"Volume 7", "latitude 61.1976, longitude -149.8594"},
         "Anchorage AK"},
        {"UCL_Depth_English_PDS_Wasco_CA.csv",
         NoaaBlock::Upper,
         9,
         0,
         "0.04096",
         {"; upper bound of the 90% confidence interval; dated"},
         "Wasco CA"},
        {"PF_Intensity_English_PDS_WestLafayette_IN_excel-resaved.csv",
         NoaaBlock::Estimates,
         3,
         0,
         "2.000",
         {"West Lafayette, Indiana, USA", "latitude 40.4167, longitude -86.9167", "no date line"},
         "West Lafayette IN"},
        {"PF_Depth_English_PDS_AnnArbor_MI_excel-resaved-no-colons.csv",
         NoaaBlock::Estimates,
         0,
         0,
         "3.864",
         {"Ann Arbor, Michigan, USA; latitude 42.2403"},
         "Ann Arbor MI"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const RainfallTable table = ReadNoaaAtlas14File(NoaaFile(c.file), c.block);
        EXPECT_EQ(table.grid[c.row][c.column], c.cell);
        for (const auto& part : c.inSource) {
            EXPECT_NE(table.source.find(part), std::string::npos) << table.source;
        }
        EXPECT_EQ(table.proposedName, c.name);
        EXPECT_TRUE(table.warnings.empty());
    }
}

// An intensity file's table is its first ten rows and seven columns.
TEST(NoaaAtlas14, IntensityFileGivesTheFilesOwnValues) {
    const std::string path = NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv");
    const RainfallTable table = ReadNoaaAtlas14File(path);
    std::istringstream lines(test::ReadFileBytes(path));
    std::string line;
    while (std::getline(lines, line) && line.rfind("5-min:", 0) != 0) {
    }
    for (int row = 0; row < 10; ++row, std::getline(lines, line)) {
        std::istringstream fields(line.substr(line.find(',') + 1));
        std::string field;
        for (int column = 0; column < 7 && std::getline(fields, field, ','); ++column) {
            EXPECT_DOUBLE_EQ(std::stod(table.grid[row][column]), std::stod(field))
                << "row " << row << " column " << column;
        }
    }
}

// The Source is one line of UTF-8 whatever the location line or the file's
// name holds: control characters become spaces, a huge location is cut.
TEST(NoaaAtlas14, TheSourceIsOneLineOfText) {
    std::string bytes =
        test::ReadFileBytes(NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv"));
    const std::size_t at = bytes.find("Bentonville");
    ASSERT_NE(at, std::string::npos);
    const struct {
        const char* label;
        std::string location;
        std::string fileName;
    } cases[] = {
        {"TAB in the location", "Benton\tville", "b.csv"},
        {"separators and DEL", "Benton\u2028vi\x7Flle\u2029", "b.csv"},
        {"controls in the file name", "Bentonville", "b\t\nr\xE9.csv"},
        {"a location of 200 KB", std::string(200000, 'B'), "b.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string file = bytes;
        file.replace(at, 11, c.location);
        const RainfallTable table = ParseNoaaAtlas14(file, c.fileName);
        EXPECT_TRUE(IsValidUtf8(table.source));
        EXPECT_FALSE(HoldsControlCharacter(table.source)) << table.source;
        EXPECT_LE(ClusterEnds(table.source).size(), kMaxSourceCharacters);
    }
}

// What a spreadsheet does to a download changes nothing in the table.
TEST(NoaaAtlas14, ResavedFilesGiveTheGridOfTheirRawForm) {
    for (const char* file : {"PF_Intensity_English_PDS_WestLafayette_IN_excel-resaved.csv",
                             "PF_Depth_English_PDS_AnnArbor_MI_excel-resaved-no-colons.csv"}) {
        SCOPED_TRACE(file);
        const std::string resaved = test::ReadFileBytes(NoaaFile(file));
        std::string raw = Replaced(Replaced(resaved, ",+\r\n", "\n"), "\r\n", "\n");
        raw = Replaced(raw, "\n(\\d+-(min|hr|day)),", "\n$1:, ");
        raw = Replaced(raw, "\n,1,", "\nby duration for ARI (years):, 1,");
        raw = Replaced(raw, "\xB0", "\xC2\xB0");
        const std::string bom = "\xEF\xBB\xBF";
        EXPECT_EQ(ParseNoaaAtlas14(resaved, file).grid, ParseNoaaAtlas14(raw, file).grid);
        EXPECT_EQ(ParseNoaaAtlas14(bom + raw + "\n", file).grid,
                  ParseNoaaAtlas14(resaved, file).grid);
    }
}

// What each reader says of a file it cannot take: the path or file name, the
// line, the cell, and what is wrong; rows with no words are files it takes.
// Folders, pipes and unreadable files are made here.
TEST(RainfallFiles, RefusalsSayWhatIsWrongAndWhere) {
    enum class Reader { Noaa, Coefficients };
    enum class Made { File, Folder, Fifo, Device, Unreadable };
    const std::string raw =
        test::ReadFileBytes(NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv"));
    const std::string latin1 = test::ReadFileBytes(
        NoaaFile("PF_Intensity_English_PDS_WestLafayette_IN_excel-resaved.csv"));
    const std::string depth = Replaced(raw, "inches/hour", "inches");
    const std::string nashville =
        test::ReadFileBytes(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv"));
    const std::string wasco = test::ReadFileBytes(NoaaFile("UCL_Depth_English_PDS_Wasco_CA.csv"));
    // Downloads cut off while the 24-hr row was being written.
    const std::string before24 = nashville.substr(0, nashville.find("24-hr:"));
    const std::string sevenColumns = Replaced(raw, ",100,200,500,1000", ",100");
    const std::string cutAt100Year = sevenColumns.substr(0, sevenColumns.find("0.324"));
    const std::string boundsOnly =
        nashville.substr(0, nashville.find("PRECIPITATION FREQUENCY ESTIMATES\n")) +
        nashville.substr(nashville.find("PRECIPITATION FREQUENCY ESTIMATES AT"));
    const std::string bom = "\xEF\xBB\xBF";
    const std::string place = "Bentonville, Arkansas";
    const std::string idf =
        "1,50,10,0.8\n2,60,10,0.8\n5,70,10,0.8\n10,80,10,0.8\n25,90,10,0.8\n50,100,10,0.8\n"
        "100,110,10,0.8\n";
    const struct {
        Reader reader;
        Made made;
        std::string bytes;
        std::vector<std::string> words;
    } cases[] = {
        {Reader::Noaa, Made::Folder, "", {"Cannot read", "input.csv: it is a folder, not a file"}},
        {Reader::Noaa, Made::Fifo, "", {"input.csv: it is a named pipe (FIFO), not a file"}},
        {Reader::Noaa, Made::Unreadable, raw, {"input.csv: permission denied"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, ",", ";"),
         {"input.csv, line 14 separates its values with semicolons, not commas"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, ", ?", "\t"),
         {"input.csv, line 14 separates its values with tabs"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "\n60-min", "\n\n60-min"),
         {"input.csv, line 19 is blank inside the estimates", "their 60-min row (line 20)"}},
        {Reader::Noaa, Made::File, bom + latin1, {}},
        // Two downloads run together, or the estimates pasted twice with
        // other values: one place's values must not go under another's name.
        {Reader::Noaa,
         Made::File,
         raw + test::ReadFileBytes(NoaaFile("PF_Depth_English_PDS_Pulaski_VA.csv")),
         {"input.csv, line", "a second \"NOAA Atlas 14", "more than one download"}},
        {Reader::Noaa,
         Made::File,
         raw + raw.substr(raw.find("PRECIPITATION FREQUENCY ESTIMATES")),
         {"a second block of the estimates starts here"}},
        // Cut off: a short row, a value the file ends inside, a point with
        // nothing after it. A last line without its line end is whole when
        // every value the table takes is followed by a comma.
        {Reader::Noaa,
         Made::File,
         before24 + "24-hr:, 2.83,3.37,4.11,4.70,5.",
         {"input.csv, line 24: the 24-hr row of the estimates has 5 values where the heading "
          "(line 14) names 10; its \"50\" column is missing. The file is cut off or damaged"}},
        {Reader::Noaa,
         Made::File,
         before24 + "24-hr:, 2.83,3.37,4.11,4.70,5.4\n",
         {"line 24: the 24-hr row of the estimates has 5 values"}},
        {Reader::Noaa,
         Made::File,
         cutAt100Year + "0.3",
         {"input.csv, line 24: the 24-hr, 100-year value \"0.3\" ends the file with no line end "
          "after it: the file may be cut off inside this value; download it again."}},
        {Reader::Noaa,
         Made::File,
         cutAt100Year + "0.",
         {"line 24: the 24-hr, 100-year value \"0.\" ends the file"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "0\\.324", "0."),
         {"line 24: the 24-hr, 100-year value \"0.\" ends in its decimal point."}},
        {Reader::Noaa, Made::File, cutAt100Year + "0.324\n", {}},
        {Reader::Noaa, Made::File, raw.substr(0, raw.find("\n2-day")), {}},
        // Bounds without the estimates are taken only when asked for.
        {Reader::Noaa,
         Made::File,
         wasco,
         {"input.csv holds no estimates, only the upper bound of the 90% confidence interval: it "
          "makes a table only when that bound is chosen."}},
        {Reader::Noaa,
         Made::File,
         Replaced(wasco, "UPPER", "LOWER"),
         {"input.csv holds no estimates, only the lower bound of the 90%"}},
        {Reader::Noaa,
         Made::File,
         boundsOnly,
         {"only the upper bound of the 90% confidence interval and the lower bound of the 90% "
          "confidence interval: it makes a table only when one of them is chosen."}},
        // A duration given twice, whether the table takes it or not.
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "\n3-hr:", "\n2-hr:"),
         {"input.csv, line 21 gives the 2-hr row of the estimates again (first on line 20)"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "\n3-day:", "\n2-day:"),
         {"line 26 gives the 2-day row of the estimates again (first on line 25)"}},
        // Source text that is not UTF-8 at all, rather than Latin-1.
        {Reader::Noaa,
         Made::File,
         Replaced(raw, place, "Bentonville\xC0\xAF"),
         {"input.csv, line 6 holds bytes that are not valid UTF-8 (0xC0 0xAF, an overlong form)"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, place, "Bentonville\xE0\x80\xAF"),
         {"line 6", "(0xE0 0x80 0xAF, an overlong form)"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, place, "Bentonville\xED\xA0\x80"),
         {"line 6", "(0xED 0xA0 0x80, a surrogate"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, place, "Bentonville\xF4\x90\x80\x80"),
         {"line 6", "a code point above U+10FFFF"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, place, "Bentonville\xE2\x82, Arkansas"),
         {"line 6", "(0xE2 0x82, a sequence cut short)"}},
        // Values no rainfall has, before any arithmetic is done with them.
        {Reader::Noaa,
         Made::File,
         Replaced(depth, "4\\.80", "1" + std::string(308, '0')),
         {"input.csv, line 15: the 5-min, 1-year value \"10000000000000000000...\"",
          "means more than 1.7", "in/hr, which is above 60 in/hr"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "11\\.0", "60.01"),
         {"line 15: the 5-min, 100-year value \"60.01\" means 60.01 in/hr, which is above 60 "
          "in/hr, more than any 5-minute rainfall recorded."}},
        {Reader::Noaa, Made::File, Replaced(raw, "11\\.0", "60.00"), {}},
        // Light, but not zero at the stored digits.
        {Reader::Noaa, Made::File, Replaced(raw, "0\\.140", "0.0009"), {}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "0\\.140", "nan"),
         {"line 24: the 24-hr, 1-year value \"nan\" is not a positive number"}},
        {Reader::Noaa, Made::File, Replaced(raw, "0\\.140", "inf"), {"\"inf\" is not a positive"}},
        {Reader::Noaa,
         Made::File,
         Replaced(raw, "0\\.140", "1e-9"),
         {"\"1e-9\" is not a positive"}},
        {Reader::Coefficients, Made::Folder, "", {"input.csv: it is a folder, not a file"}},
        {Reader::Coefficients, Made::Fifo, "", {"input.csv: it is a named pipe"}},
        {Reader::Coefficients, Made::Device, "", {"/dev/null: it is a device, not a file"}},
        {Reader::Coefficients, Made::Unreadable, idf, {"input.csv: permission denied"}},
        {Reader::Coefficients, Made::File, bom + idf, {}},
        {Reader::Coefficients, Made::File, Replaced("period,b,d,e\n" + idf, "\n", "\r"), {}},
        {Reader::Coefficients, Made::File, "", {"input.csv holds no coefficients"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, ",", ";"),
         {"input.csv, line 1 separates its values with semicolons"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, "\n25,", "\n1e20,"),
         {"input.csv, line 5: the return period \"1e20\" is none of the table's"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, "60,10", "nan,10"),
         {"input.csv, line 2: the b value \"nan\" is not a number"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, "70,10", "70,inf"),
         {"line 3: the d value \"inf\" is not a number"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, "80,10,0.8", "80,10,-0.8"),
         {"line 4: the 10-year coefficients b and e must be positive"}},
        {Reader::Coefficients,
         Made::File,
         Replaced(idf, "110,10", "1e300,10"),
         {"line 7: the 100-year coefficients give 1.1",
          "E+299 in/hr at 5 min, which is above 60 in/hr, more than any 5-minute rainfall "
          "recorded."}},
    };
    const bool root = geteuid() == 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.empty() ? "accepted" : c.words.back());
        test::TestFolder folder;
        const std::string path = c.made == Made::Device ? "/dev/null" : folder.File("input.csv");
        if (c.made == Made::Folder) {
            std::filesystem::create_directory(path);
        } else if (c.made == Made::Fifo) {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        } else if (c.made != Made::Device) {
            std::ofstream(path, std::ios::binary) << c.bytes;
        }
        if (c.made == Made::Unreadable) {
            // Root reads whatever the permissions say: nothing to prove there.
            if (root) {
                continue;
            }
            std::filesystem::permissions(path, std::filesystem::perms::none);
        }
        try {
            if (c.reader == Reader::Noaa) {
                ReadNoaaAtlas14File(path);
            } else {
                ReadIdfCoefficientsFile(path);
            }
            EXPECT_TRUE(c.words.empty()) << "accepted";
        } catch (const InputError& e) {
            EXPECT_FALSE(c.words.empty()) << e.what();
            for (const auto& word : c.words) {
                EXPECT_NE(std::string(e.what()).find(word), std::string::npos) << e.what();
            }
        }
    }
}

// What the import offers to take: the blocks as the file gives them, whatever
// else the bytes hold.
TEST(NoaaAtlas14, BlocksInListsWhatAFileHolds) {
    using B = NoaaBlock;
    const std::string wasco = test::ReadFileBytes(NoaaFile("UCL_Depth_English_PDS_Wasco_CA.csv"));
    const struct {
        std::string bytes;
        std::vector<NoaaBlock> blocks;
    } cases[] = {
        {test::ReadFileBytes(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv")),
         {B::Estimates, B::Upper, B::Lower}},
        {test::ReadFileBytes(
             NoaaFile("PF_Intensity_English_PDS_WestLafayette_IN_excel-resaved.csv")),
         {B::Estimates}},
        {"\xEF\xBB\xBF" + wasco, {B::Upper}},
        {Replaced(wasco, "UPPER", "LOWER"), {B::Lower}},
        {std::string("\0\xFF\xC0 precipitation frequency estimates", 37), {}},
        {"Name,Value\nrain,3\n", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NoaaBlocksIn(c.bytes), c.blocks) << c.bytes.substr(0, 60);
    }
    EXPECT_EQ(NoaaBlocksInFile(NoaaFile("UCL_Depth_English_PDS_Wasco_CA.csv")),
              std::vector<NoaaBlock>{B::Upper});
    EXPECT_THROW(NoaaBlocksInFile(NoaaFile("none.csv")), InputError);
}

// A sound grid: falls with duration, rises with return period, 1.200 in/hr
// (24 hr, 1 year) to 48.00 in/hr (5 min, 100 years).
IntensityGrid SoundGrid() {
    IntensityGrid grid;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        for (std::size_t k = 0; k < grid[i].size(); ++k) {
            grid[i][k] = FourSignificantDigits((k + 2) * 6.0 / (i + 1));
        }
    }
    return grid;
}

// Every limit has a row on it (taken) and one just past it (refused, naming
// the cell as the editor labels it).
TEST(IntensityPlausibility, RefusesTheCellNoTableCanHold) {
    const struct {
        std::size_t row, column;
        const char* text;
        const char* message;
    } cases[] = {
        {0, 6, "60", ""},
        {0, 6, "60.0001",
         "Basin: the 5-min, 100-year value 60.0001 in/hr is above 60 in/hr, more than any "
         "5-minute rainfall recorded."},
        {0, 6, "61.2", "the 5-min, 100-year value 61.2 in/hr is above 60 in/hr"},
        {9, 0, "0.0001", ""},
        {9, 0, "0.0000",
         "Basin: the 24-hr, 1-year value 0.0000 in/hr reads as 0 at the stored digits."},
        {9, 0, ".", "the 24-hr, 1-year value . in/hr reads as 0"},
        {4, 2, "-1.5", "Basin: the 1-hr, 5-year value -1.5 in/hr is not positive."},
        {4, 2, "", "Basin: the 1-hr, 5-year value is empty."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IntensityGrid grid = SoundGrid();
        grid[c.row][c.column] = c.text;
        try {
            RequirePlausibleIntensities(grid, "Basin");
            EXPECT_STREQ(c.message, "") << "accepted";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_STRNE(c.message, "") << e.what();
        }
    }
}

// Rising with duration or falling with return period is said, naming both
// cells, by the check and by the readers that carry its warnings; a tie and
// the shipped tables say nothing.
TEST(IntensityPlausibility, WarnsOfIntensitiesInTheWrongOrder) {
    const auto edited = [](std::vector<std::tuple<int, int, const char*>> edits) {
        IntensityGrid grid = SoundGrid();
        for (const auto& [row, column, text] : edits) {
            grid[row][column] = text;
        }
        return IntensityWarnings(grid);
    };
    const std::string bentonville =
        test::ReadFileBytes(NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv"));
    IdfEquation equation;
    equation.fill({120, 0, 1});
    equation[6] = {100, 0, 1};
    const struct {
        const char* what;
        std::function<std::vector<std::string>()> warnings;
        std::vector<std::string> first;
        std::size_t count;
    } cases[] = {
        {"sound", [&] { return edited({}); }, {}, 0},
        // 4.000 ties the 25-year 12-hr value: no word about that pair.
        {"rises with duration",
         [&] {
             return edited({{8, 3, "4.000"}});
         },
         {"The 10-year intensity rises from 3.750 in/hr at 6 hr to 4.000 in/hr at 12 hr."},
         1},
        {"falls with return period",
         [&] {
             return edited({{7, 4, "3.000"}});
         },
         {"The 25-year intensity rises from 3.000 in/hr at 6 hr to 4.000 in/hr at 12 hr.",
          "The 6-hr intensity falls from 3.750 in/hr (10-year) to 3.000 in/hr (25-year)."},
         2},
        {"NOAA file",
         [&] {
             return ParseNoaaAtlas14(Replaced(bentonville, "0\\.236", "0.400"), "f.csv").warnings;
         },
         {"The 1-year intensity rises from 0.3910 in/hr at 6 hr to 0.4000 in/hr at 12 hr.",
          "The 12-hr intensity falls from 0.4000 in/hr (1-year) to 0.2650 in/hr (2-year)."},
         2},
        {"equation",
         [&] { return TableFromEquation(equation).warnings; },
         {"The 5-min intensity falls from 24.00 in/hr (50-year) to 20.00 in/hr (100-year)."},
         10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> warnings = c.warnings();
        ASSERT_EQ(warnings.size(), c.count) << (warnings.empty() ? "" : warnings[0]);
        for (std::size_t n = 0; n < c.first.size(); ++n) {
            EXPECT_EQ(warnings[n], c.first[n]);
        }
    }
    test::TestFolder folder;
    for (const auto& name : ListIntensityTables(folder.AppFolder())) {
        SCOPED_TRACE(name);
        const IntensityGrid shipped = ReadIntensityGrid(folder.AppFolder(), name);
        EXPECT_NO_THROW(RequirePlausibleIntensities(shipped, name));
        EXPECT_EQ(IntensityWarnings(shipped), std::vector<std::string>());
    }
}

TEST(NoaaAtlas14, MetricFilesBecomeInchesAndIntensityFilesWarn) {
    const std::string bentonville =
        test::ReadFileBytes(NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv"));
    const RainfallTable perHour =
        ParseNoaaAtlas14(Replaced(bentonville, "inches/hour", "millimeters/hour"), "mm.csv");
    EXPECT_EQ(perHour.grid[0][0], "0.1890");  // 4.80 mm/hr
    ASSERT_EQ(perHour.warnings.size(), 1u);
    EXPECT_NE(perHour.warnings[0].find("depth file"), std::string::npos);
    EXPECT_NE(perHour.source.find("converted to inches/hour"), std::string::npos);

    const std::string nashville =
        test::ReadFileBytes(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv"));
    const RainfallTable depth =
        ParseNoaaAtlas14(Replaced(nashville, "\\(inches\\)", "(millimeters)"), "mm.csv");
    EXPECT_EQ(depth.grid[9][1], "0.005528");  // 3.37 mm in 24 hours
    EXPECT_TRUE(depth.warnings.empty());
}

// A table read from an imported file is interpolated like any other.
TEST(NoaaAtlas14, SolveReadsTheImportedValues) {
    test::TestFolder folder;
    const RainfallTable bentonville =
        ReadNoaaAtlas14File(NoaaFile("PF_Intensity_English_PDS_Bentonville_AR.csv"));
    const RainfallTable nashville =
        ReadNoaaAtlas14File(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv"));
    EXPECT_EQ(SaveRainfallTable(folder.AppFolder(), "Bentonville AR", bentonville, false),
              SaveOutcome::Created);
    SaveRainfallTable(folder.AppFolder(), "Nashville TN", nashville, false);
    EXPECT_EQ(IntensityTableSource(folder.AppFolder(), "Bentonville AR"), bentonville.source);

    // 20 minutes: a third of the way from 15 to 30 minutes.
    const auto at20 =
        InterpolateIntensities(ReadIntensityRows(folder.AppFolder(), "Bentonville AR"), 20);
    EXPECT_NEAR(at20[0], 2.86 + (2.06 - 2.86) / 3, 1e-5);
    EXPECT_NEAR(at20[6], 6.53 + (4.79 - 6.53) / 3, 1e-5);
    // 90 minutes: halfway between 1.56 in in one hour and 1.83 in in two.
    const auto at90 =
        InterpolateIntensities(ReadIntensityRows(folder.AppFolder(), "Nashville TN"), 90);
    EXPECT_NEAR(at90[1], (1.560 + 0.915) / 2, 1e-5);
}

TEST(NoaaAtlas14, SavingRefusesOrReplacesAnExistingName) {
    test::TestFolder folder;
    const RainfallTable estimates =
        ReadNoaaAtlas14File(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv"));
    const RainfallTable upper =
        ReadNoaaAtlas14File(NoaaFile("All_Depth_English_PDS_Nashville_TN.csv"), NoaaBlock::Upper);
    SaveRainfallTable(folder.AppFolder(), "Nashville", estimates, false);
    EXPECT_THROW(SaveRainfallTable(folder.AppFolder(), "NASHVILLE", upper, false), IntensityError);
    EXPECT_EQ(ReadIntensityGrid(folder.AppFolder(), "Nashville"), estimates.grid);

    EXPECT_EQ(SaveRainfallTable(folder.AppFolder(), "nashville", upper, true),
              SaveOutcome::Updated);
    EXPECT_EQ(ReadIntensityGrid(folder.AppFolder(), "Nashville"), upper.grid);
    EXPECT_EQ(IntensityTableSource(folder.AppFolder(), "Nashville"), upper.source);
    EXPECT_EQ(ListIntensityTables(folder.AppFolder()),
              (std::vector<std::string>{"Atlanta", "Nashville"}));
}

TEST(IdfEquation, FillsTheTenDurationsAndRecordsTheCoefficients) {
    IdfEquation equation;
    equation.fill({120, 0, 1});
    equation[6] = {60, -4, 0.5};
    const RainfallTable table = TableFromEquation(equation);
    EXPECT_EQ(table.grid[0][0], "24.00");    // 120 / 5
    EXPECT_EQ(table.grid[4][0], "2.000");    // 120 / 60
    EXPECT_EQ(table.grid[9][0], "0.08333");  // 120 / 1440
    EXPECT_EQ(table.grid[0][6], "60.00");    // 60 / 1^0.5, the heaviest a table holds
    EXPECT_EQ(table.grid[4][6], "8.018");    // 60 / 56^0.5
    EXPECT_NE(table.source.find("i = b / (Tc + d)^e"), std::string::npos);
    EXPECT_NE(table.source.find("100 yr: b 60, d -4, e 0.5"), std::string::npos) << table.source;

    for (const IdfCoefficients bad :
         {IdfCoefficients{0, 10, 0.8}, IdfCoefficients{60, -5, 0.8}, IdfCoefficients{60, 10, 0},
          IdfCoefficients{60.01, -4, 0.5}}) {
        equation[3] = bad;
        EXPECT_THROW(TableFromEquation(equation), InputError);
    }
}

TEST(IdfEquation, ReadsOneLinePerReturnPeriod) {
    const std::string good =
        "period,b,d,e\n1,50,10,0.8\n2,60,10,0.8\n5,70,10,0.8\n10,80,10,0.8\n"
        "# the rare storms\n25,90,10,0.8\r\n50,100,10,0.8\n100,110,10.5,0.81";
    const IdfEquation equation = ParseIdfCoefficients(good, "idf.csv");
    EXPECT_DOUBLE_EQ(equation[0].b, 50);
    EXPECT_DOUBLE_EQ(equation[6].d, 10.5);
    EXPECT_DOUBLE_EQ(equation[6].e, 0.81);

    const struct {
        std::string text;
        const char* message;
    } refused[] = {
        {Replaced(good, "\n100,.*", ""), "idf.csv gives nothing for the 100-year"},
        {good + "\n2,1,1,1",
         "idf.csv, line 10 gives the 2-year coefficients again (first on line 3)"},
        {Replaced(good, "5,70", "3,70"), "idf.csv, line 4: the return period \"3\" is none"},
        {Replaced(good, "10,80,10", "10,80,x"),
         "idf.csv, line 5: the d value \"x\" is not a number"},
        {Replaced(good, "25,90,10,0.8", "25,90,10"),
         "idf.csv, line 7 should read period,b,d,e but holds 3"},
    };
    for (const auto& c : refused) {
        try {
            ParseIdfCoefficients(c.text, "idf.csv");
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace torrenta
