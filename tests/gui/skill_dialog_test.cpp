#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/StepEdit.h"
#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/sector/SectorGeometry.h"
#include "gui/pages/SkillDialog.h"

#include "support/GuiTestSupport.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::SyntheticImage;

constexpr Position T = 500;

std::string cp(std::string_view utf8) {
    return cp949::fromUtf8(utf8);
}

std::vector<Position> run(Position first, int count) {
    std::vector<Position> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

// n slots of code 40 + k, level k (k from 1), then the ending zero.
SyntheticImage withSlots(int n) {
    auto image = SyntheticImage::flat(4000, 0xEE);
    for (int k = 1; k <= n; ++k)
        image.place(T + 2 * (k - 1),
                    {static_cast<std::uint8_t>(40 + k), static_cast<std::uint8_t>(k)});
    if (n < kMaxSkillSlots)
        image.place(T + 2 * n, {0});
    return image;
}

class SkillDialogTest : public ::testing::Test {
protected:
    // Opens the dialog (without blocking) on `image` for the pilot `nameUtf8`.
    SkillDialog& open(const SyntheticImage& image, std::string_view nameUtf8 = "Kim") {
        image.saveTo(path);
        dialog = std::make_unique<SkillDialog>(SkillDialogRequest{path, cp(nameUtf8), T});
        dialog->show();
        return *dialog;
    }
    // Picks the last skill ("GUT2") and level 77 in every enabled slot.
    void editEnabledSlots() {
        for (int k = 1; k <= kMaxSkillSlots; ++k) {
            if (!dialog->skillList(k)->isEnabled())
                continue;
            dialog->skillList(k)->setCurrentIndex(50);
            dialog->levelEdit(k)->showText("77");
        }
    }
    std::vector<Position> saveAndCompare() {
        const std::string before = readFile(path);
        dialog->findChild<QPushButton*>("okButton")->click();
        return changedPositions(before, readFile(path));
    }
    std::vector<int> enabledSlots() const {
        std::vector<int> slots;
        for (int k = 1; k <= kMaxSkillSlots; ++k) {
            const bool list = dialog->skillList(k)->isEnabled();
            EXPECT_EQ(dialog->levelEdit(k)->isEnabled(), list) << k;
            if (list)
                slots.push_back(k);
        }
        return slots;
    }

    test::TempDir dir;
    std::string path = dir.file("skills.img");
    test::GuiSeams seams;
    std::unique_ptr<SkillDialog> dialog;
};

TEST_F(SkillDialogTest, CaptionHeadersAndTheFiftyOneSkills) {
    open(withSlots(3), "아무로");
    EXPECT_EQ(dialog->windowTitle(), "技能列表");
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->nameLabel()->text(), "아무로");
    EXPECT_EQ(dialog->nameLabel()->palette().color(QPalette::WindowText), QColor(60, 40, 250));
    QStringList headers;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (label != dialog->nameLabel() && label->objectName() != "noticeStrip" &&
            label->isVisible())
            headers << label->text();
    headers.sort();
    EXPECT_EQ(headers, (QStringList{"习得等级", "习得等级", "习得等级", "技能", "技能", "技能"}));
    const std::pair<int, QString> items[] = {
        {0, "NT Lv1"}, {13, "强化人间 Lv5"}, {45, "底力"}, {46, "明镜止水"}, {50, "GUT2"}};
    for (int k = 1; k <= kMaxSkillSlots; ++k) {
        ASSERT_EQ(dialog->skillList(k)->count(), 51) << k;
        for (const auto& [index, text] : items)
            EXPECT_EQ(dialog->skillList(k)->itemText(index), text);
    }
    EXPECT_EQ(dialog->findChild<QPushButton*>("okButton")->text(), "确定");
    EXPECT_EQ(dialog->findChild<QPushButton*>("cancelButton")->text(), "取消");
}

