// starfall-cli-docs --man FILE | --completion FILE: writes starfall-cli's
// manual page or its bash completion; the build runs it.
#include "cli/CliDocs.h"

#include <fstream>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    const std::string_view what = argc == 3 ? argv[1] : "";
    if (what != "--man" && what != "--completion") {
        std::cerr << "usage: starfall-cli-docs --man FILE | --completion FILE\n";
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << (what == "--man" ? starfall::cli::manualPage() : starfall::cli::bashCompletion());
    out.close();
    if (!out) {
        std::cerr << "starfall-cli-docs: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
