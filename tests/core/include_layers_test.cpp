// The layers of the tree include one way only: cli and gui on core, app on
// pages on widgets. A header included against the grain fails here, before
// it can tie the layers together.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Rule {
    const char* folder;                 // under src/
    std::vector<const char*> forbidden; // include prefixes, "<Q" for any Qt header
};

std::vector<std::string> breaches(const Rule& rule) {
    std::vector<std::string> found;
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(STARFALL_SOURCE_DIR) / "src" / rule.folder)) {
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (!line.starts_with("#include "))
                continue;
            for (const char* prefix : rule.forbidden) {
                if (line.compare(9, std::string(prefix).size(), prefix) == 0)
                    found.push_back(entry.path().string() + ":" + std::to_string(number) + ": " +
                                    line);
            }
        }
    }
    return found;
}

TEST(IncludeLayers, EachLayerIncludesOnlyTheLayersBelowIt) {
    const Rule rules[] = {
        {"core", {"<Q", "\"gui/", "\"cli/"}},
        {"cli", {"<Q", "\"gui/"}},
        {"gui/widgets", {"\"gui/pages/", "\"gui/app/", "\"cli/"}},
        {"gui/pages", {"\"gui/app/", "\"cli/"}},
        {"gui/app", {"\"cli/"}},
    };
    for (const Rule& rule : rules)
        EXPECT_EQ(breaches(rule), std::vector<std::string>{}) << rule.folder;
}

} // namespace