TEST_F(SkillDialogTest, ShowsEachSlotAndEnablesOnlyTheSlotsRead) {
    open(withSlots(3).place(T, {79}).place(T + 3, {0}));
    EXPECT_EQ(enabledSlots(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(dialog->skillList(1)->currentText(), "明镜止水");
    EXPECT_EQ(dialog->skillList(2)->currentIndex(), 42 - 33);
    EXPECT_EQ(dialog->levelEdit(2)->value(), "0");
    EXPECT_EQ(dialog->levelEdit(3)->value(), "3");
    EXPECT_EQ(dialog->skillList(4)->currentIndex(), -1);
    EXPECT_EQ(dialog->levelEdit(4)->value(), "");
}

TEST_F(SkillDialogTest, ASaveWritesBothBytesOfEveryEditableSlotAndStaysOpen) {
    struct Case {
        const char* name;
        int slots;
        std::vector<int> enabled;
        std::vector<Position> written;
    };
    std::vector<Position> lockedEighth = run(T, 14);
    for (Position p : run(T + 16, 4))
        lockedEighth.push_back(p);
    const Case cases[] = {
        {"Kim", 0, {}, {}},
        {"Kim", 3, {1, 2, 3}, run(T, 6)},
        {"레즌", 5, {2, 3, 4, 5}, run(T + 2, 8)},
        {"하늘도몬", 10, {1, 2, 3, 4, 5, 6, 7, 9, 10}, lockedEighth},
    };
    for (const Case& c : cases) {
        seams.messages.shown.clear();
        open(withSlots(c.slots), c.name);
        EXPECT_EQ(enabledSlots(), c.enabled) << c.name;
        editEnabledSlots();
        EXPECT_EQ(saveAndCompare(), c.written) << c.name;
        EXPECT_EQ(seams.messages.shown, std::vector<Message>{messages::saveDone()}) << c.name;
        EXPECT_TRUE(dialog->isVisible());
    }
    const std::string image = readFile(path);
    EXPECT_EQ(static_cast<std::uint8_t>(image[T + 18]), 83);
    EXPECT_EQ(static_cast<std::uint8_t>(image[T + 19]), 77);
}

TEST_F(SkillDialogTest, NineteenSlotsAreTheLimitAndTheByteAfterThemIsLeftAlone) {
    open(withSlots(kMaxSkillSlots).place(T + 38, {45, 9}));
    EXPECT_EQ(enabledSlots().size(), 19u);
    editEnabledSlots();
    EXPECT_EQ(saveAndCompare(), run(T, 38));
    EXPECT_EQ(static_cast<std::uint8_t>(readFile(path)[T + 38]), 45);
}

TEST_F(SkillDialogTest, SlotSixOfTheStretchedTableLiesOneGapFurtherOn) {
    auto image = withSlots(5);
    image.place(T + 10, {0x55, 0x55}).place(T + 10 + kSectorGap, {50, 60, 0});
    open(image, "듀오");
    EXPECT_EQ(enabledSlots(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(dialog->skillList(6)->currentIndex(), 50 - 33);
    EXPECT_EQ(dialog->levelEdit(6)->value(), "60");
}

TEST_F(SkillDialogTest, AnUnlistedCodeIsShownAndWrittenBackUnlessASkillIsPicked) {
    open(withSlots(3).place(T + 2, {90, 4}).place(T + 4, {7, 5}));
    EXPECT_EQ(dialog->skillList(2)->count(), 52);
    EXPECT_EQ(dialog->skillList(2)->currentText(), "90");
    EXPECT_EQ(dialog->skillList(3)->currentText(), "7");
    EXPECT_EQ(dialog->skillList(1)->count(), 51);
    dialog->skillList(3)->setCurrentIndex(0);
    dialog->levelEdit(2)->showText("8");
    EXPECT_EQ(saveAndCompare(), (std::vector<Position>{T + 3, T + 4}));
    const std::string image = readFile(path);
    EXPECT_EQ(static_cast<std::uint8_t>(image[T + 2]), 90);
    EXPECT_EQ(static_cast<std::uint8_t>(image[T + 3]), 8);
    EXPECT_EQ(static_cast<std::uint8_t>(image[T + 4]), 33);
}

TEST_F(SkillDialogTest, TypedLevelsAreStoredAsTypedInEightBits) {
    const std::pair<const char*, std::uint8_t> cases[] = {{"0", 0}, {"044", 44}, {"255", 255}};
    for (const auto& [typed, stored] : cases) {
        open(withSlots(1));
        dialog->levelEdit(1)->edit()->clear();
        QTest::keyClicks(dialog->levelEdit(1), typed);
        static_cast<void>(saveAndCompare());
        EXPECT_EQ(static_cast<std::uint8_t>(readFile(path)[T + 1]), stored) << typed;
    }
}

TEST_F(SkillDialogTest, LevelSpinsCapAtNinetyNineAndFloorAtOne) {
    struct Case {
        const char* level;
        bool up;
        const char* expected;
    };
    const Case cases[] = {{"99", true, "99"}, {"120", true, "99"}, {"1", false, "1"},
                          {"0", false, "1"},  {"5", true, "6"},    {"5", false, "4"}};
    open(withSlots(2));
    dialog->skillList(1)->setCurrentIndex(20);
    for (const Case& c : cases) {
        dialog->levelEdit(2)->showText(c.level);
        QTest::keyClick(dialog->levelEdit(2), c.up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(dialog->levelEdit(2)->value(), c.expected) << c.level << (c.up ? " up" : " down");
    }
    EXPECT_EQ(dialog->skillList(1)->currentIndex(), 20); // pulled and pushed back
    EXPECT_EQ(dialog->levelEdit(1)->value(), "1");
}

TEST_F(SkillDialogTest, CancelClosesWithoutWriting) {
    open(withSlots(2));
    editEnabledSlots();
    const std::string before = readFile(path);
    dialog->findChild<QPushButton*>("cancelButton")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(readFile(path), before);
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(SkillDialogTest, TheNoticeStripIsPaintedAtTheBottomLeft) {
    open(withSlots(1));
    const QImage shot = dialog->grab().toImage();
    const QRect strip = SkillDialog::noticeRect(dialog->height());
    ASSERT_EQ(strip, QRect(20, dialog->height() - 65, 324, 20));
    const QColor fill(255, 255, 200);
    const QPoint inside[] = {strip.topLeft(), strip.topRight(), strip.bottomLeft(),
                             strip.bottomRight()};
    for (const QPoint& p : inside)
        EXPECT_EQ(shot.pixelColor(p), fill) << p.x() << "," << p.y();
    const QPoint outside[] = {strip.topLeft() - QPoint(1, 0), strip.topLeft() - QPoint(0, 1),
                              strip.bottomRight() + QPoint(1, 0),
                              strip.bottomRight() + QPoint(0, 1)};
    for (const QPoint& p : outside)
        EXPECT_NE(shot.pixelColor(p), fill) << p.x() << "," << p.y();
    int inked = 0;
    for (int x = strip.left(); x <= strip.right(); ++x)
        for (int y = strip.top(); y <= strip.bottom(); ++y)
            inked += shot.pixelColor(x, y) != fill ? 1 : 0;
    EXPECT_GT(inked, 50); // the notice text is drawn on it
}

} // namespace
} // namespace starfall

namespace starfall {
namespace {

// A level beyond a byte is refused whole, naming the slot and the range.
TEST_F(SkillDialogTest, ALevelBeyondAByteIsRefusedAndKeptInItsBox) {
    open(withSlots(1));
    const std::string before = readFile(path);
    dialog->levelEdit(1)->edit()->clear();
    QTest::keyClicks(dialog->levelEdit(1), "300");
    dialog->findChild<QPushButton*>("okButton")->click();
    EXPECT_EQ(readFile(path), before);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::valueOutOfRange("习得等级 1", 0, 255));
    EXPECT_EQ(dialog->levelEdit(1)->value(), QStringLiteral("300"));
}

} // namespace
} // namespace starfall
