#pragma once

#include <string>

namespace starfall {

// Which image a page or dialog works on. Every holder keeps its own copy.
struct ImageSession {
    std::string imagePath;        // exactly as the open-file dialog returned it
    std::string programDirectory; // ends with a path separator

    bool operator==(const ImageSession&) const = default;
};

} // namespace starfall
