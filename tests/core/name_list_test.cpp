#include "core/io/CoreError.h"
#include "core/lists/NameListReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include <string>

namespace starfall {
namespace {

struct Expected {
    std::string name;
    std::int32_t address;
};

void expectEntries(const NameList& list, const std::vector<Expected>& expected) {
    ASSERT_EQ(list.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.entries[i].name, expected[i].name) << "entry " << i;
        EXPECT_EQ(list.entries[i].address(), expected[i].address) << "entry " << i;
    }
}

TEST(NameList, ReadsHeaderAndEntriesSkippingComments) {
    const NameList list = parseNameList("; units\nBASE 1000\nAlpha, 1234\n;gap\nBeta, 20\n");
    EXPECT_EQ(list.baseOffset, 1000);
    expectEntries(list, {{"Alpha", 1234}, {"Beta", 20}});
    EXPECT_EQ(list.entries[0].addressText, "1234\n");
    EXPECT_EQ(list.positionOf(list.entries[0]), 2234);
}

TEST(NameList, TrickyEntryLines) {
    const struct {
        const char* line;
        Expected entry;
    } rows[] = {
        {"Alpha, 1234", {"Alpha", 1234}}, // no final line feed
        {"Alpha,1234\n", {"Alpha", 234}}, // no blank: the first digit is lost
        {"x1234\n", {"", 1234}},          // no comma: from the second character
        {"abc\n", {"", 0}},
        {"\n", {"", 0}},                 // blank line: position = base offset
        {"Al,pha, 12\n", {"Al", 0}},     // the first comma ends the name
        {"Alpha, 0x10\n", {"Alpha", 0}}, // decimal only
        {"Alpha, -16\n", {"Alpha", -16}},
        {"Alpha,", {"Alpha", 0}}, // nothing after the comma
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        expectEntries(parseNameList(std::string("H 0\n") + row.line), {row.entry});
    }
}

TEST(NameList, HeaderRules) {
    EXPECT_EQ(parseNameList("anything -77 more\n").baseOffset, -77);
    EXPECT_EQ(parseNameList("onlyone\nA, 1\n").baseOffset, 0);
    EXPECT_EQ(parseNameList("\nA, 1\n").baseOffset, 0); // a blank first line is the header
    EXPECT_EQ(parseNameList("H 0x400\n").baseOffset, 0);
    EXPECT_TRUE(parseNameList("; only\nH 5\n;comments\n").entries.empty());
    EXPECT_TRUE(parseNameList("").entries.empty());
}

TEST(NameList, CrLfIsOneLineFeed) {
    const NameList list = parseNameList("H 10\r\nAlpha, 1234\r\nBeta, 5\r\n");
    EXPECT_EQ(list.baseOffset, 10);
    expectEntries(list, {{"Alpha", 1234}, {"Beta", 5}});
    EXPECT_EQ(list.entries[1].addressText, "5\n");
}

TEST(NameList, LinesLongerThanTheBufferAreSplit) {
    // 78 characters and the line feed fit; one more character makes two lines.
    const std::string fits = std::string(70, 'n') + ", 123456\n";
    ASSERT_EQ(fits.size(), 79u);
    expectEntries(parseNameList("H 0\n" + fits), {{std::string(70, 'n'), 123456}});

    const std::string tooLong = std::string(72, 'n') + ", 123456\n";
    // First 79 characters: the name and ", 12345"; then "6\n" is a line of its own.
    expectEntries(parseNameList("H 0\n" + tooLong), {{std::string(72, 'n'), 12345}, {"", 0}});
    // The CR of a CR LF does not count toward the 79.
    const std::string crlf = std::string(70, 'n') + ", 123456\r\n";
    expectEntries(parseNameList("H 0\n" + crlf), {{std::string(70, 'n'), 123456}});
}

TEST(NameList, NamesStayRawBytes) {
    const NameList list = parseNameList("H 0\n\xB4\xDC\xC4\xED\xB0\xA1, 8\n\xFF\xFE, 9\n");
    expectEntries(list, {{"\xB4\xDC\xC4\xED\xB0\xA1", 8}, {"\xFF\xFE", 9}});
}

// A command after one entry reads a long list only as far as that entry; what
// it gets must be what parsing the whole file gives, wherever the reads stop.
TEST(NameList, ReadingUntilAnEntryGivesWhatTheWholeFileGives) {
    std::string text = "; long list\r\nBASE 1000\r\n";
    for (int i = 0; text.size() < 300 * 1024; ++i) {
        text += "name" + std::to_string(i) + ", " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
        if (i % 97 == 0)
            text += std::string(150, 'L') + ", 7\n"; // split into lines of 79 bytes
        if (i % 89 == 0)
            text += "nul\0cut, 5\n;comment\n";
    }
    test::TempDir dir;
    dir.write("unitlist.ini", text);
    const NameList whole = parseNameList(text);
    const std::size_t last = whole.entries.size() - 1;
    // The entries whose lines the first reads (16 KiB, then 32 more) cut.
    const std::size_t cutFirst = parseNameList(text.substr(0, 16 * 1024)).entries.size() - 1;
    const std::size_t cutSecond = parseNameList(text.substr(0, 48 * 1024)).entries.size() - 1;
    for (const std::size_t target : {std::size_t{0}, cutFirst, cutSecond, last, last + 1}) {
        const EntryWanted wanted = [target](std::size_t index, const NameListEntry&) {
            return index == target;
        };
        const NameList read = loadNameListUntil(dir.dir(), ListKind::Units, wanted);
        const NameList parsed = parseNameListUntil(text, wanted);
        EXPECT_EQ(read.baseOffset, parsed.baseOffset);
        EXPECT_EQ(read.entries, parsed.entries) << "until entry " << target;
        EXPECT_EQ(read.entries.size(), std::min(target + 1, whole.entries.size()));
    }
}

TEST(NameList, MissingFileIsReportedWithItsName) {
    test::TempDir dir;
    try {
        (void)loadNameList(dir.dir(), ListKind::Units);
        FAIL() << "no error";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::ListFileMissing);
        EXPECT_EQ(error.detail(), "unitlist.ini");
        EXPECT_TRUE(error.endsProgram());
    }
    dir.write("charlist.ini", "H 3\nA, 4\n");
    EXPECT_EQ(loadNameList(dir.dir(), ListKind::Pilots)
                  .positionOf(loadNameList(dir.dir(), ListKind::Pilots).entries.at(0)),
              7);
}

TEST(NameList, AListThatIsNotARegularFileIsMissing) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("unitlist.ini"));
    ASSERT_EQ(::mkfifo(dir.file("charlist.ini").c_str(), 0600), 0); // would block a plain open
    for (const ListKind kind : {ListKind::Units, ListKind::Pilots}) {
        try {
            (void)loadNameList(dir.dir(), kind);
            ADD_FAILURE() << "no error for " << listFileName(kind);
        } catch (const CoreError& error) {
            EXPECT_EQ(error.failure(), Failure::ListFileMissing);
            EXPECT_EQ(error.detail(), listFileName(kind));
        }
    }
}

} // namespace
} // namespace starfall
