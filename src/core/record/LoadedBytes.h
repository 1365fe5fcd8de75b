#pragma once

#include <vector>

namespace starfall {

// The bytes a record was decoded from (kEndOfFile past the end), in the order
// its layout plans them; empty for a record that was never read. A save
// compares against them to write only what changed. Not part of the record's
// value: two records showing the same values are equal whatever they were
// read from.
struct LoadedBytes {
    std::vector<int> bytes;
    bool operator==(const LoadedBytes& /*other*/) const { return true; }
};

} // namespace starfall
