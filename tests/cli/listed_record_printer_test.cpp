// The records of an export print from their bytes alone; each must print as
// its view prints it, wherever the record lies: whole in the image, cut by
// its end, or past it.

#include "cli/DecodedNames.h"
#include "cli/FieldPrinter.h"
#include "cli/ImageRecords.h"
#include "cli/KeptRecordBytes.h"
#include "cli/ListedRecordPrinter.h"
#include "cli/RecordViews.h"
#include "cli/TextBuffer.h"
#include "core/demo/DemoBuilder.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotLayout.h"
#include "core/record/RecordLayout.h"
#include "core/unit/UnitLayout.h"
#include "core/weapon/UnitWeaponList.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace starfall {
namespace {

// What `write` prints as one element of a list.
std::string printed(const std::function<void(cli::JsonStream&)>& write) {
    std::ostringstream text;
    {
        cli::JsonStream out(text);
        out.beginArray();
        write(out);
        out.endArray();
        out.finish();
    }
    return text.str();
}

std::string printedText(const cli::PrintValue& value) {
    cli::TextBuffer text;
    value.appendTo(text, 0);
    return std::string(text.view());
}

class ListedRecordPrinterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        demo::writeDemo(s_dir->dir());
    }
    static void TearDownTestSuite() { delete s_dir; }

    // Every entry of both lists printed both ways, one printer for them all
    // (as an export has), in `image`.
    static void expectViewsPrinted(const std::string& image, const NameList& units,
                                   const NameList& pilots, const std::string& what) {
        cli::NestedWriter writer;
        cli::ListedRecordPrinter printer(image, writer);
        for (std::size_t i = 0; i < units.entries.size(); ++i) {
            EXPECT_EQ(printed([&](cli::JsonStream& out) { printer.unit(units, i, out); }),
                      printed([&](cli::JsonStream& out) {
                          cli::unitView(image, units, i)->write(out, writer);
                      }))
                << what << ": unit " << i;
        }
        for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
            EXPECT_EQ(printed([&](cli::JsonStream& out) { printer.pilot(pilots, i, out); }),
                      printed([&](cli::JsonStream& out) {
                          cli::pilotView(image, pilots, i)->write(out, writer);
                      }))
                << what << ": pilot " << i;
            if (!cli::hasSkillTable(pilots, i))
                continue;
            EXPECT_EQ(printed([&](cli::JsonStream& out) { printer.skillTable(pilots, i, out); }),
                      printed([&](cli::JsonStream& out) {
                          cli::skillTableView(image, pilots, i)->write(out, writer);
                      }))
                << what << ": skill table " << i;
        }
        for (const int number : cli::listedWeapons(image, s_dir->dir())) {
            EXPECT_EQ(printed([&](cli::JsonStream& out) { printer.weapon(number, out); }),
                      printed([&](cli::JsonStream& out) {
                          cli::weaponView(image, number)->write(out, writer);
                      }))
                << what << ": weapon " << number;
        }
        EXPECT_EQ(
            printed([&](cli::JsonStream& out) { printer.upgradeTable(out); }),
            printed([&](cli::JsonStream& out) { cli::upgradeView(image)->write(out, writer); }))
            << what << ": upgrade table";
    }

    static inline test::TempDir* s_dir = nullptr;
};

TEST_F(ListedRecordPrinterTest, PrintsAsTheViewsWhereverTheRecordsLie) {
    const std::string image = s_dir->file(demo::kDemoImageName);
    NameList units = loadNameList(s_dir->dir(), ListKind::Units);
    NameList pilots = loadNameList(s_dir->dir(), ListKind::Pilots);
    ASSERT_FALSE(units.entries.empty());
    ASSERT_FALSE(pilots.entries.empty());
    // Entries far past the end of any image, one the lists name again, and
    // the first name at every other entry's address: some records lie where
    // their name says as well as their address.
    for (NameList* list : {&units, &pilots}) {
        const std::size_t count = list->entries.size();
        const std::string first = list->entries.front().name;
        list->entries.push_back({first, "2000000000"});
        list->entries.push_back(list->entries.front());
        for (std::size_t i = 1; i < count; ++i)
            list->entries.push_back({first, list->entries[i].addressText});
    }
    {
        const cli::DecodedNames names;
        expectViewsPrinted(image, units, pilots, "whole image, names decoded once");
    }
    expectViewsPrinted(image, units, pilots, "whole image");

    // Cut inside a record of each list, so that records lie whole, in part
    // and wholly past the end.
    for (const NameList* list : {&units, &pilots}) {
        const test::TempDir cut;
        const std::string shorter = cut.file("cut.img");
        std::filesystem::copy_file(image, shorter);
        std::filesystem::resize_file(shorter, static_cast<std::uintmax_t>(
                                                  list->positionOf(list->entries[1]) + 3));
        expectViewsPrinted(shorter, units, pilots, "cut image");
    }
}

