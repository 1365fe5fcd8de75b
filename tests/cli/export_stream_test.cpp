// export writes its document a record at a time; it must print the very
// bytes the whole document prints, on the demo and on lists far larger.

#include "cli/CliContext.h"
#include "cli/DottedValues.h"
#include "cli/ImageRecords.h"
#include "cli/JsonStream.h"
#include "cli/ListEntriesVerb.h"
#include "cli/RecordViews.h"
#include "cli/TextBuffer.h"
#include "core/demo/DemoBuilder.h"
#include "core/lists/NameListReader.h"
#include "core/text/RecordNames.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;

// One demo for the whole suite: it is 46 MB.
class ExportStreamTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        demo::writeDemo(s_dir->dir());
    }
    static void TearDownTestSuite() { delete s_dir; }

    static std::string image() { return s_dir->file(demo::kDemoImageName); }

    // The document as one value, printed as every command prints.
    static std::string printedWhole(const std::string& directory) {
        std::ostringstream out;
        const cli::CliContext context{directory, &out, nullptr};
        context.print(cli::loadImageRecords(image(), directory).json());
        return out.str();
    }
    static std::string exported(const std::string& directory) {
        const test::ProcessResult result =
            test::runCliHere({"--dir", directory, "export", image()});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    // LIST's header, then its entries repeated up to `count`, each line
    // optionally prefixed with `prefix` (raw bytes).
    static void repeatList(const test::TempDir& into, const std::string& list, std::size_t count,
                           const std::string& prefix) {
        std::istringstream lines(readFile(s_dir->file(list)));
        std::string line;
        std::string header;
        std::vector<std::string> entries;
        while (std::getline(lines, line)) {
            if (line.empty() || line.front() == ';')
                continue;
            if (header.empty())
                header = line;
            else
                entries.push_back(line);
        }
        std::string text = header + "\n";
        for (std::size_t i = 0; i < count && !entries.empty(); ++i)
            text += (i % 3 == 0 ? prefix : "") + entries[i % entries.size()] + "\n";
        (void)into.write(list, text);
    }

    static inline test::TempDir* s_dir = nullptr;
};

TEST_F(ExportStreamTest, DemoPrintsAsTheWholeDocumentDoes) {
    EXPECT_EQ(exported(s_dir->dir()), printedWhole(s_dir->dir()));
}

// import edits a copy of each record as read; the copy must read as the
// record decoded again from its bytes, for every kind.
TEST_F(ExportStreamTest, ACopyReadsAsTheRecordReadAgain) {
    const cli::ImageRecords records = cli::loadImageRecords(image(), s_dir->dir());
    records.visit([](std::string_view section, const cli::RecordView& record) {
        EXPECT_EQ(record.copy()->json(), record.withBytes({})->json())
            << section << " " << record.label();
        EXPECT_EQ(record.copy()->savePlan(), record.withBytes({})->savePlan()) << record.label();
    });
}

// A record's label is worked out when a message asks for it: it must name
// that record, in a copy and a re-read too, whatever was made after it.
TEST_F(ExportStreamTest, EveryRecordIsLabelledWithItsOwnName) {
    const cli::ImageRecords records = cli::loadImageRecords(image(), s_dir->dir());
    const NameList units = loadNameList(s_dir->dir(), ListKind::Units);
    const NameList pilots = loadNameList(s_dir->dir(), ListKind::Pilots);
    std::vector<std::string> expected;
    for (const NameListEntry& entry : units.entries)
        expected.push_back(messages::unitRecordLabel(entry.name));
    for (const NameListEntry& entry : pilots.entries)
        expected.push_back(messages::pilotRecordLabel(entry.name));
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        if (cli::hasSkillTable(pilots, i))
            expected.push_back(messages::skillTableLabel(pilots.entries[i].name));
    }
    for (const auto& weapon : records.weapons)
        expected.push_back(messages::weaponRecordLabel(weapon->fixed()["number"].get<int>()));
    expected.push_back(messages::upgradeTableLabel());

    std::size_t at = 0;
    records.visit([&](std::string_view section, const cli::RecordView& record) {
        ASSERT_LT(at, expected.size()) << section;
        EXPECT_EQ(record.copy()->label(), expected[at]) << section << " " << at;
        EXPECT_EQ(record.label(), expected[at]) << section << " " << at;
        EXPECT_EQ(record.withBytes({})->label(), expected[at]) << section << " " << at;
        ++at;
    });
    EXPECT_EQ(at, expected.size());
}

