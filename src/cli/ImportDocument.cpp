#include "cli/ImportDocument.h"

#include "cli/CliContext.h"
#include "cli/FastJsonRead.h"

#include "core/io/CoreError.h"
#include "core/io/FileChunks.h"

#include <iterator>
#include <optional>
#include <set>
#include <vector>

namespace starfall::cli {

namespace {

using nlohmann::json;

// Follows the parser's events to know the JSON path it is at. Depth and
// duplicate keys are checked here because a parsed value no longer shows
// them: a duplicate key has already replaced the first.
class DocumentWalk {
public:
    void enter(bool array) {
        countElement();
        if (m_depth >= kMaxImportDepth)
            throw UsageError(path() + ": nested deeper than " + std::to_string(kMaxImportDepth) +
                             " levels");
        // Frames are kept for the next value at their depth, with what they
        // hold: a record at a time, nothing is made anew.
        if (m_depth == m_frames.size())
            m_frames.emplace_back();
        m_frames[m_depth++].reset(array);
    }
    void leave() { --m_depth; }
    // `held`: whether the object, being built, already holds the key; without
    // it the walk keeps the object's keys itself.
    void nameKey(const std::string& key, std::optional<bool> held = std::nullopt) {
        Frame& frame = m_frames[m_depth - 1];
        const bool twice = held ? *held : frame.repeats(key);
        frame.key = key;
        if (twice)
            throw UsageError(path() + ": the key is given twice");
    }
    void countElement() {
        if (m_depth != 0 && m_frames[m_depth - 1].array)
            ++m_frames[m_depth - 1].elements;
    }

private:
    struct Frame {
        bool array = false;
        std::size_t elements = 0;
        std::string key;
        // Keys given in ascending order, as `export` prints them, are told
        // new by the last one alone; the set is made at the first that is not.
        bool ascending = true;
        std::vector<std::string> given;
        std::set<std::string> keys;

        void reset(bool isArray) {
            array = isArray;
            elements = 0;
            key.clear();
            ascending = true;
            given.clear();
            keys.clear();
        }
        bool repeats(const std::string& name) {
            if (ascending && (given.empty() || given.back() < name)) {
                given.push_back(name);
                return false;
            }
            if (ascending) {
                keys.insert(given.begin(), given.end());
                given.clear();
                ascending = false;
            }
            return !keys.insert(name).second;
        }
    };

    // Every frame but the last holds the value being read; the last one
    // holds the key or element just read.
    [[nodiscard]] std::string path() const {
        std::string text = "$";
        for (std::size_t depth = 0; depth < m_depth; ++depth) {
            const Frame& frame = m_frames[depth];
            text += frame.array ? "[" + std::to_string(frame.elements - 1) + "]" : "." + frame.key;
        }
        return text;
    }

    std::vector<Frame> m_frames;
    std::size_t m_depth = 0;
};

// Builds one value from the parser's events.
class ValueBuilder {
public:
    [[nodiscard]] bool building() const { return !m_open.empty(); }
    // Each returns whether the value is now whole.
    bool scalar(json value) {
        place(std::move(value));
        return m_open.empty();
    }
    void open(json empty) { m_open.push_back(&place(std::move(empty))); }
    // Names the next member of the object being built; returns whether the
    // object already holds it. Where it goes is found once, for both.
    bool key(const std::string& name) {
        auto& members = m_open.back()->get_ref<json::object_t&>();
        m_place = members.lower_bound(name);
        m_key = name;
        return m_place != members.end() && m_place->first == name;
    }
    bool close() {
        m_open.pop_back();
        return m_open.empty();
    }
    json take() { return std::move(m_value); }

private:
    json& place(json value) {
        if (m_open.empty())
            return m_value = std::move(value);
        json& parent = *m_open.back();
        if (parent.is_array()) {
            parent.get_ref<json::array_t&>().push_back(std::move(value));
            return parent.back();
        }
        // The walk has refused a key given twice: this one is new.
        auto& members = parent.get_ref<json::object_t&>();
        return members.emplace_hint(m_place, std::move(m_key), std::move(value))->second;
    }

    json m_value;
    std::vector<json*> m_open;
    std::string m_key;
    json::object_t::iterator m_place;
};

// The parser's events, checked by the walk and gathered into the parts:
// the top-level object and its section lists are never held, only what
// they hold one value at a time.
class PartsHandler {
public:
    explicit PartsHandler(ImportDocumentParts& parts) : m_parts(parts) {}

