#pragma once

// Values under dotted keys (numeric parts counting list positions from 1, as
// setAtPath reads them), written as the one nested object setAtPath would
// build from them, straight to a JsonStream: a record's hundred values cost
// no tree of their own, and its keys, brackets and indents are worked out
// once for all the records with the same keys.

#include "cli/JsonStream.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

struct DottedValue {
    std::string_view key;
    PrintValue value;
};

// Keeps the print plans it works out: one for each set of keys a caller
// names, for as long as the writer lasts, and one for each of the last few
// sets of keys given unnamed. The records of one kind come with the same
// keys, or with one of a few sets.
class NestedWriter {
public:
    // Writes the object and returns true, or writes nothing and returns false
    // when the keys do not make a plain tree: a key given twice, a key inside
    // another's value, parts of one object both names and positions, a list
    // with a position left out, or a position at the top.
    [[nodiscard]] bool write(JsonStream& out, std::span<const DottedValue> values);
    // The same for a caller that names its sets of keys: every call with the
    // same `keySet` gives the very same keys, in the same order, and its plan
    // is found without comparing them. A caller names few sets (one per kind
    // or shape of record), each kept as long as the writer.
    [[nodiscard]] bool write(JsonStream& out, std::span<const DottedValue> values,
                             const void* keySet);
    // Room to gather a record's values in, kept from record to record.
    [[nodiscard]] std::vector<DottedValue>& scratch() { return m_scratch; }

    // One part of a dotted key: an object's key, or a list position (from 1).
    struct Part {
        std::string_view text;
        std::size_t position = 0; // 0: a name
    };

private:
    // One value of the object as printed: the text before it (keys,
    // brackets, commas, indents; where it lies in the plan's text), then
    // which value, at which depth.
    struct Step {
        std::size_t beforeAt;
        std::size_t beforeSize;
        std::size_t value;
        std::size_t depth;
    };
    // How one set of keys prints at one depth.
    struct Plan {
        std::vector<std::string> keys; // in the order given, for a set the caller does not name
        const void* keySet = nullptr;  // what the caller names these keys by
        std::size_t depth = 0;
        bool plain = true;
        std::vector<Step> steps;
        std::string text;        // every step's text before its value, in step order
        std::size_t afterAt = 0; // then the brackets closing the object, to the end

        [[nodiscard]] bool sameKeys(std::span<const DottedValue> values, std::size_t at) const;
        void make(std::span<const DottedValue> values, std::size_t at, const void* set);
    };
    [[nodiscard]] const Plan& planFor(std::span<const DottedValue> values, std::size_t depth,
                                      const void* keySet);

    std::vector<Plan> m_named; // for the sets callers name
    std::vector<Plan> m_plans; // for keys given unnamed
    std::size_t m_next = 0;    // the plan a new set of unnamed keys replaces
    std::vector<DottedValue> m_scratch;
};

// The same, with an order worked out for these values alone.
[[nodiscard]] bool writeNested(JsonStream& out, std::span<const DottedValue> values);

} // namespace starfall::cli