// Thousands of entries; some names carry bytes that are no code page 949
// (printed as U+FFFD), and a list of no entries prints empty sections.
TEST_F(ExportStreamTest, LargeListsAndOddNamesPrintAsTheWholeDocumentDoes) {
    struct Case {
        const char* what;
        std::size_t units;
        std::size_t pilots;
        std::string prefix;
    };
    const Case cases[] = {
        {"large lists", 3000, 2500, ""},
        {"names with stray bytes", 40, 40, "\xFF\x80 \"q\"\\ "},
        {"no pilots", 20, 0, ""},
        {"no units", 0, 20, ""},
    };
    for (const Case& c : cases) {
        test::TempDir lists;
        (void)lists.write("weapon.ini", readFile(s_dir->file("weapon.ini")));
        repeatList(lists, "unitlist.ini", c.units, c.prefix);
        repeatList(lists, "charlist.ini", c.pilots, c.prefix);
        const std::string whole = printedWhole(lists.dir());
        EXPECT_EQ(exported(lists.dir()), whole) << c.what;
        json parsed;
        EXPECT_NO_THROW(parsed = json::parse(whole)) << c.what;
    }
}

// `units` and `pilots` print their entries without building them; the text
// must be the whole document's, whatever bytes the names hold.
TEST(ListEntriesTest, PrintAsTheWholeDocumentPrints) {
    std::string controls;
    for (char c = 1; c < 0x20; ++c)
        controls += c;
    const std::vector<std::string> names = {"\xBD\xBA\xC5\xB8 1", "",         "\"q\" \\ /",
                                            "tab\there \x01\x7F", "\xFF\x80", "end\xB0",
                                            "\xB0\x20mid",        controls};
    // Names are decoded in batches: the larger list spans several.
    for (const std::size_t size : {names.size(), std::size_t{0}, std::size_t{9001}}) {
        NameList list;
        list.baseOffset = 46320842;
        for (std::size_t i = 0; i < size; ++i)
            list.entries.push_back({names[i % names.size()], std::to_string(100 * i) + "\n"});
        json entries = json::array();
        for (std::size_t i = 0; i < list.entries.size(); ++i)
            entries.push_back({{"index", i},
                               {"name", cli::nameJson(list.entries[i].name)},
                               {"address", list.entries[i].address()},
                               {"position", list.positionOf(list.entries[i])}});
        std::ostringstream whole;
        const cli::CliContext context{"", &whole, nullptr};
        context.print({{"base", list.baseOffset}, {"entries", entries}});

        std::ostringstream streamed;
        cli::writeListEntries(list, streamed);
        EXPECT_EQ(streamed.str(), whole.str());
    }
}

// The writer's text, built up from empty by pieces of every size (none, a
// byte, each short size, more than it holds), cut back and built on again,
// must read as the same pieces appended to a string.
TEST(TextBufferTest, HoldsWhatWasAppended) {
    cli::TextBuffer buffer;
    std::string expected;
    EXPECT_EQ(buffer.view(), expected);
    const std::string large(5000, 'x');
    for (int round = 0; round < 3; ++round) {
        for (const std::string_view piece : {std::string_view(), std::string_view("a"),
                                             std::string_view("\"\n"), std::string_view(large)}) {
            buffer += piece;
            expected += piece;
            buffer += ',';
            expected += ',';
            buffer.append(static_cast<std::size_t>(round) * 300, ' ');
            expected.append(static_cast<std::size_t>(round) * 300, ' ');
            ASSERT_EQ(buffer.view(), expected);
        }
        buffer.truncate(expected.size() / 2);
        expected.resize(expected.size() / 2);
        EXPECT_EQ(buffer.view(), expected);
    }
    // Short pieces are copied by their size: every size up to past a word pair.
    const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (std::size_t size = 0; size <= letters.size(); ++size) {
        buffer.append(letters.data(), size);
        expected.append(letters.data(), size);
    }
    EXPECT_EQ(buffer.view(), expected);
    buffer.truncate(expected.size() + 10); // never longer
    EXPECT_EQ(buffer.size(), expected.size());
    buffer.clear();
    EXPECT_EQ(buffer.view(), "");
}

// The writer alone, on shapes the export does not make: empty and nested
// values at every depth must come out as the whole value prints.
TEST(JsonStreamTest, WritesAnyShapeAsTheWholeValuePrints) {
    const json values[] = {
        json::object(),
        json::array(),
        json{{"a", json::array()}, {"b", json::object()}, {"c", {{"d", {1, 2, {{"e", "x\ny"}}}}}}},
        json{{"only", 1}},
    };
    for (const json& inner : values) {
        std::ostringstream streamed;
        cli::JsonStream out(streamed);
        out.beginObject();
        out.key("first");
        out.beginArray();
        out.value(inner);
        out.value(inner);
        out.endArray();
        out.key("none");
        out.beginArray();
        out.endArray();
        out.key("second");
        out.value(inner);
        out.endObject();
        out.finish();

        std::ostringstream whole;
        const cli::CliContext context{"", &whole, nullptr};
        context.print({{"first", {inner, inner}}, {"none", json::array()}, {"second", inner}});
        EXPECT_EQ(streamed.str(), whole.str()) << inner.dump();
    }
}

