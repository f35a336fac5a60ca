#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"
#include "OutputBuffer.h"
#include "store/AppFolder.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    torrenta::OutputBuffer buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    // Messages come after the text printed before them, as on a terminal.
    std::cerr.tie(&out);
    const int code = torrenta::RunCli(args, torrenta::ExecutableFolder(argv[0]), out, std::cerr);
    std::cerr.tie(nullptr);
    return code;
}
