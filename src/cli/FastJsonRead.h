#pragma once

// JSON text read by RapidJSON's reader, several times quicker than
// nlohmann's, into the events nlohmann's SAX parser hands a handler. Each
// event is handed over only once it is sure nlohmann would hand the same one:
// a number that is no 64-bit integer, a string that is no well-formed UTF-8,
// a NUL byte or a text the reader refuses ends the reading as Differs. The
// events handed over until then are the first ones nlohmann would hand; a
// caller that needs nlohmann's result or message reads the text again with
// it. The handler's exceptions go out as they are.

#include <nlohmann/json.hpp>
#include <rapidjson/reader.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace starfall::cli {

enum class FastRead { Read, Differs };

// Whether nlohmann takes `text`, a string's bytes as read, as it is:
// well-formed UTF-8, no surrogate halves (which RapidJSON makes of a lone
// "\udc00").
[[nodiscard]] bool nlohmannTakesString(std::string_view text);

namespace fast_json {

// The text a chunk at a time from `Source` (bool next(const char*&, const
// char*&), an empty chunk at the end), as RapidJSON's reader reads a stream.
// The reader takes NUL for the end of the text, so a NUL byte is noted.
template <typename Source> class ChunkStream {
public:
    using Ch = char;

    explicit ChunkStream(Source& source) : m_source(source) { refill(); }

    [[nodiscard]] Ch Peek() const { return m_at != m_end ? *m_at : '\0'; }
    Ch Take() {
        if (m_at == m_end)
            return '\0';
        const Ch c = *m_at++;
        if (m_at == m_end)
            refill();
        return c;
    }
    [[nodiscard]] std::size_t Tell() const {
        return m_before + static_cast<std::size_t>(m_at - m_begin);
    }
    [[nodiscard]] bool heldNul() const { return m_heldNul; }
    // Past spaces, tabs and line ends, along the chunk rather than a
    // character at a time: an export is mostly indentation.
    void skipWhitespace() {
        for (;;) {
            while (m_at != m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
                ++m_at;
            if (m_at != m_end || m_begin == m_end)
                return;
            refill();
        }
    }

    // Only for in-place parsing, which is never asked for.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    std::size_t PutEnd(Ch*) { return 0; }

private:
    void refill() {
        m_before += static_cast<std::size_t>(m_end - m_begin);
        m_source.next(m_begin, m_end);
        m_at = m_begin;
        if (m_begin != m_end && std::memchr(m_begin, 0, std::size_t(m_end - m_begin)) != nullptr)
            m_heldNul = true;
    }

    Source& m_source;
    const char* m_begin = nullptr;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
    std::size_t m_before = 0;
    bool m_heldNul = false;
};

// Found by argument-dependent lookup, and more specialised than RapidJSON's
// own, this is the one its reader calls for a ChunkStream.
template <typename Source> void SkipWhitespace(ChunkStream<Source>& stream) {
    stream.skipWhitespace();
}

// RapidJSON's handler calls turned into `Sax`'s, refusing what nlohmann
// would read otherwise: a double (a fraction, an exponent or an integer past
// 64 bits, which nlohmann reads through strtod or refuses as too large).
template <typename Sax> class Events {
public:
    explicit Events(Sax& sax) : m_sax(sax) {}

    [[nodiscard]] bool differs() const { return m_differs; }

    bool Null() { return m_sax.null(); }
    bool Bool(bool value) { return m_sax.boolean(value); }
    bool Int(int value) { return m_sax.number_integer(value); }
    bool Int64(std::int64_t value) { return m_sax.number_integer(value); }
    bool Uint(unsigned value) { return m_sax.number_unsigned(value); }
    bool Uint64(std::uint64_t value) { return m_sax.number_unsigned(value); }
    bool Double(double) { return differ(); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return differ(); }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        if (!nlohmannTakesString({text, length}))
            return differ();
        std::string value(text, length);
        return m_sax.string(value);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        if (!nlohmannTakesString({text, length}))
            return differ();
        std::string value(text, length);
        return m_sax.key(value);
    }
    bool StartObject() { return m_sax.start_object(std::size_t(-1)); }
    bool EndObject(rapidjson::SizeType) { return m_sax.end_object(); }
    bool StartArray() { return m_sax.start_array(std::size_t(-1)); }
    bool EndArray(rapidjson::SizeType) { return m_sax.end_array(); }

private:
    bool differ() {
        m_differs = true;
        return false;
    }

    Sax& m_sax;
    bool m_differs = false;
};

} // namespace fast_json

// Reads the text `source` gives into `sax` (which must go on for each
// event: returning false also ends the reading as Differs). Read: the whole
// text was read, every event handed over, exactly as nlohmann would. The
// reader keeps its nesting on the heap, as nlohmann's parser does, so that a
// deep text cannot exhaust the stack.
template <typename Source, typename Sax> FastRead fastSaxParse(Source& source, Sax& sax) {
    fast_json::ChunkStream<Source> stream(source);
    fast_json::Events<Sax> events(sax);
    rapidjson::Reader reader;
    const rapidjson::ParseResult result = reader.Parse<rapidjson::kParseIterativeFlag>(stream, events);
    return result && !events.differs() && !stream.heldNul() ? FastRead::Read : FastRead::Differs;
}

} // namespace starfall::cli
