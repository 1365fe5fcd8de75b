// The paths on which the program ends with exit status 1, run for real in a
// child process: the editor binary itself for what the command line reaches,
// a death test for the upgrade page's buttons before any image is open. On
// the offscreen platform messages go to standard error instead of a box.
#include "core/text/Messages.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/UpgradePage.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace starfall;
using namespace starfall::test;

namespace {

const std::map<std::string, std::string> kHeadless = {{"QT_QPA_PLATFORM", "offscreen"},
                                                      {"ASAN_OPTIONS", "detect_leaks=0"}};

// A message as the program prints it where nobody can click a box.
std::string printed(const Message& message) {
    return message.title + ": " + message.text;
}

// A copy of the editor in a folder of its own, so that the folder it looks in
// for its list files is one the test controls.
class EditorCopyTest : public ::testing::Test {
protected:
    EditorCopyTest() {
        std::filesystem::copy_file(STARFALL_EDITOR_PATH, editor);
        std::filesystem::create_directory(elsewhere.path() / "images");
    }

    ProcessResult run(const std::vector<std::string>& args,
                      std::map<std::string, std::string> environment = {}) {
        environment.insert(kHeadless.begin(), kHeadless.end());
        environment.emplace("XDG_CONFIG_HOME", elsewhere.file("config"));
        return runProcess(editor, args, environment);
    }

    TempDir programDir;
    TempDir elsewhere;
    std::string editor = programDir.file("starfall-editor");
};

TEST_F(EditorCopyTest, AListInNoSearchedFolderEndsWithStatus1NamingThem) {
    elsewhere.write("unitlist.ini", "UNITS 100\nAlpha, 4\n"); // beside the image's folder only
    const std::string image = elsewhere.write("images/demo.img", std::string(256, '\0'));
    const ProcessResult result = run({image});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    const std::string searched = programDir.dir() + '\n' + elsewhere.file("images/") + '\n' +
                                 elsewhere.file("config/starfall/");
    EXPECT_NE(result.err.find(printed(messages::listFileMissing("unitlist.ini", searched))),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("charlist.ini"), std::string::npos) << "loaded on after the end";
}

// An installed editor keeps no lists beside it: the image's folder or the
// user's folder holds them. The program loads them and runs on.
TEST_F(EditorCopyTest, ListsInTheImagesOrTheUsersFolderAreFound) {
    const std::string images = elsewhere.file("images");
    ASSERT_EQ(runCli({"make-demo", images}).exitCode, 0);
    const std::map<std::string, std::string> quitAtOnce = {
        {"STARFALL_QUIT_AFTER_FIRST_PAINT", "1"}};
    const ProcessResult beside = run({images + "/demo.img"}, quitAtOnce);
    EXPECT_EQ(beside.exitCode, 0) << beside.err;
    EXPECT_EQ(beside.err.find(messages::kTitleWarning), std::string::npos) << beside.err;

    std::filesystem::create_directories(elsewhere.file("config/starfall"));
    for (const char* list : {"unitlist.ini", "charlist.ini", "weapon.ini"})
        std::filesystem::rename(images + "/" + list, elsewhere.file("config/starfall/") + list);
    const ProcessResult user = run({images + "/demo.img"}, quitAtOnce);
    EXPECT_EQ(user.exitCode, 0) << user.err;
    EXPECT_EQ(user.err.find(messages::kTitleWarning), std::string::npos) << user.err;
}

TEST_F(EditorCopyTest, AnImageThatCannotBeOpenedEndsWithStatus1AndIsNotCreated) {
    programDir.write("unitlist.ini", "UNITS 100\nAlpha, 4\n");
    programDir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
    const std::string image = elsewhere.file("images/missing.img");
    const ProcessResult result = run({image});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find(printed(messages::fileOpenFailure(image))), std::string::npos)
        << result.err;
    EXPECT_FALSE(std::filesystem::exists(image));
}

TEST_F(EditorCopyTest, MoreThanOneImageIsRefused) {
    const std::string a = elsewhere.file("a.img");
    const std::string b = elsewhere.file("b.img");
    const ProcessResult result = run({a, b});
    EXPECT_NE(result.exitCode, 0);
    for (const std::string& image : {a, b})
        EXPECT_EQ(result.err.find(messages::fileOpenFailure(image).text), std::string::npos)
            << result.err;
}

// The death tests re-run this test binary for the one test, so the child has
// its own QApplication and the real program end and message presenter.
class BeforeAnyImageDeathTest : public ::testing::Test {
protected:
    BeforeAnyImageDeathTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    static void click(const char* button) {
        MainWindow window;
        window.show();
        window.page<UpgradePage>()->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
};

TEST_F(BeforeAnyImageDeathTest, CancelShowsTheEmptyNameAndEndsWithStatus1) {
    EXPECT_EXIT(click("cancelButton"), ::testing::ExitedWithCode(1),
                printed(messages::fileOpenFailure("")));
}

// The program must still be running after OK: it only ends here, with 7.
TEST_F(BeforeAnyImageDeathTest, OkSaysTheImageCannotBeOpenedAndTheProgramGoesOn) {
    EXPECT_EXIT(
        {
            click("okButton");
            std::exit(7);
        },
        ::testing::ExitedWithCode(7), printed(messages::fileOpenFailure("")));
}

} // namespace
