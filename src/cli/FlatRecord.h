#pragma once

// One record of an import document, read from the parser's events as its
// leaves under their dotted keys, without building the record as a JSON
// object: building and freeing a map of maps for every record cost more
// than the rest of an import together. The events are kept too, so that a
// record the leaves cannot stand for is built whole after all.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

class FlatRecord {
public:
    // The record's own object opens: what was read before is dropped.
    void start();
    // Within the record, in the order of the text.
    void key(std::string_view name);
    void scalar(nlohmann::json value);
    void open(bool array);
    // Returns whether the record's own object has closed.
    bool close();
    [[nodiscard]] bool reading() const { return !m_frames.empty(); }

    // Whether the leaves say all the record holds, in the order visitLeaves
    // visits it built whole: every object's keys in ascending order, nothing
    // empty, and "name", "index" and "number" plain values where given.
    [[nodiscard]] bool flat() const { return m_flat; }
    // A plain value the record's own object holds under `key`, or nothing.
    [[nodiscard]] const nlohmann::json* top(std::string_view key) const;
    // Every leaf as visitLeaves hands it over (for a flat record).
    template <typename Visit> void visit(Visit&& visit) const {
        for (const Leaf& leaf : m_leaves)
            visit(std::string_view(m_text).substr(leaf.at, leaf.size), leaf.value);
    }
    // The record built whole, as nlohmann would have; its values move out.
    [[nodiscard]] nlohmann::json whole();

private:
    enum class Event : std::uint8_t { OpenObject, OpenArray, Key, Value, Close };
    struct Step {
        Event event;
        std::size_t at;   // a key's text, or a value's leaf
        std::size_t size; // a key's length
    };
    struct Leaf {
        std::size_t at;
        std::size_t size;
        bool top;
        nlohmann::json value;
    };
    struct Frame {
        bool array;
        std::size_t prefix; // the dotted key of the container itself
        std::size_t items;
        std::size_t lastAt;
        std::size_t lastSize;
    };

    // Puts the dotted key of the next item of the innermost container into m_key.
    void nextItem();
    std::size_t keep(std::string_view text);
    [[nodiscard]] std::string_view text(std::size_t at, std::size_t size) const {
        return std::string_view(m_text).substr(at, size);
    }

    std::string m_text; // every key and dotted key, one after another
    std::string m_key;
    std::vector<Step> m_steps;
    std::vector<Leaf> m_leaves;
    std::vector<Frame> m_frames;
    bool m_flat = true;
};

} // namespace starfall::cli