    bool null() { return scalar(json()); }
    bool boolean(bool value) { return scalar(value); }
    bool number_integer(json::number_integer_t value) { return scalar(value); }
    bool number_unsigned(json::number_unsigned_t value) { return scalar(value); }
    bool number_float(json::number_float_t value, const std::string&) { return scalar(value); }
    bool string(std::string& value) { return scalar(std::move(value)); }
    bool binary(json::binary_t& value) { return scalar(json::binary(std::move(value))); }

    bool start_object(std::size_t) { return open(false); }
    bool start_array(std::size_t) { return open(true); }
    bool key(std::string& name) {
        if (m_value.building()) {
            const bool held = m_value.key(name);
            m_walk.nameKey(name, held);
        } else if (m_record.reading()) {
            m_walk.nameKey(name);
            m_record.key(name);
        } else {
            m_walk.nameKey(name);
            m_section = std::move(name);
        }
        return true;
    }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    template <typename Exception>
    bool parse_error(std::size_t, const std::string&, const Exception& error) {
        throw error;
    }

private:
    // Outside a value being built, the parse is in the document (0), in
    // the top-level object (1), or in a section's list (2), where an object
    // is read as a record.
    bool scalar(json value) {
        m_walk.countElement();
        if (m_record.reading()) {
            m_record.scalar(std::move(value));
            return true;
        }
        if (m_value.building()) {
            if (m_value.scalar(std::move(value)))
                handOver();
            return true;
        }
        m_value.scalar(std::move(value));
        handOver();
        return true;
    }
    bool open(bool array) {
        m_walk.enter(array);
        if (m_record.reading()) {
            m_record.open(array);
            return true;
        }
        if (!m_value.building()) {
            if (m_level == 0 && !array) {
                m_level = 1;
                return true;
            }
            if (m_level == 1 && array) {
                m_level = 2;
                m_parts.listSection(m_section);
                return true;
            }
            if (m_level == 2 && !array) {
                m_record.start();
                return true;
            }
        }
        m_value.open(array ? json::array() : json::object());
        return true;
    }
    bool close() {
        m_walk.leave();
        if (m_record.reading()) {
            if (m_record.close())
                handOverRecord();
        } else if (m_value.building()) {
            if (m_value.close())
                handOver();
        } else if (--m_level == 1) {
            m_parts.listEnd();
        }
        return true;
    }
    void handOverRecord() {
        if (!m_record.flat() || !m_parts.flatElement(m_record))
            m_parts.element(m_record.whole());
    }
    void handOver() {
        if (m_level == 0)
            m_parts.notAnObject(m_value.take());
        else if (m_level == 1)
            m_parts.section(m_section, m_value.take());
        else
            m_parts.element(m_value.take());
    }

    ImportDocumentParts& m_parts;
    DocumentWalk m_walk;
    ValueBuilder m_value;
    FlatRecord m_record;
    int m_level = 0;
    std::string m_section;
};

// The bytes of a FileChunks as the parser reads them, a character at a time.
class ChunkIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    ChunkIterator() = default;
    ChunkIterator(FileChunks& chunks, const std::string& path) : m_chunks(&chunks), m_path(&path) {
        refill();
    }
    reference operator*() const { return *m_at; }
    ChunkIterator& operator++() {
        if (++m_at == m_end)
            refill();
        return *this;
    }
    bool operator==(const ChunkIterator& other) const { return atEnd() == other.atEnd(); }

private:
    [[nodiscard]] bool atEnd() const { return m_at == m_end; }
    void refill() {
        if (!m_chunks->next(m_at, m_end))
            throw CoreError(Failure::InputOpenForLoad, *m_path);
    }

