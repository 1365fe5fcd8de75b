// The keys' older spellings that `set` still takes: each is renamed whole or
// passed on untouched, never half-renamed.

#include "cli/FieldAssignments.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

TEST(RenamedKeys, RenameOnlyWholeOldSpellings) {
    const cli::NumberedKeyRename abilities{"ability", "abilities.", 4, {}};
    const cli::NumberedKeyRename spirits{"spirit", "spirits.", 6, {".command", ".level"}};
    const cli::NumberedKeyRename slots{"", "slots.", 0, {".skill", ".level"}};
    struct Case {
        const cli::NumberedKeyRename& rename;
        const char* key;
        std::optional<std::string> renamed;
    };
    const Case cases[] = {
        {abilities, "ability1", "abilities.1"},
        {abilities, "ability4", "abilities.4"},
        {abilities, "ability5", std::nullopt},
        {abilities, "ability0", std::nullopt},
        {abilities, "ability04", std::nullopt},
        {abilities, "ability10", std::nullopt},
        {abilities, "ability", std::nullopt},
        {abilities, "ability1x", std::nullopt},
        {abilities, "abilities.1", std::nullopt},
        {abilities, "hp", std::nullopt},
        {spirits, "spirit6.level", "spirits.6.level"},
        {spirits, "spirit2.command", "spirits.2.command"},
        {spirits, "spirit7.level", std::nullopt},
        {spirits, "spirit2", std::nullopt},
        {spirits, "spirit2.levels", std::nullopt},
        {spirits, "spirit99999999999.level", std::nullopt},
        {slots, "1.skill", "slots.1.skill"},
        {slots, "12.level", "slots.12.level"},
        {slots, "123456789012.skill", "slots.123456789012.skill"},
        {slots, "012.skill", std::nullopt},
        {slots, ".skill", std::nullopt},
        {slots, "1.locked", std::nullopt},
        {slots, "slots.1.skill", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::renamedKey(c.rename, c.key), c.renamed) << c.key;

    const cli::Spelling spelling = cli::renamedKeys(spirits);
    EXPECT_EQ(spelling({"spirit1.level", "3"}),
              (std::vector<cli::KeyValue>{{"spirits.1.level", "3"}}));
    EXPECT_EQ(spelling({"melee", "3"}), (std::vector<cli::KeyValue>{{"melee", "3"}}));
}

} // namespace
} // namespace starfall
