#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace torrenta {

// Exit codes of torrenta-cli, one per kind of outcome a script may act on.
enum ExitCode {
    kExitDone = 0,
    kExitNothingToDo = 1,
    kExitUsage = 2,
    kExitProjectFile = 3,
    kExitIntensity = 4,
    kExitInvalidInput = 5,
    kExitOutput = 6,  // standard output could not be written
};

// The command line as a function of its arguments and streams, so tests and
// main() run the same code. Every error is caught here, written to `err` and
// turned into its exit code; `out` is flushed before returning, and a failed
// write to it turns success into kExitOutput.
int RunCli(const std::vector<std::string>& args, const std::string& executableFolder,
           std::ostream& out, std::ostream& err);

}  // namespace torrenta
