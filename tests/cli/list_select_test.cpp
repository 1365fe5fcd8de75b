// `get` and `set` parse a list only up to the entry they select; what they
// select, and how they refuse a selector, must be what the whole list gives.

#include "cli/CliContext.h"
#include "core/lists/NameListReader.h"

#include <gtest/gtest.h>

#include <string>

namespace starfall {
namespace {

std::string selected(const NameList& list, const std::string& selector) {
    try {
        return std::to_string(cli::selectEntry(list, selector));
    } catch (const cli::UsageError& error) {
        return error.what();
    }
}

TEST(ListSelect, APartOfTheListSelectsAsTheWholeList) {
    // Two entries share a name (the first is selected); one line runs past
    // 79 characters, so its rest is an entry of its own.
    const std::string text = "; comment\n[units] 1000\n"
                             "\xBD\xBA\xC5\xB8 1 100\nalpha 200\nbeta 300\n; note\nalpha 400\n" +
                             std::string(90, 'x') + " 500\r\nlast 600\n";
    const NameList whole = parseNameList(text);
    ASSERT_GE(whole.entries.size(), 6u);
    for (const std::string selector :
         {"#0", "#2", "#3", "#5", "#6", "#7", "#99", "#", "#x", "#-1", "#2x", "alpha", "beta",
          "\xEC\x8A\xA4\xED\x83\x80 1", "last", "missing", ""}) {
        const NameList part = parseNameListUntil(text, cli::selectorWanted(selector));
        EXPECT_EQ(selected(part, selector), selected(whole, selector)) << selector;
        EXPECT_EQ(part.baseOffset, whole.baseOffset);
        const std::string got = selected(part, selector);
        if (std::isdigit(static_cast<unsigned char>(got[0])) != 0) {
            const std::size_t at = std::stoul(got);
            EXPECT_EQ(part.entries.size(), at + 1) << selector; // read no further
            EXPECT_EQ(part.entries[at], whole.entries[at]) << selector;
        }
    }
}

} // namespace
} // namespace starfall
