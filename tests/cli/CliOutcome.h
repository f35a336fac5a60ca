#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "CliApp.h"

namespace torrenta::test {

// What one run of the command line printed and returned.
struct CliOutcome {
    int code;
    std::string out;
    std::string err;
};

inline CliOutcome RunCliCaptured(const std::vector<std::string>& args,
                                 const std::string& executableFolder = "") {
    std::ostringstream out, err;
    const int code = RunCli(args, executableFolder, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace torrenta::test
