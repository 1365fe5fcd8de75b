// The upgrade page over a sparse image whose table region holds a byte
// pattern: what a load shows in each of the 90 boxes, which bytes a save
// writes (and which it never touches), Cancel, the digits-only boxes, and
// OK / Cancel before any image is open.
#include "core/text/Messages.h"
#include "gui/pages/UpgradePage.h"
#include "support/GuiTestSupport.h"
#include "support/ReadOnlyFile.h"
#include "support/SparseImage.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace starfall;
using namespace starfall::test;

namespace {

// Every row as the page must show it: its boxes' ids and where it lies, in
// read and write order.
struct RowCase {
    const char* label;
    int firstEditId;
    Position position;
};
constexpr RowCase kRows[] = {
    {"HP", 1201, 0x2C43B24},   {"EN", 1301, 0x2C43B10},   {"运动性", 1401, 0x2C43B38},
    {"装假", 1501, 0x2C43AFC}, {"界限", 1601, 0x2C43AE8}, {"A型", 1107, 0x2C43BB0},
    {"B型", 1117, 0x2C43BC4},  {"C型", 1127, 0x2C43BD8},  {"D型", 1137, 0x2C43BEC},
};
constexpr int kStages = 10;

// The bytes that lie between the stat rows and the type rows.
constexpr Position kGapStart = 0x2C43B4C;
constexpr Position kGapEnd = 0x2C43BB0;

// A pattern over the table and well beyond it on both sides.
constexpr Position kPatternStart = 0x2C43A00;
constexpr Position kPatternEnd = 0x2C43D00;
constexpr Position kImageSize = kPatternEnd + 256;

std::uint8_t patternByte(Position position) {
    return static_cast<std::uint8_t>((position * 37 + 11) & 0xFF);
}

void writePatternImage(const std::string& path, Position size = kImageSize) {
    std::vector<std::uint8_t> bytes;
    for (Position p = kPatternStart; p < std::min(kPatternEnd, size); ++p)
        bytes.push_back(patternByte(p));
    writeSparseImage(path, size, {{kPatternStart, bytes}});
}

// Overwrites bytes in place, as another program would.
void patchFile(const std::string& path, Position position, std::vector<char> bytes) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(position);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

Position lowBytePosition(int row, int stage) {
    return kRows[row].position + 2 * (stage - 1);
}

int patternValue(int row, int stage) {
    const Position low = lowBytePosition(row, stage);
    return patternByte(low) + 256 * patternByte(low + 1);
}

std::vector<Position> allTablePositions() {
    std::vector<Position> positions;
    for (int row = 0; row < 9; ++row) {
        for (int stage = 1; stage <= kStages; ++stage) {
            positions.push_back(lowBytePosition(row, stage));
            positions.push_back(lowBytePosition(row, stage) + 1);
        }
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

class UpgradePageTest : public ::testing::Test {
protected:
    UpgradePageTest() {
        writePatternImage(image);
        page.resize(700, 500);
        page.show();
    }

    void open() {
        page.setImageSession({image, dir.dir()});
        page.loadUpgradeTable();
    }

    QLineEdit* box(int row, int stage) const {
        return page.findChild<QLineEdit*>(
            QStringLiteral("edit%1").arg(kRows[row].firstEditId + stage - 1));
    }
    QPushButton* button(const char* name) const {
        return page.findChild<QPushButton*>(QString::fromLatin1(name));
    }

    TempDir dir;
    std::string image = dir.file("table.img");
    GuiSeams seams;
    UpgradePage page;
};

TEST_F(UpgradePageTest, EveryBoxExistsBeforeAnImageAndIsEmpty) {
    for (int row = 0; row < 9; ++row) {
        for (int stage = 1; stage <= kStages; ++stage) {
            QLineEdit* edit = box(row, stage);
            ASSERT_NE(edit, nullptr) << kRows[row].label << " " << stage;
            EXPECT_EQ(edit, page.edit(row, stage)) << kRows[row].label << " " << stage;
            EXPECT_TRUE(edit->text().isEmpty());
        }
    }
    EXPECT_EQ(button("cancelButton")->text(), QStringLiteral("取消"));
    EXPECT_EQ(button("okButton")->text(), QStringLiteral("确定"));
}

TEST_F(UpgradePageTest, LoadShowsEveryValueInItsBox) {
    open();
    for (int row = 0; row < 9; ++row) {
        for (int stage = 1; stage <= kStages; ++stage) {
            EXPECT_EQ(box(row, stage)->text(), QString::number(patternValue(row, stage)))
                << kRows[row].label << " " << stage;
        }
    }
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(UpgradePageTest, BytesPastTheEndOfAShortImageReadAs255) {
    // The image ends after the low byte of the D row's stage 4.
    const Position end = lowBytePosition(8, 4) + 1;
    writePatternImage(image, end);
    open();
    EXPECT_EQ(box(8, 3)->text(), QString::number(patternValue(8, 3)));
    EXPECT_EQ(box(8, 4)->text(), QString::number(patternByte(end - 1) + 255 * 256));
    EXPECT_EQ(box(8, 5)->text(), QStringLiteral("65535"));
    EXPECT_EQ(box(8, 10)->text(), QStringLiteral("65535"));
}

TEST_F(UpgradePageTest, OkWithoutEditsRewritesTheSameBytesAndConfirms) {
    open();
    const std::string before = readFile(image);
    button("okButton")->click();
    EXPECT_EQ(readFile(image), before);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::saveDone());
}

// Every value changed in both bytes: the bytes that differ afterwards are
// exactly the table's 180, so the 100 between the rows and everything else
// stayed as they were.
TEST_F(UpgradePageTest, SaveWritesTheWholeTableAndNothingElse) {
    open();
    const std::string before = readFile(image);
    for (int row = 0; row < 9; ++row) {
        for (int stage = 1; stage <= kStages; ++stage)
            box(row, stage)->setText(QString::number(patternValue(row, stage) ^ 0x5A5A));
    }
    page.saveUpgradeTable();

    const std::string after = readFile(image);
    EXPECT_EQ(changedPositions(before, after), allTablePositions());
    EXPECT_EQ(after.substr(kGapStart, kGapEnd - kGapStart),
              before.substr(kGapStart, kGapEnd - kGapStart));
    EXPECT_EQ(seams.messages.shown.size(), 1u);
}

// One box edited: only its two bytes may change; the text is read by the
// decimal parse and cut to 16 bits.
struct EditCase {
    int row;
    int stage;
    const char* text;
    std::uint8_t low;
    std::uint8_t high;
};

class UpgradeEditTest : public UpgradePageTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(UpgradeEditTest, WritesTheTwoBytesOfTheBoxOnly) {
    const EditCase& edit = GetParam();
    open();
    const std::string before = readFile(image);
    box(edit.row, edit.stage)->setText(QString::fromUtf8(edit.text));
    page.saveUpgradeTable();

    const Position low = lowBytePosition(edit.row, edit.stage);
    EXPECT_EQ(readFileRange(image, low, 2), (std::vector<std::uint8_t>{edit.low, edit.high}));
    std::string expected = before;
    expected[static_cast<std::size_t>(low)] = static_cast<char>(edit.low);
    expected[static_cast<std::size_t>(low + 1)] = static_cast<char>(edit.high);
    EXPECT_TRUE(readFile(image) == expected) << "bytes outside the edited box changed";
    EXPECT_EQ(seams.messages.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UpgradeEditTest,
    ::testing::Values(EditCase{1, 3, "513", 0x01, 0x02},     // EN stage 3 at 0x2C43B14
                      EditCase{0, 1, "4660", 0x34, 0x12},    // HP stage 1
                      EditCase{4, 10, "65535", 0xFF, 0xFF},  // limit, last stage
                      EditCase{8, 10, "0", 0x00, 0x00},      // last byte of the table
                      EditCase{5, 1, "", 0x00, 0x00},        // empty saves as 0
                      EditCase{3, 5, "abc", 0x00, 0x00},     // not a number saves as 0
                      EditCase{2, 7, "12ab", 0x0C, 0x00},    // digits up to the first other
                      EditCase{6, 2, "00070", 0x46, 0x00})); // leading zeros

TEST_F(UpgradePageTest, CancelDropsEditsAndReadsTheImageAgain) {
    open();
    box(0, 1)->setText(QStringLiteral("7"));
    box(8, 10)->setText(QStringLiteral("8"));
    // Another program changes the image meanwhile: nothing may be cached.
    patchFile(image, lowBytePosition(2, 5), {0x34, 0x12});
    const std::string before = readFile(image);

    button("cancelButton")->click();

    EXPECT_EQ(box(0, 1)->text(), QString::number(patternValue(0, 1)));
    EXPECT_EQ(box(8, 10)->text(), QString::number(patternValue(8, 10)));
    EXPECT_EQ(box(2, 5)->text(), QStringLiteral("4660"));
    EXPECT_EQ(readFile(image), before);
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(UpgradePageTest, BoxesTakeDigitsOnly) {
    open();
    QLineEdit* edit = box(1, 3);
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1a-2 b.3+"));
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    // No length limit: numbers above 65535 can be typed.
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("1234567"));
    EXPECT_EQ(edit->text(), QStringLiteral("1234567"));
}

TEST_F(UpgradePageTest, SaveIntoAReadOnlyImageWritesNothingAndDoesNotConfirm) {
    open();
    box(0, 1)->setText(QStringLiteral("1"));
    const std::string before = readFile(image);
    ReadOnlyFile locked(image);
    if (!locked.effective())
        GTEST_SKIP() << "the file system cannot make the image unwritable";
    page.saveUpgradeTable();
    EXPECT_EQ(readFile(image), before);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    // The image opened; it only cannot be written, and the message says so.
    EXPECT_EQ(seams.messages.shown[0], messages::imageNotWritable(image, locked.reason()));
}

TEST_F(UpgradePageTest, CancelBeforeAnImageShowsTheEmptyNameAndEndsWithStatus1) {
    std::optional<int> status;
    try {
        button("cancelButton")->click();
    } catch (const ProgramEnded& ended) {
        status = ended.status;
    }
    EXPECT_EQ(status, 1);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::fileOpenFailure(""));
}

// The program goes on after a save that cannot open its image.
TEST_F(UpgradePageTest, OkBeforeAnImageWritesNothingAndSaysTheImageCannotBeOpened) {
    box(0, 1)->setText(QStringLiteral("5"));
    EXPECT_NO_THROW(button("okButton")->click());
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::fileOpenFailure(""));
    EXPECT_EQ(box(0, 1)->text(), QStringLiteral("5"));
}

TEST_F(UpgradePageTest, SaveToAMissingImageDoesNotCreateIt) {
    page.setImageSession({dir.file("gone.img"), dir.dir()});
    page.saveUpgradeTable();
    EXPECT_FALSE(std::filesystem::exists(dir.file("gone.img")));
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::fileOpenFailure(dir.file("gone.img")));
}

// The notice band in a grabbed image of the page at several widths: 550 x 22,
// left edge at (width - 550) / 2 truncated, 14 pixels from the top, filled
// with 255, 255, 200 up to its corners and not one pixel further, and the
// notice's ink centred in it.
class NoticeBandTest : public ::testing::TestWithParam<int> {};

TEST_P(NoticeBandTest, SizePositionAndFillInTheGrabbedPage) {
    UpgradePage page;
    page.resize(GetParam(), 480);
    page.show();
    ASSERT_EQ(page.width(), GetParam());
    const QImage shot = page.grab().toImage();
    ASSERT_EQ(shot.size(), page.size());

    const QRgb fill = qRgb(255, 255, 200);
    const int left = (GetParam() - 550) / 2;
    const int top = 14;
    const int right = left + 549;
    const int bottom = top + 21;
    auto at = [&](int x, int y) { return shot.pixel(x, y) & 0xFFFFFF; };
    auto isFill = [&](int x, int y) { return at(x, y) == (fill & 0xFFFFFF); };

    for (const auto& [x, y] : {std::pair{left, top}, {right, top}, {left, bottom}, {right, bottom}})
        EXPECT_TRUE(isFill(x, y)) << "corner " << x << "," << y;
    for (const auto& [x, y] : {std::pair{left - 1, top},
                               {right + 1, top},
                               {left, top - 1},
                               {left, bottom + 1},
                               {right + 1, bottom},
                               {right, bottom + 1}})
        EXPECT_FALSE(isFill(x, y)) << "outside " << x << "," << y;

    // The band's edges are fill colour along their whole length.
    for (int x = left; x <= right; ++x) {
        ASSERT_TRUE(isFill(x, top) && isFill(x, bottom)) << "edge at x " << x;
    }

    int inkLeft = right;
    int inkRight = left;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (qGray(shot.pixel(x, y)) < 128) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    }
    ASSERT_LT(inkLeft, inkRight) << "no notice text drawn";
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, left + 274.5, 4.0);
}

INSTANTIATE_TEST_SUITE_P(Widths, NoticeBandTest, ::testing::Values(700, 701, 960));

} // namespace
