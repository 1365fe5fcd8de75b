// The weapon editor over a sparse image that holds a unit's weapon list and
// the weapon table: the list it builds, the fields it shows, the ten bytes
// "确定" writes, the spins and the keys.
#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"
#include "core/text/TraceLines.h"
#include "gui/pages/WeaponDialog.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/StepEdit.h"
#include "support/GuiTestSupport.h"
#include "support/SparseImage.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kTableStart = 46381512;
constexpr Position kImageSize = kTableStart + 40000;
constexpr Position kList = 5000;      // L as the unit page hands it over
constexpr Position kDioList = 6000;   // L of "디오"
constexpr Position kEmptyList = 7000; // L of a unit without weapons

// Weapons below the first stretch of the table lie at the plain position.
constexpr Position weaponAt(int number) {
    return kTableStart + 17 * number;
}

// Weapon 5: attack 300, hit -50, critical "-20" / "D 型", range 1 to 5,
// terrain land A, sea B, air C, space --, ammo 10, EN 20, morale 110.
const std::vector<std::uint8_t> kWeapon5 = {0x2C, 0x01, 0xCE, 0x43, 1,    5,    0xE4, 10,  20,
                                            0x77, 110,  0x11, 0x12, 0x13, 0x14, 0x15, 0x16};
// Weapon 7: codes without a list item, critical 7 and upgrade type 10.
const std::vector<std::uint8_t> kWeapon7 = {0, 0, 0, 0x7A, 0, 0, 0, 0, 0, 0, 0};

void writeImage(const std::string& path, std::uint8_t recordFill = 0) {
    std::vector<SparseRun> runs = {
        {kList - 2, {3, 0, 5, 0, 0, 0, 0x05, 0x0D, 0, 0, 7, 0xF8, 0, 0}},
        {kDioList - 2, {3, 0, 1, 0, 0, 0, 2, 0, 0, 0, 9, 0, 0, 0}},
        {kEmptyList - 2, {0, 0}},
        {weaponAt(7), kWeapon7},
    };
    if (recordFill != 0)
        runs.push_back({weaponAt(5), std::vector<std::uint8_t>(17, recordFill)});
    else
        runs.push_back({weaponAt(5), kWeapon5});
    writeSparseImage(path, kImageSize, runs);
}

class WeaponDialogTest : public ::testing::Test {
protected:
    WeaponDialogTest() {
        dir.write("weapon.ini", "[WEAPON_NAME]\n5=Beam Saber\n7=\n1203=Special\n");
        writeImage(dir.file("weapons.img"));
    }

    std::unique_ptr<WeaponDialog> open(std::string_view nameUtf8, Position list,
                                       std::string address = "100\n") {
        auto dialog = std::make_unique<WeaponDialog>(
            WeaponHandOver{dir.file("weapons.img"), cp949::fromUtf8(nameUtf8), std::move(address),
                           list},
            WeaponDialogServices{[this] { return dir.dir(); },
                                 [this](std::string_view line) { traces.emplace_back(line); }});
        dialog->show();
        return dialog;
    }

    template <typename T> static T* child(const QWidget& dialog, const char* name) {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static QString text(const QWidget& dialog, const char* name) {
        if (auto* step = dialog.findChild<StepEdit*>(QString::fromLatin1(name)))
            return step->value();
        if (auto* combo = dialog.findChild<QComboBox*>(QString::fromLatin1(name)))
            return combo->currentText();
        return child<QLineEdit>(dialog, name)->text();
    }
    static QStringList names(const QWidget& dialog) {
        QStringList shown;
        const QAbstractItemModel* list = child<QTableView>(dialog, "weaponList")->model();
        for (int row = 0; row < list->rowCount(); ++row)
            shown << list->index(row, 0).data().toString() + "/" +
                         list->index(row, 1).data().toString();
        return shown;
    }
    // A weapon weapon.ini does not name, as names() shows it.
    static QString unnamed(int number) {
        return QString::fromStdString(messages::defaultWeaponName(number)) + "/" +
               QString::number(number);
    }
    // The start of the weapon table, where every write of these tests falls
    // (reading the whole image each time would be slow under the sanitizers).
    std::string table() {
        const std::vector<std::uint8_t> bytes =
            readFileRange(dir.file("weapons.img"), kTableStart, 4096);
        return std::string(bytes.begin(), bytes.end());
    }
    static std::vector<Position> changedInTable(const std::string& before,
                                                const std::string& after) {
        std::vector<Position> changed = changedPositions(before, after);
        for (Position& position : changed)
            position += kTableStart;
        return changed;
    }
    static char tableByte(const std::string& table, Position position) {
        return table[static_cast<std::size_t>(position - kTableStart)];
    }

    TempDir dir;
    GuiSeams seams;
    std::vector<std::string> traces;
};

TEST_F(WeaponDialogTest, OpeningListsTheWeaponsAndShowsTheFirst) {
    auto dialog = open("Alpha", kList);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("武器"));
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(child<QLabel>(*dialog, "nameLabel")->text(), QStringLiteral("Alpha"));
    // 0x0D 0x05 is weapon 0x505: only the low three bits of the high byte count.
    EXPECT_EQ(names(*dialog), (QStringList{"Beam Saber/5", unnamed(1285), unnamed(7)}));
    auto* list = child<QTableView>(*dialog, "weaponList");
    EXPECT_EQ(list->columnWidth(0), 118);
    EXPECT_TRUE(list->isColumnHidden(1));
    EXPECT_EQ(dialog->currentRow(), 0);
    EXPECT_TRUE(child<QPushButton>(*dialog, "okButton")->isEnabled());
    EXPECT_EQ(traces, std::vector<std::string>{messages::weaponTrace(46381597)});