// A record's bytes are kept by list and entry. Records that meet in a slot
// give way to each other, and a read that fails keeps nothing: each look-up
// gives the bytes a read of that record gives, however few the slots.
TEST_F(ListedRecordPrinterTest, KeptRecordBytesAreTheRecordsOwn) {
    using List = cli::KeptRecordBytes::List;
    const std::string image = s_dir->file(demo::kDemoImageName);
    const NameList units = loadNameList(s_dir->dir(), ListKind::Units);
    const NameList pilots = loadNameList(s_dir->dir(), ListKind::Pilots);
    const auto unitAt = [&](std::size_t i) {
        return unitRecordPositions(UnitPlace::fromList(units, i));
    };
    const auto pilotAt = [&](std::size_t i) {
        return pilotRecordPositions(PilotReference::fromList(pilots, i));
    };
    for (const std::size_t slots : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
        cli::KeptRecordBytes kept(slots);
        for (int round = 0; round < 2; ++round) {
            for (std::size_t i = 0; i < units.entries.size() && i < pilots.entries.size(); ++i) {
                EXPECT_EQ(kept.bytes(image, List::Units, units, units.entries[i],
                                     [&] { return unitAt(i); }),
                          readBytes(image, unitAt(i)))
                    << slots << " slots, unit " << i;
                EXPECT_EQ(kept.bytes(image, List::Pilots, pilots, pilots.entries[i],
                                     [&] { return pilotAt(i); }),
                          readBytes(image, pilotAt(i)))
                    << slots << " slots, pilot " << i;
                // An entry not met before, first read where nothing can be.
                const NameListEntry unread{pilots.entries[i].name, "r" + std::to_string(round)};
                EXPECT_THROW((void)kept.bytes(image, List::Pilots, pilots, unread,
                                              [] { return std::vector<Position>{-1}; }),
                             CoreError);
                EXPECT_EQ(
                    kept.bytes(image, List::Pilots, pilots, unread, [&] { return pilotAt(i); }),
                    readBytes(image, pilotAt(i)))
                    << slots << " slots, pilot " << i << " after a failed read";
            }
        }
    }
}

// An export lists each weapon that some unit's list holds. A unit's list is
// read from its entry's name and address: entries named again add nothing,
// while another name at the same address (here a unit whose list lies one
// sector gap on) is read for itself.
TEST_F(ListedRecordPrinterTest, ListsTheWeaponsOfEveryNameAndAddress) {
    const std::string image = s_dir->file(demo::kDemoImageName);
    const std::string demoUnits = test::readFile(s_dir->file("unitlist.ini"));
    const NameList demo = loadNameList(s_dir->dir(), ListKind::Units);
    const auto split = std::find_if(demo.entries.begin(), demo.entries.end(),
                                    [](const NameListEntry& e) { return e.address() == 1510; });
    ASSERT_NE(split, demo.entries.end());
    const std::string sameAddress = demo.entries.front().name + ", 1510\n";

    const test::TempDir dir;
    for (const char* list : {"charlist.ini", "weapon.ini"})
        std::filesystem::copy_file(s_dir->file(list), dir.file(list));
    dir.write("unitlist.ini", demoUnits + sameAddress);
    const NameList units = loadNameList(dir.dir(), ListKind::Units);
    std::set<int> expected;
    for (const NameListEntry& entry : units.entries) {
        for (const int number : loadWeaponNumbers(image, entry.name, entry.addressText,
                                                  unitWeaponListStart(units.positionOf(entry))))
            expected.insert(number);
    }
    ASSERT_NE(expected, cli::listedWeapons(image, s_dir->dir()));

    // The demo's entries once more, without its comment and header lines.
    const std::string again = demoUnits.substr(demoUnits.find('\n', demoUnits.find('\n') + 1) + 1);
    dir.write("unitlist.ini", demoUnits + sameAddress + again);
    ASSERT_EQ(loadNameList(dir.dir(), ListKind::Units).entries.size(), 2 * demo.entries.size() + 1);
    EXPECT_EQ(cli::listedWeapons(image, dir.dir()), expected);
}