// A stream that keeps its text, begun again, prints each piece as a new
// stream at that depth prints it, whatever the piece before left open.
TEST(JsonStreamTest, ARestartedStreamPrintsAsANewOne) {
    const auto piece = [](cli::JsonStream& out, int shape) {
        out.beginArray();
        if (shape > 0) {
            out.value(std::int64_t{shape});
            out.beginObject();
            out.key("k");
            out.value(json{{"a", 1}});
            if (shape > 1)
                return; // left open
            out.endObject();
        }
        out.endArray();
    };
    cli::JsonStream kept(0);
    for (const std::size_t depth : {0, 3, 1}) {
        for (const int shape : {2, 0, 1, 2}) {
            cli::JsonStream fresh(depth);
            piece(fresh, shape);
            kept.restart(depth);
            piece(kept, shape);
            EXPECT_EQ(kept.keptText(), fresh.takeText())
                << "depth " << depth << ", shape " << shape;
        }
    }
}

// A record's values written straight from their dotted keys must print as
// the object setAtPath builds from them; keys that build no plain tree are
// left to that object (nothing written).
TEST(DottedValuesTest, WritesWhatTheBuiltObjectPrints) {
    using Values = std::vector<std::pair<std::string, json>>;
    struct Case {
        const char* what;
        Values values;
        bool written;
    };
    const Case cases[] = {
        {"nothing", {}, true},
        {"names sort as bytes, positions as numbers",
         {{"b", 1},
          {"B", 2},
          {"\xED\x95\x9C", 3},
          {"a.10", 4},
          {"a.2", 5},
          {"a.1", 6},
          {"a.3", 7},
          {"a.4", 8},
          {"a.5", 9},
          {"a.6", 0},
          {"a.7", -1},
          {"a.8", 2},
          {"a.9", 3}},
         true},
        {"lists of objects in objects",
         {{"slots.2.skill", "NT Lv1"},
          {"slots.1.level", 3},
          {"slots.1.skill", nullptr},
          {"slots.2.level", 18446744073709551615u},
          {"name", "x"},
          {"slots.1.locked", true}},
         true},
        {"whole values",
         {{"slots", json::array()}, {"o", json::object()}, {"n", {{"k", {1}}}}, {"f", 2.5}},
         true},
        {"texts to escape or replace",
         {{"q", "\"q\" \\ /"},
          {"c", "tab\there \x01\x7F"},
          {"bad", "\xFF\x80 \xB0"},
          {"overlong", "\xC0\xAF \xE0\x80\xAF"},
          {"surrogate", "\xED\xA0\x80"},
          {"cut", "\xE5\xBC"},
          {"past", "\xF4\x90\x80\x80"},
          {"top", "\xF4\x8F\xBF\xBF"},
          {"k\x01\xFF", "key to escape"}},
         true},
        {"a key twice", {{"a", 1}, {"a", 2}}, false},
        {"a key inside a value", {{"a", 1}, {"a.b", 2}}, false},
        {"names and positions in one object", {{"a.1", 1}, {"a.b", 2}}, false},
        {"a position left out", {{"a.1", 1}, {"a.3", 2}}, false},
        {"a position at the top", {{"1", 1}}, false},
    };
    // One writer for every case, as for every record of an export, and each
    // case twice: an order kept from other keys must not be used, and one
    // kept from the same keys must be.
    cli::NestedWriter writer;
    for (const Case& c : cases) {
        for (int round = 0; round < 2; ++round) {
            std::vector<cli::DottedValue> values;
            json built = json::object();
            for (const auto& [key, value] : c.values) {
                values.push_back({key, value});
                cli::setAtPath(built, key, value);
            }
            std::ostringstream streamed;
            cli::JsonStream out(streamed);
            out.beginArray();
            EXPECT_EQ(writer.write(out, values), c.written) << c.what;
            EXPECT_EQ(cli::writeNested(out, values), c.written) << c.what;
            out.endArray();
            out.finish();

            std::ostringstream whole;
            const cli::CliContext context{"", &whole, nullptr};
            context.print(c.written ? json::array({built, built}) : json::array());
            EXPECT_EQ(streamed.str(), whole.str()) << c.what;
        }
    }
}