    const std::pair<const char*, const char*> fields[] = {
        {"attackEdit", "300"},        {"hitEdit", "-50"},       {"criticalCombo", "-20"},
        {"upgradeTypeCombo", "D 型"}, {"rangeNearEdit", "1"},   {"rangeFarEdit", "5"},
        {"terrainLandCombo", "A"},    {"terrainSeaCombo", "B"}, {"terrainAirCombo", "C"},
        {"terrainSpaceCombo", "--"},  {"ammoEdit", "10"},       {"enEdit", "20"},
        {"moraleEdit", "110"},
    };
    for (const auto& [field, shown] : fields)
        EXPECT_EQ(text(*dialog, field), QString::fromUtf8(shown)) << field;
}

// An image cut short after weapon 7's record: weapon 1285 lies past its end.
TEST_F(WeaponDialogTest, AWeaponPastTheImagesEndIsMarkedInTheList) {
    std::filesystem::resize_file(dir.file("weapons.img"), weaponAt(7) + 17);
    auto dialog = open("Alpha", kList);
    const auto* model =
        static_cast<const NameListModel*>(child<QTableView>(*dialog, "weaponList")->model());
    EXPECT_FALSE(model->pastEnd(0));
    EXPECT_TRUE(model->pastEnd(1));
    EXPECT_FALSE(model->pastEnd(2));
}

TEST_F(WeaponDialogTest, TheThirdWeaponOfDioIsAlways1203) {
    auto dialog = open("디오", kDioList);
    EXPECT_EQ(names(*dialog), (QStringList{unnamed(1), unnamed(2), "Special/1203"}));
}

TEST_F(WeaponDialogTest, PickingAnotherWeaponLoadsIt) {
    auto dialog = open("Alpha", kList);
    child<QTableView>(*dialog, "weaponList")->selectRow(2);
    EXPECT_EQ(dialog->currentRow(), 2);
    EXPECT_EQ(traces.back(), messages::weaponTrace(46381631));
    // Codes no item stands for are shown as the code ...
    EXPECT_EQ(text(*dialog, "criticalCombo"), QStringLiteral("7"));
    EXPECT_EQ(text(*dialog, "upgradeTypeCombo"), QStringLiteral("10"));
    const std::string before = table();
    child<QPushButton>(*dialog, "okButton")->click();
    // ... and written back as they were unless an item is picked.
    EXPECT_EQ(tableByte(table(), weaponAt(7) + 3), 0x7A);
    EXPECT_EQ(changedInTable(before, table()), std::vector<Position>{});
    child<QComboBox>(*dialog, "criticalCombo")->setCurrentIndex(2);
    child<QPushButton>(*dialog, "okButton")->click();
    EXPECT_EQ(tableByte(table(), weaponAt(7) + 3), 0x2A);
}

TEST_F(WeaponDialogTest, SaveWritesTheTenEditedBytesAndStaysOpen) {
    writeImage(dir.file("weapons.img"), 0xAA);
    auto dialog = open("Alpha", kList);
    const std::string before = table();
    child<QLineEdit>(*dialog, "attackEdit")->setText("257");
    child<StepEdit>(*dialog, "hitEdit")->edit()->clear();
    QTest::keyClicks(child<StepEdit>(*dialog, "hitEdit")->edit(), "-56");
    child<QComboBox>(*dialog, "criticalCombo")->setCurrentIndex(1);
    child<QComboBox>(*dialog, "upgradeTypeCombo")->setCurrentIndex(2);
    child<StepEdit>(*dialog, "rangeNearEdit")->showText("1");
    child<StepEdit>(*dialog, "rangeFarEdit")->showText("2");
    for (const char* terrain :
         {"terrainLandCombo", "terrainSeaCombo", "terrainAirCombo", "terrainSpaceCombo"})
        child<QComboBox>(*dialog, terrain)->setCurrentIndex(0);
    child<QComboBox>(*dialog, "terrainSpaceCombo")->setCurrentIndex(3);
    child<QLineEdit>(*dialog, "ammoEdit")->setText("3");
    child<QLineEdit>(*dialog, "enEdit")->setText("4");
    child<QLineEdit>(*dialog, "moraleEdit")->setText("5");
    child<QPushButton>(*dialog, "okButton")->click();

    const Position at = weaponAt(5);
    const std::vector<Position> written = {at,     at + 1, at + 2, at + 3, at + 4,
                                           at + 5, at + 6, at + 7, at + 8, at + 10};
    EXPECT_EQ(changedInTable(before, table()), written);
    EXPECT_EQ(readFileRange(dir.file("weapons.img"), at, 11),
              (std::vector<std::uint8_t>{1, 1, 0xC8, 0x12, 1, 2, 0xFC, 3, 4, 0xAA, 5}));
    ASSERT_EQ(seams.messages.shown.size(), 1U);
    EXPECT_EQ(seams.messages.shown[0], messages::saveDone());
    EXPECT_TRUE(dialog->isVisible());

    // A hit typed as -56 (the minus typed first) is the byte 0xC8.
    child<QTableView>(*dialog, "weaponList")->selectRow(1);
    child<QTableView>(*dialog, "weaponList")->selectRow(0);
    EXPECT_EQ(text(*dialog, "hitEdit"), QStringLiteral("-56"));
}

