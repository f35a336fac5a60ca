// Build step: turns the text sources under data/ into the databases the program
// ships, empty.mdb (the project template) and intensity.mdb (the shared rainfall
// tables). The intensity tables go in through the same save routine the table
// editor uses, so the shipped file has exactly the layout the program writes.

#include <SQLiteCpp/Database.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "Errors.h"
#include "intensity/IntensityDatabase.h"
#include "rainfall/IntensityPlausibility.h"

namespace fs = std::filesystem;
using namespace torrenta;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void CreateFromSchema(const fs::path& database, const std::string& schemaFile) {
    fs::remove(database);
    SQLite::Database db(database.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(ReadFile(schemaFile));
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// A table source: "# name: ..." and "# source: ..." lines, a header row, then
// the ten duration rows "label,v1,...,v7" in the fixed duration order.
struct TableSource {
    std::string name;
    std::string source;
    IntensityGrid grid;
};

TableSource ReadTableSource(const std::string& path) {
    std::istringstream in(ReadFile(path));
    TableSource table;
    std::string line;
    std::size_t row = 0;
    bool header = true;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty()) {
            continue;
        }
        if (line.rfind("# name:", 0) == 0) {
            table.name = Trim(line.substr(7));
            continue;
        }
        if (line.rfind("# source:", 0) == 0) {
            table.source = Trim(line.substr(9));
            continue;
        }
        if (line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        std::istringstream cells(line);
        std::string label;
        std::getline(cells, label, ',');
        if (row >= table.grid.size() || Trim(label) != kDurationLabels[row]) {
            throw std::runtime_error(path + ": row " + std::to_string(row + 1) + " should be " +
                                     std::string(row < 10 ? kDurationLabels[row] : "absent"));
        }
        for (auto& cell : table.grid[row]) {
            if (!std::getline(cells, cell, ',') || Trim(cell).empty()) {
                throw std::runtime_error(path + ": row " + label + " needs seven values");
            }
            cell = Trim(cell);
        }
        ++row;
    }
    if (table.name.empty() || row != table.grid.size()) {
        throw std::runtime_error(path + ": needs a name line and ten duration rows");
    }
    return table;
}

int Usage() {
    std::cerr << "usage: torrenta-mkdb project OUT.mdb SCHEMA.sql\n"
                 "       torrenta-mkdb intensity OUT.mdb SCHEMA.sql TABLE.csv...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Usage();
    }
    const std::string mode = argv[1];
    const fs::path out = fs::absolute(argv[2]);
    // Built under a temporary name and renamed, so an interrupted build never
    // leaves a half-made database that later builds would take as done.
    const fs::path work = out.parent_path() / ("~" + out.filename().string());
    try {
        if (mode == "project") {
            CreateFromSchema(work, argv[3]);
        } else if (mode == "intensity") {
            const fs::path folder = work.parent_path() / ("~" + out.stem().string() + ".d");
            fs::create_directories(folder);
            const fs::path database = folder / "intensity.mdb";
            CreateFromSchema(database, argv[3]);
            for (int i = 4; i < argc; ++i) {
                const TableSource table = ReadTableSource(argv[i]);
                // A shipped table meets the limits every imported or typed one does.
                RequirePlausibleIntensities(table.grid, argv[i]);
                SaveIntensityTable(folder.string(), table.name, table.grid, table.source);
            }
            fs::rename(database, work);
            fs::remove_all(folder);
        } else {
            return Usage();
        }
        fs::rename(work, out);
    } catch (const std::exception& e) {
        std::cerr << "torrenta-mkdb: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
