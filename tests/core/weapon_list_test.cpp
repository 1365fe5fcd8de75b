#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponIni.h"

#include "core/codec/Cp949.h"
#include "core/text/RecordNames.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace starfall {
namespace {

using test::SyntheticImage;

TEST(WeaponIni, ProfileFileRules) {
    struct Row {
        const char* text;
        const char* key;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"[weapon_name]\n7=Saber\n", "7", "Saber"},
        {"[WEAPON_NAME]\n 7 \t=  Saber  \n", "7", "Saber"},
        {"[WEAPON_NAME]\n7=\"Quoted \"\n", "7", "Quoted "},
        {"[WEAPON_NAME]\n7='half\n", "7", "'half"},
        {"[WEAPON_NAME]\n7=a ; not a comment\n", "7", "a ; not a comment"},
        {"[WEAPON_NAME]\n  ;7=hidden\n", "7", std::nullopt},
        {"[WEAPON_NAME]\n#7=x\n", "#7", "x"},
        {"[WEAPON_NAME] trailing\n7=x\n", "7", "x"},
        {"[WEAPON_NAME]\n7=first\n7=second\n", "7", "first"},
        {"[WEAPON_NAME]\n7=first\n[OTHER]\n[WEAPON_NAME]\n8=late\n", "8", std::nullopt},
        {"[OTHER]\n7=x\n", "7", std::nullopt},
        {"[WEAPON_NAME]\n7=\n", "7", std::nullopt},
        {"[WEAPON_NAME]\r\n7=crlf\r\n", "7", "crlf"},
        {"[WEAPON_NAME]\n7=\xBA\xF6\n", "7", "\xBA\xF6"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(WeaponIni::parse(row.text).find(row.key), row.expected) << row.text;
    EXPECT_EQ(WeaponIni::parse("[WEAPON_NAME]\n1=" + std::string(12000, 'x')).find("1")->size(),
              9999u);
}

TEST(WeaponIni, ANamesFileThatIsNotRegularCountsAsMissing) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("dir.ini"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.ini").c_str(), 0600), 0);
    EXPECT_EQ(WeaponIni::load(dir.file("dir.ini")).find("1"), std::nullopt);
    EXPECT_EQ(WeaponIni::load(dir.file("fifo.ini")).find("1"), std::nullopt);
}

class WeaponListTest : public ::testing::Test {
protected:
    std::vector<NamedWeapon> list(const char* name, const char* address, Position l) {
        image.saveTo(path);
        return loadNamedWeaponList(path, cp949::fromUtf8(name), address, l, ini);
    }
    test::TempDir dir;
    std::string path = dir.file("w.img");
    std::string ini = dir.write("weapon.ini", "[WEAPON_NAME]\n1285=Fin\n1203=Fixed\n");
    SyntheticImage image = SyntheticImage::flat(2000, 0);
};

TEST_F(WeaponListTest, NumbersNamesAndTheFixedThirdWeapon) {
    image.place(98, {3}).place(100, {0x05, 0x0D, 9, 9, 7, 0, 9, 9, 8, 0, 9, 9});
    const auto plain = list("보통", "100", 100);
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0].number, 1285);
    EXPECT_EQ(plain[0].name, "Fin");
    EXPECT_EQ(plain[1].name, cp949::fromUtf8(messages::defaultWeaponName(7)));
    const auto dio = list("디오", "100", 100);
    EXPECT_EQ(dio[2].number, 1203);
    EXPECT_EQ(dio[2].name, "Fixed");
}

TEST_F(WeaponListTest, SplitUnitsMoveTheListAndSplitEntries) {
    // Address 6208 moves the whole list one gap on.
    image.place(100 + 304 - 2, {1}).place(100 + 304, {42, 0});
    EXPECT_EQ(list("보통", "6208\n", 100)[0].number, 42);
    // The second entry's last two bytes and all later entries lie a gap on.
    image.place(998, {3}).place(1000, {1, 0, 0, 0, 2, 0}).place(1006 + 304, {0, 0, 3, 0});
    const auto split = list("아슈라템플", "1", 1000);
    ASSERT_EQ(split.size(), 3u);
    EXPECT_EQ(split[0].number, 1);
    EXPECT_EQ(split[1].number, 2); // its number bytes lie before the framing
    EXPECT_EQ(split[2].number, 3);
    EXPECT_TRUE(list("보통", "1", 1000)[2].number != 3);
}

} // namespace
} // namespace starfall
