#pragma once

#include <string>

namespace starfall {

// A field whose value changed, by its key, as the controls and scripts show
// the value before and after: in a comparison with the original, and in the
// history of saves.
struct FieldChange {
    std::string key;
    std::string before;
    std::string after;
    bool operator==(const FieldChange&) const = default;
};

} // namespace starfall
