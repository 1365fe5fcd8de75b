// Patches in the editor: made from the original (PPF 3.0 and BPS) and applied
// by the command line to a pristine copy; applied and undone through the
// preview; refused for another image; already applied; a warning for records
// already edited; and the make dialog's controls.

#include "core/demo/DemoBuilder.h"
#include "core/lists/NameListReader.h"
#include "core/patch/PpfPatch.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/text/Messages.h"
#include "core/text/PatchFaultTexts.h"
#include "core/unit/UnitRecordFile.h"
#include "gui/app/MainWindow.h"
#include "gui/app/OriginalComparer.h"
#include "gui/app/PatchActions.h"
#include "gui/pages/PatchDialogs.h"
#include "gui/pages/UnitPage.h"
#include "gui/widgets/BackgroundWork.h"
#include "gui/widgets/DigitsEdit.h"
#include "support/GuiTestSupport.h"
#include "support/Process.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>

#include <gtest/gtest.h>

#include <filesystem>

using namespace starfall;
using namespace starfall::test;

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::vector<std::string> lines(const QListWidget* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i)
        out.push_back(list->item(i)->text().toStdString());
    return out;
}

bool contains(const std::vector<std::string>& all, const std::string& wanted) {
    return std::find(all.begin(), all.end(), wanted) != all.end();
}

// A demo (the pristine copy), its original, and the image edited from it:
// unit 1's HP and pilot 0's melee.
class PatchActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, qs(m_settings.path().string()));
        demo::writeDemo(m_dir.path().string());
        m_lists = m_dir.path().string() + "/";
        m_pristine = readFile(m_dir.file("demo.img"));
        m_original = m_dir.write("original.img", m_pristine);
        m_image = m_dir.write("modded.img", m_pristine);
        const UnitPlace unit = UnitPlace::fromList(loadNameList(m_lists, ListKind::Units), 1);
        UnitRecord record = loadUnitRecord(m_image, unit);
        record.hp = "4321";
        (void)saveUnitRecord(m_image, unit, record);
        const PilotReference pilot =
            PilotReference::fromList(loadNameList(m_lists, ListKind::Pilots), 0);
        PilotRecord stats = loadPilotRecord(m_image, pilot);
        stats.stats.melee = "201";
        (void)savePilotRecord(m_image, pilot, stats);
        m_modded = readFile(m_image);
    }
    std::unique_ptr<MainWindow> openWindow(const std::string& image) {
        auto window = std::make_unique<MainWindow>();
        window->setProgramDirectorySource([this] { return m_lists; });
        window->openImagePath(qs(image));
        return window;
    }
    // The image with its original set, and a patch made from them.
    std::string madePatch(const char* name, patch::PatchKind kind) {
        auto window = openWindow(m_image);
        EXPECT_TRUE(window->originalComparer()->setOriginal(qs(m_original)));
        const std::string out = m_dir.file(name);
        EXPECT_TRUE(window->patchActions()->makePatch({qs(out), kind, QStringLiteral("Mod"), {}}));
        return out;
    }

    GuiSeams m_seams;
    TempDir m_dir;
    TempDir m_settings;
    std::string m_lists;
    std::string m_pristine;
    std::string m_original;
    std::string m_image;
    std::string m_modded;
};

TEST_F(PatchActionsTest, PatchesMadeInTheEditorGiveTheImageWhenTheCliAppliesThem) {
    const std::string diz = m_dir.write("FILE_ID.DIZ", "Mod v1");
    {
        auto window = openWindow(m_image);
        QAction* make = window->findChild<QAction*>(QStringLiteral("makePatchAction"));
        EXPECT_FALSE(make->isEnabled());
        ASSERT_TRUE(window->originalComparer()->setOriginal(qs(m_original)));
        EXPECT_TRUE(make->isEnabled());
        const std::string ppf = m_dir.file("mod.ppf");
        ASSERT_TRUE(window->patchActions()->makePatch(
            {qs(ppf), patch::PatchKind::Ppf, QStringLiteral("Mod"), qs(diz)}));
        EXPECT_EQ(m_seams.messages.shown.back(), messages::patchMade(ppf));
    }
    const std::string bps = madePatch("mod.bps", patch::PatchKind::Bps);
    for (const std::string& patch : {m_dir.file("mod.ppf"), bps}) {
        const std::string copy = m_dir.write("copy.img", m_pristine);
        const auto applied = runCli({"patch", "apply", copy, patch});
        ASSERT_EQ(applied.exitCode, 0) << applied.err;
        EXPECT_TRUE(readFile(copy) == m_modded) << patch;
    }
    const auto info = runCli({"patch", "info", m_dir.file("mod.ppf")});
    EXPECT_NE(info.out.find("\"file_id_diz\": \"Mod v1\""), std::string::npos) << info.out;
}

