#include "cli/ImportDocument.h"

#include "cli/CliContext.h"

#include <set>
#include <vector>

namespace starfall::cli {

namespace {

using nlohmann::json;

// Follows the parser's events to know the JSON path it is at. Depth and
// duplicate keys are checked here because the parsed value no longer shows
// them: a duplicate key has already replaced the first.
class DocumentWalk {
public:
    void on(json::parse_event_t event, const json& parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            enter(event == json::parse_event_t::array_start);
            break;
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            m_frames.pop_back();
            break;
        case json::parse_event_t::key:
            nameKey(parsed.get<std::string>());
            break;
        case json::parse_event_t::value:
            countElement();
            break;
        }
    }

private:
    struct Frame {
        bool array = false;
        std::size_t elements = 0;
        std::string key;
        std::set<std::string> keys;
    };

    void countElement() {
        if (!m_frames.empty() && m_frames.back().array)
            ++m_frames.back().elements;
    }
    void enter(bool array) {
        countElement();
        if (m_frames.size() >= kMaxImportDepth)
            throw UsageError(path() + ": nested deeper than " + std::to_string(kMaxImportDepth) +
                             " levels");
        m_frames.push_back({array, 0, {}, {}});
    }
    void nameKey(std::string key) {
        Frame& frame = m_frames.back();
        frame.key = std::move(key);
        if (!frame.keys.insert(frame.key).second)
            throw UsageError(path() + ": the key is given twice");
    }
    // Every frame but the last holds the value being read; the last one
    // holds the key or element just read.
    [[nodiscard]] std::string path() const {
        std::string text = "$";
        for (const Frame& frame : m_frames)
            text += frame.array ? "[" + std::to_string(frame.elements - 1) + "]" : "." + frame.key;
        return text;
    }

    std::vector<Frame> m_frames;
};

} // namespace

json parseImportDocument(const std::string& text) {
    DocumentWalk walk;
    try {
        return json::parse(text, [&walk](int, json::parse_event_t event, json& parsed) {
            walk.on(event, parsed);
            return true;
        });
    } catch (const json::exception& error) {
        // A parse error, or a number past what a double holds (out_of_range).
        throw UsageError("the import file is not JSON: " + std::string(error.what()));
    }
}

} // namespace starfall::cli
