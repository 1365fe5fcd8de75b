// The paths on which the program ends with exit status 1, run for real in a
// child process: the editor binary itself for what the command line reaches,
// a death test for the upgrade page's buttons before any image is open. On
// the offscreen platform messages go to standard error instead of a box.
#include "core/io/CoreError.h"
#include "core/text/Messages.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/UpgradePage.h"
#include "support/GuiTestSupport.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

using namespace starfall;
using namespace starfall::test;

namespace {

const std::map<std::string, std::string> kHeadless = {{"QT_QPA_PLATFORM", "offscreen"},
                                                      {"ASAN_OPTIONS", "detect_leaks=0"}};
// As above, and the editor ends as soon as its window has painted once: as if
// the user quit at once.
const std::map<std::string, std::string> kQuitAtOnce = {{"QT_QPA_PLATFORM", "offscreen"},
                                                        {"ASAN_OPTIONS", "detect_leaks=0"},
                                                        {"STARFALL_QUIT_AFTER_FIRST_PAINT", "1"}};

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
    ProcessResult runAndQuit(const std::vector<std::string>& args) {
        return run(args, {kQuitAtOnce.begin(), kQuitAtOnce.end()});
    }
    void writeLists() {
        programDir.write("unitlist.ini", "UNITS 100\nAlpha, 4\n");
        programDir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
    }

    TempDir programDir;
    TempDir elsewhere;
    std::string editor = programDir.file("starfall-editor");
};

// A bad start reports why, naming every folder searched for a list, then shows
// the window without an image; a run that ends without one ends with status
// 1, so that scripts can tell.
TEST_F(EditorCopyTest, AListInNoSearchedFolderIsReportedAndTheRunEndsWithStatus1) {
    elsewhere.write("unitlist.ini", "UNITS 100\nAlpha, 4\n"); // beside the image's folder only
    const std::string image = elsewhere.write("images/demo.img", std::string(256, '\0'));
    const ProcessResult result = runAndQuit({image});
    EXPECT_EQ(result.exitCode, 1) << result.err;
    const std::string searched = programDir.dir() + '\n' + elsewhere.file("images/") + '\n' +
                                 elsewhere.file("config/starfall/");
    EXPECT_NE(result.err.find(printed(messages::listFileMissing("unitlist.ini", searched))),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("charlist.ini"), std::string::npos) << "loaded on after the end";
    EXPECT_NE(result.out.find('x'), std::string::npos) << "the window never showed";
}

TEST_F(EditorCopyTest, ImagesThatCannotBeOpenedAreNamedWithTheSystemsReason) {
    writeLists();
    const std::string fifo = elsewhere.file("images/pipe.img");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::string, int> cases[] = {
        {elsewhere.file("images/missing.img"), ENOENT},
        {elsewhere.file("images"), EISDIR},
        {fifo, EISDIR}};
    for (const auto& [image, error] : cases) {
        const ProcessResult result = runAndQuit({image});
        EXPECT_EQ(result.exitCode, 1) << image << result.err;
        const Message reported =
            messages::withReason(messages::fileOpenFailure(image), std::strerror(error));
        EXPECT_NE(result.err.find(printed(reported)), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(elsewhere.file("images/missing.img")));
}

TEST_F(EditorCopyTest, NoImageAtStartEndsWithStatus1AndAGoodOneWith0) {
    writeLists();
    EXPECT_EQ(runAndQuit({}).exitCode, 1);
    const std::string image = elsewhere.write("good.img", std::string(4096, '\0'));
    const ProcessResult result = runAndQuit({image});
    EXPECT_EQ(result.exitCode, 0) << result.err;
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

TEST_F(EditorCopyTest, MoreThanOneImageIsRefused) {
    const std::string a = elsewhere.file("a.img");
    const std::string b = elsewhere.file("b.img");
    const ProcessResult result = run({a, b});
    EXPECT_NE(result.exitCode, 0);
    for (const std::string& image : {a, b})
        EXPECT_EQ(result.err.find(messages::fileOpenFailure(image).text), std::string::npos)
            << result.err;
}

// Before any image the pages are off: no button can report an image with an
// empty name, nor end the program.
TEST(BeforeAnyImageTest, ThePagesAreOffAndTheirButtonsDoNothing) {
    GuiSeams seams;
    MainWindow window;
    window.show();
    for (int tab = 0; tab < window.pageSet()->count(); ++tab)
        EXPECT_FALSE(window.pageSet()->widget(tab)->isEnabled()) << tab;
    for (const char* name : {"okButton", "cancelButton"})
        window.page<UpgradePage>()->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(seams.messages.shown.empty());
}

} // namespace
