#pragma once

#include "core/io/Position.h"
#include "core/codec/TextNumbers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace starfall {

// One entry line: the name (raw code-page-949 bytes) and the address text
// exactly as cut from the line, trailing line feed included.
struct NameListEntry {
    std::string name;
    std::string addressText;

    [[nodiscard]] std::int32_t address() const { return parseDecimal(addressText); }
    bool operator==(const NameListEntry&) const = default;
};

struct NameList {
    std::int32_t baseOffset = 0;
    std::vector<NameListEntry> entries;

    // Record position = base offset + address.
    [[nodiscard]] Position positionAt(std::int32_t address) const {
        return Position{baseOffset} + address;
    }
    [[nodiscard]] Position positionOf(const NameListEntry& entry) const {
        return positionAt(entry.address());
    }
};

} // namespace starfall