    FileChunks* m_chunks = nullptr;
    const std::string* m_path = nullptr;
    const char* m_at = nullptr;
    const char* m_end = nullptr;
};

// The chunks of a file, as the fast reader takes them.
class FileSource {
public:
    FileSource(FileChunks& chunks, const std::string& path) : m_chunks(chunks), m_path(path) {}
    void next(const char*& begin, const char*& end) {
        if (!m_chunks.next(begin, end))
            throw CoreError(Failure::InputOpenForLoad, m_path);
    }

private:
    FileChunks& m_chunks;
    const std::string& m_path;
};

// A whole text as one chunk.
class TextSource {
public:
    explicit TextSource(const std::string& text) : m_text(text) {}
    void next(const char*& begin, const char*& end) {
        begin = m_text.data() + (m_given ? m_text.size() : 0);
        end = m_text.data() + m_text.size();
        m_given = true;
    }

private:
    const std::string& m_text;
    bool m_given = false;
};

// Hands the parts on, counting them; a second reading of the text skips
// those the first one handed on already, as they come again the same.
class CountedParts : public ImportDocumentParts {
public:
    explicit CountedParts(ImportDocumentParts& parts) : m_parts(parts) {}
    void readAgain() {
        m_skip = m_given;
        m_given = 0;
    }

    void notAnObject(json document) override {
        if (fresh())
            m_parts.notAnObject(std::move(document));
    }
    void section(const std::string& name, json value) override {
        if (fresh())
            m_parts.section(name, std::move(value));
    }
    void listSection(const std::string& name) override {
        if (fresh())
            m_parts.listSection(name);
    }
    // A record the parts do not take flat comes again whole, as one part.
    bool flatElement(const FlatRecord& record) override {
        if (m_given < m_skip) {
            ++m_given;
            return true;
        }
        if (!m_parts.flatElement(record))
            return false;
        ++m_given;
        return true;
    }
    void element(json value) override {
        if (fresh())
            m_parts.element(std::move(value));
    }
    void listEnd() override {
        if (fresh())
            m_parts.listEnd();
    }

private:
    bool fresh() { return m_given++ >= m_skip; }

    ImportDocumentParts& m_parts;
    std::size_t m_given = 0;
    std::size_t m_skip = 0;
};

template <typename Parse>
void parseQuoted(Parse parse) {
    try {
        parse();
    } catch (const json::exception& error) {
        // A parse error, or a number past what a double holds (out_of_range).
        throw UsageError("the import file is not JSON: " + std::string(error.what()));
    }
}

template <typename Source> bool fastlyRead(Source& source, CountedParts& parts) {
    PartsHandler handler(parts);
    bool read = false;
    parseQuoted([&] { read = fastSaxParse(source, handler) == FastRead::Read; });
    return read;
}

// Puts the parts back together.
class WholeDocument : public ImportDocumentParts {
public:
    void notAnObject(json document) override { m_document = std::move(document); }
    void section(const std::string& name, json value) override {
        m_document[name] = std::move(value);
    }
    void listSection(const std::string& name) override {
        m_list = &(m_document[name] = json::array());
    }
    void element(json value) override { m_list->push_back(std::move(value)); }
    void listEnd() override {}
    json take() { return std::move(m_document); }

private:
    json m_document = json::object();
    json* m_list = nullptr;
};

} // namespace

// nlohmann's parser gives the records and the messages; the fast reader
// reads the same text first, and only a text it cannot read as nlohmann
// would is read again, by nlohmann, the parts the first reading handed on
// left out. Nothing is written before the whole text is read, so the second
// reading costs time only.
void streamImportDocument(const std::string& text, ImportDocumentParts& parts) {
    CountedParts counted(parts);
    TextSource source(text);
    if (fastlyRead(source, counted))
        return;
    counted.readAgain();
    PartsHandler handler(counted);
    parseQuoted([&] { json::sax_parse(text, &handler); });
}

void streamImportFile(const std::string& path, ImportDocumentParts& parts) {
    FileChunks chunks(path);
    if (!chunks.isOpen())
        throw CoreError(Failure::InputOpenForLoad, path);
    CountedParts counted(parts);
    // A pipe cannot be read twice: nlohmann reads it at once.
    if (chunks.canRewind()) {
        FileSource source(chunks, path);
        if (fastlyRead(source, counted))
            return;
        if (!chunks.rewind())
            throw CoreError(Failure::InputOpenForLoad, path);
        counted.readAgain();
    }
    PartsHandler handler(counted);
    parseQuoted([&] { json::sax_parse(ChunkIterator(chunks, path), ChunkIterator(), &handler); });
}

json parseImportDocument(const std::string& text) {
    WholeDocument whole;
    streamImportDocument(text, whole);
    return whole.take();
}

} // namespace starfall::cli