TEST_F(WeaponDialogTest, SpinsStepWithinTheirLimits) {
    auto dialog = open("Alpha", kList);
    struct SpinCase {
        const char* field;
        const char* before;
        int direction;
        const char* after;
    };
    const SpinCase cases[] = {
        {"hitEdit", "48", 1, "50"},
        {"hitEdit", "60", 1, "50"},
        {"hitEdit", "-47", -1, "-50"},
        {"hitEdit", "12", -1, "7"},
        {"hitEdit", "-123456789", 1, "-12345673"}, // the first nine characters count
        {"rangeNearEdit", "1", -1, "1"},
        {"rangeNearEdit", "0", -1, "1"},
        {"rangeNearEdit", "50", 1, "50"},
        {"rangeFarEdit", "70", 1, "50"},
        {"rangeFarEdit", "7", 1, "8"},
        {"rangeFarEdit", "x", 1, "1"},
    };
    for (const SpinCase& c : cases) {
        auto* edit = child<StepEdit>(*dialog, c.field);
        edit->showText(QString::fromLatin1(c.before));
        edit->stepBy(c.direction);
        EXPECT_EQ(edit->value(), QString::fromLatin1(c.after)) << c.field << " " << c.before;
    }
    // A range step puts every other field back as it stood.
    child<QLineEdit>(*dialog, "attackEdit")->setText("999");
    child<StepEdit>(*dialog, "rangeNearEdit")->stepBy(1);
    EXPECT_EQ(text(*dialog, "attackEdit"), QStringLiteral("999"));
    EXPECT_EQ(text(*dialog, "rangeNearEdit"), QStringLiteral("50"));
    EXPECT_EQ(text(*dialog, "rangeFarEdit"), QStringLiteral("1"));
}

TEST_F(WeaponDialogTest, AnEmptyListKeepsOkDisabledAndTheFieldsEmpty) {
    auto dialog = open("Alpha", kEmptyList);
    EXPECT_TRUE(names(*dialog).isEmpty());
    EXPECT_FALSE(child<QPushButton>(*dialog, "okButton")->isEnabled());
    EXPECT_EQ(dialog->currentRow(), -1);
    EXPECT_EQ(text(*dialog, "attackEdit"), QString());
    EXPECT_EQ(text(*dialog, "criticalCombo"), QString());
    EXPECT_TRUE(traces.empty());
}

// The editor opens with the focus in its list; Tab goes on from there
// through every field to the buttons instead of stepping through weapons.
TEST_F(WeaponDialogTest, TabLeavesTheListAndReachesTheButtons) {
    auto dialog = open("Alpha", kList);
    QApplication::setActiveWindow(dialog.get());
    auto* list = child<QTableView>(*dialog, "weaponList");
    ASSERT_TRUE(list->hasFocus());
    QStringList reached;
    for (int step = 0; step < 30 && !reached.contains(QStringLiteral("okButton")); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(reached.first(), QStringLiteral("attackEdit"));
    EXPECT_TRUE(reached.contains(QStringLiteral("okButton"))) << reached.join(' ').toStdString();
    EXPECT_TRUE(reached.contains(QStringLiteral("cancelButton")));
    EXPECT_FALSE(reached.contains(QStringLiteral("weaponList")));
    EXPECT_EQ(dialog->currentRow(), 0);
}

TEST_F(WeaponDialogTest, EnterDoesNothingAndEscapeCloses) {
    auto dialog = open("Alpha", kList);
    const std::string before = table();
    for (const char* field : {"attackEdit", "weaponList", "okButton", "cancelButton"}) {
        QTest::keyClick(child<QWidget>(*dialog, field), Qt::Key_Return);
        QTest::keyClick(child<QWidget>(*dialog, field), Qt::Key_Enter);
    }
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(seams.messages.shown.empty());
    EXPECT_EQ(table(), before);

    QTest::keyClick(child<QWidget>(*dialog, "attackEdit"), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

} // namespace
