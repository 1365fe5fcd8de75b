#include "cli/CliMain.h"

#include <iostream>

int main(int argc, char** argv) {
    return starfall::cli::runCommandLine(argc, argv, std::cout, std::cerr);
}