// One writer keeps its plans per depth as well as per keys: the same keys
// written deeper, with whole lists and objects among the values, must indent
// as the whole value prints.
TEST(DottedValuesTest, TheSameKeysPrintAtEveryDepth) {
    const std::vector<std::pair<std::string, json>> flat = {
        {"n.1", 1},
        {"n.2", "x"},
        {"list", {1, {{"k", "v"}}}},
        {"o.whole", {{"a", json::array()}, {"b", {1, 2}}}},
        {"z", nullptr}};
    json built = json::object();
    std::vector<cli::DottedValue> values;
    for (const auto& [key, value] : flat) {
        cli::setAtPath(built, key, value);
        values.push_back({key, value});
    }
    cli::NestedWriter writer;
    std::ostringstream streamed;
    cli::JsonStream out(streamed);
    out.beginArray();
    EXPECT_TRUE(writer.write(out, values));
    out.beginObject();
    out.key("deeper");
    EXPECT_TRUE(writer.write(out, values));
    out.key("deepest");
    out.beginArray();
    EXPECT_TRUE(writer.write(out, values));
    out.endArray();
    out.endObject();
    EXPECT_TRUE(writer.write(out, values));
    out.endArray();
    out.finish();

    std::ostringstream whole;
    const cli::CliContext context{"", &whole, nullptr};
    context.print(json::array({built, {{"deeper", built}, {"deepest", {built}}}, built}));
    EXPECT_EQ(streamed.str(), whole.str());
}

// Sets of keys a caller names are kept whatever their number: forty shapes
// of record in turn, each at two depths, print as each prints alone.
TEST(DottedValuesTest, NamedSetsPrintTheirOwnKeysHoweverManyTakeTurns) {
    constexpr std::size_t kShapes = 40;
    std::vector<std::vector<std::string>> keys(kShapes);
    std::vector<std::vector<cli::DottedValue>> records(kShapes);
    for (std::size_t shape = 0; shape < kShapes; ++shape) {
        for (std::size_t slot = 1; slot <= shape % 7 + 1; ++slot)
            keys[shape].push_back("slots." + std::to_string(slot) + ".skill");
        keys[shape].push_back("shape" + std::to_string(shape));
        for (std::size_t i = 0; i < keys[shape].size(); ++i)
            records[shape].push_back({keys[shape][i], static_cast<std::int64_t>(shape * 10 + i)});
    }
    cli::NestedWriter writer;
    std::ostringstream named;
    std::ostringstream alone;
    cli::JsonStream namedOut(named);
    cli::JsonStream aloneOut(alone);
    namedOut.beginArray();
    aloneOut.beginArray();
    for (int round = 0; round < 2; ++round) {
        for (std::size_t shape = 0; shape < kShapes; ++shape) {
            // Each set also one level deeper, where its indents differ.
            ASSERT_TRUE(writer.write(namedOut, records[shape], &records[shape]));
            ASSERT_TRUE(cli::writeNested(aloneOut, records[shape]));
            for (cli::JsonStream* out : {&namedOut, &aloneOut})
                out->beginArray();
            ASSERT_TRUE(writer.write(namedOut, records[shape], &records[shape]));
            ASSERT_TRUE(cli::writeNested(aloneOut, records[shape]));
            for (cli::JsonStream* out : {&namedOut, &aloneOut})
                out->endArray();
        }
    }
    for (cli::JsonStream* out : {&namedOut, &aloneOut}) {
        out->endArray();
        out->finish();
    }
    EXPECT_EQ(named.str(), alone.str());
    EXPECT_NE(named.str().find("\"shape39\": 395"), std::string::npos);
}

// A value printed without a JSON value of its own prints as that JSON value
// does, and after text already written (a text found not to be UTF-8 part
// way is printed again whole, leaving what came before it).
TEST(PrintValueTest, PrintsAsItsJsonValuePrints) {
    const json nested = {{"a", {1, 2}}, {"b", json::object()}};
    const std::string texts[] = {"",
                                 "plain",
                                 "\xED\x95\x9C\xEA\xB8\x80",
                                 "tab\there \"q\" \\ \x01\x7F",
                                 "tab\there, then \xFF",
                                 "\xE5\xBC",
                                 "\xED\xA0\x80 surrogate",
                                 "ok \xF0\x9F\x98\x80 \xF4\x90\x80\x80"};
    struct Case {
        cli::PrintValue value;
        json expected;
    };
    std::vector<Case> cases = {
        {nullptr, nullptr},
        {std::int64_t{0}, 0},
        {std::int64_t{-1}, -1},
        {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::min()},
        {std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max()},
        {nested, nested},
    };
    const json others[] = {true, false, 2.5, 18446744073709551615u, json::array()};
    for (const json& other : others)
        cases.push_back({other, other});
    for (const std::string& text : texts)
        cases.push_back({std::string_view(text), text});
    for (const Case& c : cases) {
        const std::string printed = c.expected.dump(2, ' ', false, json::error_handler_t::replace);
        cli::TextBuffer out;
        out += "before ";
        c.value.appendTo(out, 0);
        EXPECT_EQ(out.view(), "before " + printed);
        EXPECT_EQ(c.value.json(), c.expected) << printed;
    }
}

} // namespace
} // namespace starfall
