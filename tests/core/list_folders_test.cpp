// Where the list files are looked for: the program's folder, the image's, the
// user's; each file from the first folder that holds it as a regular file.
#include "core/io/CoreError.h"
#include "core/lists/ListFolders.h"
#include "core/lists/NameListReader.h"
#include "core/text/Messages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace starfall {
namespace {

// Sets (or with nullopt unsets) an environment variable for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<std::string> value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(ListFolders, TheUsersFolderFollowsTheBaseDirectoryRules) {
    struct Case {
        std::optional<std::string> configHome;
        std::optional<std::string> home;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"/cfg", "/home/u", "/cfg/starfall/"},
        {"/cfg/", "/home/u", "/cfg/starfall/"},
        {"", "/home/u", "/home/u/.config/starfall/"},             // empty: unset
        {"relative/cfg", "/home/u", "/home/u/.config/starfall/"}, // not absolute: ignored
        {std::nullopt, "/home/u/", "/home/u/.config/starfall/"},
        {std::nullopt, std::nullopt, std::nullopt},
        {std::nullopt, "", std::nullopt},
    };
    for (const Case& c : cases) {
        const ScopedVariable config("XDG_CONFIG_HOME", c.configHome);
        const ScopedVariable home("HOME", c.home);
        EXPECT_EQ(userListFolder(), c.folder)
            << c.configHome.value_or("(unset)") << " " << c.home.value_or("(unset)");
    }
}

TEST(ListFolders, ProgramThenImageThenUserEachOnce) {
    const ScopedVariable config("XDG_CONFIG_HOME", "/cfg");
    struct Case {
        std::string program;
        std::string image;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"/opt/bin/", "/data/game.img", {"/opt/bin/", "/data/", "/cfg/starfall/"}},
        {"/opt/bin/", "/opt/bin/game.img", {"/opt/bin/", "/cfg/starfall/"}},
        {"/opt/bin/", "", {"/opt/bin/", "/cfg/starfall/"}}, // a command without an image
        {"/opt/bin/", "game.img", {"/opt/bin/", "./", "/cfg/starfall/"}},
        {"/cfg/starfall/", "/cfg/starfall/a.img", {"/cfg/starfall/"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listFoldersFor(c.program, c.image).folders(), c.folders) << c.image;
    EXPECT_EQ(ListFolders("/only").folders(), std::vector<std::string>{"/only/"});
}

class ListSearchTest : public ::testing::Test {
protected:
    ListSearchTest() {
        for (const char* name : {"a", "b", "c"})
            std::filesystem::create_directory(root.file(name));
    }
    [[nodiscard]] std::string folder(const char* name) const { return root.file(name) + "/"; }
    [[nodiscard]] ListFolders search() const {
        return ListFolders({folder("a"), folder("b"), folder("c")});
    }

    test::TempDir root;
};

TEST_F(ListSearchTest, EachFileComesFromTheFirstFolderHoldingIt) {
    std::filesystem::create_directory(folder("a") + "unitlist.ini"); // not a file: passed over
    root.write("b/unitlist.ini", "U 100\nFromB, 1\n");
    root.write("c/unitlist.ini", "U 100\nFromC, 1\n");
    root.write("a/charlist.ini", "P 0\nFromA, 2\n");
    root.write("c/charlist.ini", "P 0\nFromC, 2\n");
    root.write("c/weapon.ini", "");

    EXPECT_EQ(loadNameList(search(), ListKind::Units).entries.at(0).name, "FromB");
    EXPECT_EQ(loadNameList(search(), ListKind::Pilots).entries.at(0).name, "FromA");
    EXPECT_EQ(search().pathOf("weapon.ini"), folder("c") + "weapon.ini");
    EXPECT_EQ(search().pathOf("absent.ini"), folder("a") + "absent.ini");
}

TEST_F(ListSearchTest, AListInNoFolderNamesEveryFolderSearched) {
    try {
        (void)loadNameList(search(), ListKind::Pilots);
        FAIL() << "no error";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::ListFileMissing);
        EXPECT_EQ(error.detail(), "charlist.ini");
        const std::string searched = folder("a") + "\n" + folder("b") + "\n" + folder("c");
        EXPECT_EQ(messageFor(error), messages::listFileMissing("charlist.ini", searched));
    }
}

} // namespace
} // namespace starfall
