#pragma once

// Values under dotted keys (numeric parts counting list positions from 1, as
// setAtPath reads them), written as the one nested object setAtPath would
// build from them, straight to a JsonStream: a record's hundred values cost
// no tree of their own.

#include "cli/JsonStream.h"

#include <nlohmann/json.hpp>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

struct DottedValue {
    std::string_view key;
    nlohmann::json value;
};

// Keeps the orders it worked out for the last few sets of keys it was given:
// the records of one kind come with the same keys, or with one of a few sets.
class NestedWriter {
public:
    // Writes the object and returns true, or writes nothing and returns false
    // when the keys do not make a plain tree: a key given twice, a key inside
    // another's value, parts of one object both names and positions, a list
    // with a position left out, or a position at the top.
    [[nodiscard]] bool write(JsonStream& out, std::span<const DottedValue> values);

    // One part of a dotted key: an object's key, or a list position (from 1).
    struct Part {
        std::string_view text;
        std::size_t position = 0; // 0: a name
    };

private:
    // A key's parts, and which of the given values it is.
    struct Keyed {
        std::size_t first;
        std::size_t count;
        std::size_t value;
    };
    // The print order of one set of keys.
    struct Plan {
        std::vector<std::string> keys; // in the order given; the parts view them
        std::vector<Part> parts;
        std::vector<Keyed> sorted;
        bool plain = true; // no keys: an empty object

        [[nodiscard]] bool sameKeys(std::span<const DottedValue> values) const;
        void make(std::span<const DottedValue> values);
        [[nodiscard]] std::span<const Part> partsOf(const Keyed& keyed) const;
        [[nodiscard]] bool walk(JsonStream* out, std::span<const DottedValue> values) const;
    };
    [[nodiscard]] const Plan& planFor(std::span<const DottedValue> values);

    std::vector<Plan> m_plans;
    std::size_t m_next = 0; // the plan a new set of keys replaces
};

// The same, with an order worked out for these values alone.
[[nodiscard]] bool writeNested(JsonStream& out, std::span<const DottedValue> values);

} // namespace starfall::cli
