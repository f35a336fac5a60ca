#include <iostream>
#include <string>
#include <vector>

#include "CliApp.h"
#include "store/AppFolder.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return torrenta::RunCli(args, torrenta::ExecutableFolder(argv[0]), std::cout, std::cerr);
}