TEST_F(PatchActionsTest, AMakeThatCannotBeIsRefusedAndWritesNothing) {
    auto window = openWindow(m_image);
    ASSERT_TRUE(window->originalComparer()->setOriginal(qs(m_original)));
    PatchActions& actions = *window->patchActions();
    const std::string big = m_dir.write("big.diz", std::string(3073, 'x'));
    const std::string out = m_dir.file("x.ppf");
    const std::pair<MakePatchRequest, Message> refused[] = {
        {{qs(m_original), patch::PatchKind::Ppf, {}, {}}, messages::patchWouldOverwrite(m_original)},
        {{qs(out), patch::PatchKind::Ppf, QString(51, 'd'), {}},
         messages::patchDescriptionTooLong(50)},
        {{qs(out), patch::PatchKind::Ppf, {}, qs(big)}, messages::patchDizTooLarge(3072)},
    };
    for (const auto& [request, message] : refused) {
        EXPECT_FALSE(actions.makePatch(request));
        EXPECT_EQ(m_seams.messages.shown.back(), message);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(readFile(m_original), m_pristine);
}

TEST_F(PatchActionsTest, ThePreviewShowsTheChangesThenAppliesAndUndoes) {
    const std::string ppf = madePatch("mod.ppf", patch::PatchKind::Ppf);
    const std::string target = m_dir.write("target.img", m_pristine);
    auto window = openWindow(target);
    PatchActions& actions = *window->patchActions();

    PatchPreviewWindow* preview = actions.preview(qs(ppf), PatchDirection::Apply);
    ASSERT_NE(preview, nullptr);
    const auto records = lines(preview->records());
    ASSERT_EQ(records.size(), 3U);
    EXPECT_TRUE(records[0].starts_with("units #1 ")) << records[0];
    EXPECT_TRUE(records[1].starts_with("pilots #0 ")) << records[1];
    const auto checks = lines(preview->checks());
    EXPECT_TRUE(contains(checks, messages::previewCheck(messages::PreviewCheck::BlockCheck)));
    EXPECT_TRUE(contains(checks, messages::previewCheck(messages::PreviewCheck::InsideImage)));
    EXPECT_EQ(readFile(target), m_pristine); // nothing written before "적용"
    ASSERT_TRUE(preview->goAheadButton()->isEnabled());
    preview->goAheadButton()->click();
    EXPECT_TRUE(readFile(target) == m_modded);
    EXPECT_EQ(m_seams.messages.shown.back(), messages::patchApplied(ppf));
    // The pages show the image as patched.
    EXPECT_EQ(window->page<UnitPage>()->ui().hp->text().isEmpty(), false);

    preview = actions.preview(qs(ppf), PatchDirection::Apply);
    EXPECT_TRUE(contains(lines(preview->checks()),
                         messages::previewCheck(messages::PreviewCheck::AlreadyApplied)));
    EXPECT_FALSE(preview->goAheadButton()->isEnabled());

    preview = actions.preview(qs(ppf), PatchDirection::Undo);
    ASSERT_TRUE(preview->goAheadButton()->isEnabled());
    EXPECT_EQ(preview->goAheadButton()->text(), QStringLiteral("되돌리기(&U)"));
    preview->goAheadButton()->click();
    EXPECT_TRUE(readFile(target) == m_pristine);
    EXPECT_EQ(m_seams.messages.shown.back(), messages::patchUndone(ppf));
}

TEST_F(PatchActionsTest, APatchForAnotherImageSaysWhatDiffersAndCannotBeApplied) {
    const std::string ppf = madePatch("mod.ppf", patch::PatchKind::Ppf);
    const std::string bps = madePatch("mod.bps", patch::PatchKind::Bps);
    std::string other = m_pristine;
    other[0x9320 + 100] = static_cast<char>(other[0x9320 + 100] ^ 1); // block check and CRC32
    const std::string target = m_dir.write("other.img", other);
    auto window = openWindow(target);
    for (const auto& [patch, mismatch] :
         {std::pair{ppf, ImageMismatch::BlockCheck}, std::pair{bps, ImageMismatch::SourceCrc}}) {
        PatchPreviewWindow* preview = window->patchActions()->preview(qs(patch), PatchDirection::Apply);
        ASSERT_NE(preview, nullptr);
        EXPECT_FALSE(preview->refusal()->isHidden()) << patch;
        EXPECT_EQ(preview->refusal()->text().toStdString(),
                  messageFor(Failure::PatchWrongImage, target, -1, messages::imageMismatch(mismatch))
                      .text);
        EXPECT_FALSE(preview->goAheadButton()->isEnabled());
        EXPECT_EQ(preview->records()->count(), 0);
    }
    EXPECT_EQ(readFile(target), other);
}

TEST_F(PatchActionsTest, ThePreviewWarnsOfRecordsTheOriginalComparisonShowsEdited) {
    // A patch of unit 1's HP bytes alone: made from an image edited with the
    // sector codes kept, so that it stacks on an image whose codes changed.
    const std::string dataOnly = m_dir.write("data-only.img", m_pristine);
    ASSERT_EQ(runCli({"--dir", m_lists, "unit", "set", dataOnly, "#1", "--keep-codes", "hp=4321"})
                  .exitCode,
              0);
    const std::string ppf = m_dir.file("hp.ppf");
    ASSERT_EQ(runCli({"patch", "make", m_original, dataOnly, ppf, "--keep-stale-codes"}).exitCode, 0);
    // Another edit of unit 1, against the same original.
    const std::string target = m_dir.write("target.img", m_pristine);
    const UnitPlace unit = UnitPlace::fromList(loadNameList(m_lists, ListKind::Units), 1);
    UnitRecord record = loadUnitRecord(target, unit);
    record.en = "222";
    (void)saveUnitRecord(target, unit, record);
    auto window = openWindow(target);
    ASSERT_TRUE(window->originalComparer()->setOriginal(qs(m_original)));
    PatchPreviewWindow* preview = window->patchActions()->preview(qs(ppf), PatchDirection::Apply);
    ASSERT_NE(preview, nullptr);
    ASSERT_GT(preview->checks()->count(), 0) << preview->refusal()->text().toStdString();
    const std::string first = preview->checks()->item(0)->text().toStdString();
    EXPECT_TRUE(first.starts_with(messages::previewTouchesEdited("units #1 "))) << first;
    EXPECT_TRUE(preview->goAheadButton()->isEnabled());
}

TEST_F(PatchActionsTest, TheMakeDialogOffersPpfFirstAndNoDizForBps) {
    MakePatchDialog dialog(nullptr);
    EXPECT_EQ(dialog.formatBox()->currentText(), QStringLiteral("PPF 3.0"));
    EXPECT_EQ(dialog.kind(), patch::PatchKind::Ppf);
    dialog.descriptionBox()->setText(QStringLiteral("Mod"));
    m_seams.files.answers.push_back(qs(m_dir.file("FILE_ID.DIZ")));
    dialog.findChild<QPushButton*>(QStringLiteral("patchDizBrowseButton"))->click();
    EXPECT_EQ(dialog.dizPath(), qs(m_dir.file("FILE_ID.DIZ")));
    dialog.formatBox()->setCurrentIndex(1);
    EXPECT_EQ(dialog.kind(), patch::PatchKind::Bps);
    EXPECT_FALSE(dialog.dizBox()->isEnabled());
    EXPECT_TRUE(dialog.dizPath().isEmpty());
    EXPECT_EQ(dialog.description(), QStringLiteral("Mod"));
}

} // namespace