// The printer's own reading of a table, on codes a demo need not hold: an
// item stored under two codes reads as the first, a code of no item prints
// as the code, a number's codes are kept apart as they are met, and past the
// end each prints what its codec reads there. Words that share a low byte
// come in turn, each read as itself.
TEST(FieldPrinterTest, PrintsWhatTheCodecsRead) {
    struct Record {
        std::string byte;
        std::string word;
        std::string low;
        ListChoice pick = ListChoice::none();
        ListChoice none = ListChoice::none();
        LoadedBytes loaded;
    };
    static constexpr std::array<std::string_view, 3> kItems = {"a", "b", "c"};
    const RecordLayout<Record> layout(FieldTable<Record>{
        numberField<Record>(
            "byte", byteAt(0), kByteRange, [](auto& r) -> auto& { return r.byte; }),
        numberField<Record>(
            "word", wordAt(1), kWordRange, [](auto& r) -> auto& { return r.word; }),
        numberField<Record>(
            "low", {{3, 0x0F}}, kByteRange, [](auto& r) -> auto& { return r.low; },
            signedByteTextCodec()),
        choiceField<Record>(
            "pick", {3, 0x30}, kItems, {2, 1, 1}, [](auto& r) -> auto& { return r.pick; }),
        choiceField<Record>(
            "none", {4, 0xFF}, kItems, {0, 1, 2}, [](auto& r) -> auto& { return r.none; },
            noneAtEnd),
    });
    using Bytes = std::vector<int>;
    using Expected = std::vector<cli::PrintValue>;
    const auto text = [](std::string_view s) { return cli::PrintValue(s); };
    const auto n = [](std::int64_t v) { return cli::PrintValue(v); };
    const std::pair<Bytes, Expected> cases[] = {
        {{7, 0x34, 0x12, 0x1F, 2}, {n(7), n(0x1234), n(15), text("b"), text("c")}},
        {{1, 0x34, 0x00, 0x00, 0}, {n(1), n(0x34), n(0), n(0), text("a")}},
        {{255, 0, 0, 0x20, 9}, {n(255), n(0), n(0), text("a"), n(9)}},
        {{7, 0xFF, 0xFF, 0x3E, 0}, {n(7), n(0xFFFF), n(14), n(3), text("a")}},
        {{3, 0x01, -1, -1, -1}, {n(3), n(0xFF01), n(15), n(3), nullptr}},
        {{-1, -1, -1, -1, -1}, {n(-1), n(0xFFFF), n(15), n(3), nullptr}},
        {{}, {n(-1), n(0xFFFF), n(15), n(3), nullptr}},
        {{8, 0x34, 0x12, 0x10, 1}, {n(8), n(0x1234), n(0), text("b"), text("b")}},
    };
    cli::FieldPrinter printer(layout.fields());
    for (int round = 0; round < 2; ++round) {
        for (std::size_t c = 0; c < std::size(cases); ++c) {
            const auto& [bytes, expected] = cases[c];
            std::vector<cli::DottedValue> values;
            printer.append(bytes, values);
            ASSERT_EQ(values.size(), expected.size());
            for (std::size_t i = 0; i < values.size(); ++i) {
                EXPECT_EQ(values[i].key, layout.fields()[i].key);
                EXPECT_EQ(printedText(values[i].value), expected[i].json().dump())
                    << values[i].key << " of case " << c;
            }
            // The first fields alone print as they print among all.
            for (const std::size_t count : {std::size_t{0}, std::size_t{2}, values.size() + 3}) {
                std::vector<cli::DottedValue> first;
                printer.append(bytes, first, count);
                ASSERT_EQ(first.size(), std::min(count, values.size()));
                for (std::size_t i = 0; i < first.size(); ++i) {
                    EXPECT_EQ(first[i].key, values[i].key);
                    EXPECT_EQ(printedText(first[i].value), printedText(values[i].value))
                        << first[i].key << " of case " << c << ", " << count << " fields";
                }
            }
        }
    }
}

// A word keeps few recent codes at first and more once they have all given
// way; codes that fall in one slot before or after, met in turn and again,
// each print as themselves.
TEST(FieldPrinterTest, PrintsEveryWordAsItselfAsItsRecentCodesGrow) {
    struct Record {
        std::string word;
        LoadedBytes loaded;
    };
    const RecordLayout<Record> layout(FieldTable<Record>{numberField<Record>(
        "word", wordAt(0), kWordRange, [](auto& r) -> auto& { return r.word; })});
    std::vector<int> codes;
    for (int i = 0; i < 40; ++i)
        codes.insert(codes.end(), {16 * i, 256 * i + 3, 16 * i});
    cli::FieldPrinter printer(layout.fields());
    for (int round = 0; round < 2; ++round) {
        for (const int code : codes) {
            std::vector<cli::DottedValue> values;
            printer.append(std::vector<int>{code & 0xFF, code >> 8}, values);
            ASSERT_EQ(values.size(), 1U);
            cli::TextBuffer text;
            values[0].value.appendTo(text, 0);
            EXPECT_EQ(text.view(), std::to_string(code)) << "round " << round;
        }
    }
}

