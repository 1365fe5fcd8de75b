// The fast reader must hand over exactly the events nlohmann's parser hands
// over: all of them for a text it reads, the first ones for a text it gives
// up on. A text nlohmann refuses must never be read.

#include "cli/FastJsonRead.h"
#include "cli/ImportDocument.h"

#include "core/demo/DemoBuilder.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace starfall {
namespace {

using cli::FastRead;
using nlohmann::json;

// Every event as text, with its value and its kind of number.
struct Recorder {
    std::vector<std::string> events;
    bool refused = false;

    bool add(std::string event) {
        events.push_back(std::move(event));
        return true;
    }
    bool null() { return add("null"); }
    bool boolean(bool value) { return add(value ? "true" : "false"); }
    bool number_integer(json::number_integer_t value) { return add("i" + std::to_string(value)); }
    bool number_unsigned(json::number_unsigned_t value) { return add("u" + std::to_string(value)); }
    bool number_float(json::number_float_t, const std::string& text) { return add("f" + text); }
    bool string(std::string& value) { return add("s" + value); }
    bool binary(json::binary_t&) { return add("binary"); }
    bool start_object(std::size_t) { return add("{"); }
    bool key(std::string& name) { return add("k" + name); }
    bool end_object() { return add("}"); }
    bool start_array(std::size_t) { return add("["); }
    bool end_array() { return add("]"); }
    template <typename Exception> bool parse_error(std::size_t, const std::string&, const Exception&) {
        refused = true;
        return false;
    }
};

// The text `step` bytes at a time, so that every value meets a chunk's end.
class SteppedText {
public:
    SteppedText(const std::string& text, std::size_t step) : m_text(text), m_step(step) {}
    void next(const char*& begin, const char*& end) {
        const std::size_t size = std::min(m_step, m_text.size() - m_at);
        begin = m_text.data() + m_at;
        end = begin + size;
        m_at += size;
    }

private:
    const std::string& m_text;
    std::size_t m_step;
    std::size_t m_at = 0;
};

// Compares both readings of `text`; returns what the fast one gave.
FastRead compareReadings(const std::string& text) {
    Recorder nlohmannRead;
    json::sax_parse(text, &nlohmannRead);
    FastRead first = FastRead::Differs;
    for (const std::size_t step : {text.size() + 1, std::size_t(1), std::size_t(7)}) {
        SCOPED_TRACE("chunks of " + std::to_string(step));
        Recorder fastRead;
        SteppedText source(text, step);
        const FastRead read = cli::fastSaxParse(source, fastRead);
        if (read == FastRead::Read) {
            EXPECT_FALSE(nlohmannRead.refused);
            EXPECT_EQ(fastRead.events, nlohmannRead.events);
        } else {
            EXPECT_LE(fastRead.events.size(), nlohmannRead.events.size());
            EXPECT_TRUE(std::equal(fastRead.events.begin(), fastRead.events.end(),
                                   nlohmannRead.events.begin()));
        }
        if (step > text.size())
            first = read;
        else
            EXPECT_EQ(read, first);
    }
    return first;
}

TEST(FastJsonRead, ReadsWhatNlohmannReadsTheSame) {
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    for (const std::string& text : std::vector<std::string>{
             R"({})", R"([])", "7", R"("text")", "null", "true", " \t\r\n[false] \n",
             R"({"units": [{"index": 0, "name": "유닛 1호기", "hp": 3800}]})",
             R"([0, -0, 1, -1, 4294967295, 4294967296, -2147483648, -2147483649])",
             R"([9223372036854775807, -9223372036854775808, 18446744073709551615])",
             R"({"a": 1, "a": 2})", R"(["\u0000", "\"\\\/\b\f\n\r\t", "\u00e9\ud55c\ud83d\ude00"])",
             "[\"\x7f\xc2\x80\xf4\x8f\xbf\xbf\"]", deep,
         }) {
        SCOPED_TRACE(text.substr(0, 80));
        EXPECT_EQ(compareReadings(text), FastRead::Read);
    }
}

TEST(FastJsonRead, GivesUpWhereNlohmannReadsOtherwiseOrRefuses) {
    using namespace std::string_literals;
    for (const std::string& text : {
             // Numbers nlohmann reads as doubles or refuses as too large.
             "[1.5]"s, "[-0.0]"s, "[1e2]"s, "[1E-2]"s, "[18446744073709551616]"s,
             "[-9223372036854775809]"s, "[1e999]"s, "[123456789012345678901234567890]"s,
             // Strings that are no UTF-8, or no Unicode.
             "[\"\xc0\xaf\"]"s, "[\"\xed\xa0\x80\"]"s, "[\"\xf4\x90\x80\x80\"]"s, "[\"\x80\"]"s,
             "[\"\xe2\x82\"]"s, "{\"\xff\": 1}"s, R"(["\udc00"])"s, R"(["\ud800"])"s,
             R"(["\ud800\u0041"])"s, "[\"a\x01\"]"s,
             // NUL bytes, which the fast reader takes for the end of the text.
             "[1]\0"s, "[1\0]"s, "\0"s, "[\"a\0b\"]"s,
             // Texts that are no JSON.
             ""s, " "s, "{"s, "[1,]"s, "[01]"s, "[1.]"s, "[-]"s, "{\"a\" 1}"s, "[1] [2]"s,
             "\xef\xbb\xbf[1]"s, "[NaN]"s, "[Infinity]"s, "// c\n[1]"s, "[tru]"s, "'a'"s,
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(compareReadings(text), FastRead::Differs);
    }
}

TEST(FastJsonRead, AgreesWithNlohmannOverTheImportCorpus) {
    const std::filesystem::path corpus =
        std::filesystem::path(STARFALL_SOURCE_DIR) / "fuzz" / "corpus" / "import";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().filename().string());
        (void)compareReadings(text);
        ++files;
    }
    EXPECT_GT(files, 0);
}

// A text the fast reader gives up on late is read again: what the first
// reading handed on is neither lost nor taken twice (a record taken twice is
// refused as given twice), and a refusal is the one of the first reading.
TEST(FastJsonRead, ImportReadAgainAppliesEachRecordOnce) {
    test::TempDir dir;
    demo::writeDemo(dir.dir());
    const std::string image = dir.file(demo::kDemoImageName);
    const auto import = [&](const std::string& text) {
        const std::string copy = dir.file("copy.img");
        std::filesystem::copy_file(image, copy, std::filesystem::copy_options::overwrite_existing);
        return test::runCliHere(
            {"--dir", dir.dir(), "import", "--dry-run", copy, dir.write("doc.json", text)});
    };
    const std::string changed = R"({"units": [{"index": 0, "hp": 1234}, {"index": 1, "number": )";
    const auto plain = import(changed + "1}]}");
    const auto again = import(changed + "1.5}]}");
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("1234"), std::string::npos);
    EXPECT_EQ(again.exitCode, plain.exitCode);
    EXPECT_EQ(again.out, plain.out);
    EXPECT_EQ(again.err, plain.err);

    const std::string refused = R"({"units": [{"index": 0, "bogus": 1}, {"index": 1, "number": )";
    const auto first = import(refused + "1}]}");
    const auto later = import(refused + "1e5}]}");
    EXPECT_EQ(first.exitCode, 2);
    EXPECT_EQ(first.err, "starfall-cli: $.units[0].bogus: unknown key\n");
    EXPECT_EQ(later.err, first.err);
}

} // namespace
} // namespace starfall
