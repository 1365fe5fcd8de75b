// import parses its document as a stream, a record at a time; what it reads
// must be what the whole-document parse reads, and what it refuses must be
// refused in the same words and the same order.

#include "cli/CliContext.h"
#include "cli/ImportDocument.h"
#include "core/demo/DemoBuilder.h"
#include "core/io/CoreError.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace starfall {
namespace {

using nlohmann::json;

// The same values of the same types all the way down (== takes 1 and 1u
// and 1.0 as equal; a record's check does not).
void expectSame(const json& got, const json& expected, const std::string& where = "$") {
    ASSERT_EQ(got.type(), expected.type()) << where;
    if (!got.is_structured()) {
        EXPECT_EQ(got, expected) << where;
        return;
    }
    ASSERT_EQ(got.size(), expected.size()) << where;
    auto left = got.begin();
    for (auto right = expected.begin(); right != expected.end(); ++left, ++right) {
        if (got.is_object()) {
            ASSERT_EQ(left.key(), right.key()) << where;
        }
        expectSame(*left, *right, where + "/" + (got.is_object() ? left.key() : "#"));
    }
}

std::string refusal(const std::string& text) {
    try {
        (void)cli::parseImportDocument(text);
    } catch (const cli::UsageError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(ImportStream, ReadsWhatTheWholeParseReads) {
    for (const char* text : {
             R"({})", R"([])", R"(7)", R"("text")", R"(null)", R"([{"a": 1}, [2, [3]]])",
             R"({"units": [], "pilots": [{}]})",
             R"({"units": [{"index": 0, "hp": 1, "terrain": {"air": "A"}}, 5, [1, {}], null]})",
             R"({"upgrade": {"hp": [1, 2.5, -3, 18446744073709551615]}, "weapons": 3})",
             R"({"upgrade": [{"hp": 1}, []], "z": {"y": {"x": [true, false, null]}}})",
             R"({"b": [1], "a": [2], "c": "text \u00e9 \ud55c"})",
         }) {
        SCOPED_TRACE(text);
        expectSame(cli::parseImportDocument(text), json::parse(text));
    }
}

TEST(ImportStream, QuotesTheParserAsTheWholeParseDoes) {
    for (const std::string text : {"", "{not json", R"({"units": [1, 2)", R"([1e999])",
                                   R"({"a": 1} x)", R"({"units": [{"hp": 1,}]})",
                                   "{\"units\": [\n{\"hp\": 1},\n{\"hp\" 2}]}"}) {
        std::string expected;
        try {
            expected = json::parse(text).dump();
        } catch (const json::exception& error) {
            expected = "the import file is not JSON: " + std::string(error.what());
        }
        EXPECT_EQ(refusal(text), expected) << text;
    }
}

class ImportFile : public ::testing::Test {
protected:
    // Holds the parts as the whole document, as parseImportDocument does.
    static json streamed(const std::string& path) {
        struct Whole : cli::ImportDocumentParts {
            json document = json::object();
            std::string list;
            void notAnObject(json value) override { document = std::move(value); }
            void section(const std::string& name, json value) override {
                document[name] = std::move(value);
            }
            void listSection(const std::string& name) override {
                document[list = name] = json::array();
            }
            void element(json value) override { document[list].push_back(std::move(value)); }
            void listEnd() override {}
        } whole;
        cli::streamImportFile(path, whole);
        return whole.document;
    }
    test::TempDir m_dir;
};

// A file far larger than one read: chunk edges fall inside strings and
// numbers, and the lines and columns a refusal names run on across them.
TEST_F(ImportFile, ReadsAcrossChunksAsFromOneText) {
    json units = json::array();
    for (int i = 0; i < 4000; ++i)
        units.push_back({{"index", i}, {"name", "유닛 " + std::to_string(i)}, {"hp", i * 7 + 0.5}});
    const std::string text = json({{"units", units}}).dump(2);
    expectSame(streamed(m_dir.write("big.json", text)), json::parse(text));

    const std::string broken = text.substr(0, text.size() - 200) + "} oops";
    const std::string path = m_dir.write("broken.json", broken);
    try {
        (void)streamed(path);
        ADD_FAILURE() << "a broken file was read";
    } catch (const cli::UsageError& error) {
        EXPECT_EQ(error.what(), refusal(broken));
    }
    EXPECT_THROW((void)streamed(m_dir.file("missing.json")), CoreError);
    EXPECT_THROW((void)streamed(m_dir.dir()), CoreError);
}

// Refusals are told as the whole document was checked: a text that is no
// JSON before any record, then the sections in the order of their names,
// whatever their order in the text.
TEST_F(ImportFile, RefusesInTheOrderTheWholeDocumentWasChecked) {
    demo::writeDemo(m_dir.dir());
    const std::string image = m_dir.file(demo::kDemoImageName);
    const std::string before = test::readFile(image);
    const std::pair<std::string, std::string> cases[] = {
        {R"({"weapons": [{"number": 9999}], "units": [{"index": 0, "bogus": 1}]})",
         "starfall-cli: $.units[0].bogus: unknown key\n"},
        {R"({"zzz": 1, "units": [{"index": 0, "hp": 1}, {"index": 0, "hp": 2}]})",
         "starfall-cli: $.units[1]: the record is given twice\n"},
        {R"({"units": [{"index": 0, "bogus": 1}], "weapons": [)",
         "starfall-cli: " + refusal(R"({"units": [{"index": 0, "bogus": 1}], "weapons": [)") +
             "\n"},
        {R"({"upgrade": [{"hp": 1}], "pilots": 5})", "starfall-cli: $.pilots: a list of records\n"},
        {R"([{"units": []}])",
         "starfall-cli: $: an import file holds an object like `export` prints\n"},
    };
    for (const auto& [text, expected] : cases) {
        const auto result =
            test::runCliHere({"--dir", m_dir.dir(), "import", image, m_dir.write("bad.json", text)});
        EXPECT_EQ(result.exitCode, 2) << text;
        EXPECT_EQ(result.err, expected) << text;
    }
    EXPECT_TRUE(test::readFile(image) == before);
}

} // namespace
} // namespace starfall