// A number is kept as printed for its code; one too long to keep is printed
// whole every time, and a code met again prints the same.
TEST(FieldPrinterTest, PrintsNumbersTooLongToKeepWhole) {
    struct Record {
        std::string small;
        std::string large;
        LoadedBytes loaded;
    };
    FieldCodec large = byteTextCodec();
    large.decode = [](StoredBits bits) -> FieldValue {
        return std::to_string(-1234567890LL - bits.value);
    };
    const RecordLayout<Record> layout(FieldTable<Record>{
        numberField<Record>("small", byteAt(0), kByteRange,
                            [](auto& r) -> auto& { return r.small; }),
        numberField<Record>("large", byteAt(1), kByteRange,
                            [](auto& r) -> auto& { return r.large; }, large),
    });
    cli::FieldPrinter printer(layout.fields());
    for (const auto& [bytes, expected] : std::vector<std::pair<std::vector<int>, std::string>>{
             {{200, 5}, "200 -1234567895"},
             {{7, 6}, "7 -1234567896"},
             {{200, 5}, "200 -1234567895"}}) {
        std::vector<cli::DottedValue> values;
        printer.append(bytes, values);
        ASSERT_EQ(values.size(), 2U);
        cli::TextBuffer text;
        values[0].value.appendTo(text, 0);
        text += ' ';
        values[1].value.appendTo(text, 0);
        EXPECT_EQ(text.view(), expected);
    }
}

// Printers of one export share what the codes of fields read alike print
// as. Each field must still print its own value: bytes read by one codec,
// words whose codes share a low byte in one record, lists of the same items,
// and the same fields in a second printer.
TEST(FieldPrinterTest, FieldsReadAlikePrintTheirOwnValues) {
    struct Record {
        std::string a, b, c, d;
        ListChoice e = ListChoice::none(), f = ListChoice::none();
        LoadedBytes loaded;
    };
    static constexpr std::array<std::string_view, 3> kItems = {"x", "y", "z"};
    const auto byte = [](const char* key, RecordOffset at, std::string Record::*member) {
        return numberField<Record>(key, byteAt(at), kByteRange,
                                   [member](auto& r) -> auto& { return r.*member; });
    };
    const auto word = [](const char* key, RecordOffset at, std::string Record::*member) {
        return numberField<Record>(key, wordAt(at), kWordRange,
                                   [member](auto& r) -> auto& { return r.*member; });
    };
    const auto list = [](const char* key, RecordOffset at, ListChoice Record::*member) {
        return choiceField<Record>(key, {at, 0xFF}, kItems, {0, 1, 2},
                                   [member](auto& r) -> auto& { return r.*member; });
    };
    const RecordLayout<Record> layout(FieldTable<Record>{
        byte("a", 0, &Record::a), byte("b", 1, &Record::b), word("c", 2, &Record::c),
        word("d", 4, &Record::d), list("e", 6, &Record::e), list("f", 7, &Record::f)});
    cli::PrintedCodes codes;
    cli::FieldPrinter first(layout.fields(), codes);
    cli::FieldPrinter second(layout.fields(), codes);
    const std::pair<std::vector<int>, std::string> cases[] = {
        {{7, 200, 1500 & 0xFF, 1500 >> 8, 220, 0, 0, 2}, "7 200 1500 220 \"x\" \"z\""},
        {{200, 7, 220, 0, 1500 & 0xFF, 1500 >> 8, 2, 9}, "200 7 220 1500 \"z\" 9"},
    };
    for (cli::FieldPrinter* printer : {&first, &second, &first}) {
        for (const auto& [bytes, expected] : cases) {
            std::vector<cli::DottedValue> values;
            printer->append(bytes, values);
            cli::TextBuffer text;
            for (const cli::DottedValue& value : values) {
                if (text.size() != 0)
                    text += ' ';
                value.value.appendTo(text, 0);
            }
            EXPECT_EQ(text.view(), expected);
        }
    }
}

} // namespace
} // namespace starfall