namespace {

TEST_F(PatchActionsTest, CancelBeforeTheWriteLeavesTheImageAsItWas) {
    const std::string ppf = madePatch("mod.ppf", patch::PatchKind::Ppf);
    const std::string target = m_dir.write("target.img", m_pristine);
    auto window = openWindow(target);
    setProgressDelay(0);
    setProgressShownHook([](QProgressDialog* dialog) { dialog->cancel(); });
    EXPECT_EQ(window->patchActions()->preview(qs(ppf), PatchDirection::Apply), nullptr);
    setProgressShownHook({});
    setProgressDelay(500);
    EXPECT_EQ(m_seams.messages.shown.back(), messages::workCancelled());
    EXPECT_FALSE(window->patchActions()->goAhead());
    EXPECT_EQ(readFile(target), m_pristine);
}

TEST_F(PatchActionsTest, CancelOfAMakeWritesNoPatch) {
    auto window = openWindow(m_image);
    ASSERT_TRUE(window->originalComparer()->setOriginal(qs(m_original)));
    setProgressDelay(0);
    setProgressShownHook([](QProgressDialog* dialog) { dialog->cancel(); });
    const std::string out = m_dir.file("cancelled.ppf");
    EXPECT_FALSE(window->patchActions()->makePatch({qs(out), patch::PatchKind::Ppf, {}, {}}));
    setProgressShownHook({});
    setProgressDelay(500);
    EXPECT_EQ(m_seams.messages.shown.back(), messages::workCancelled());
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
