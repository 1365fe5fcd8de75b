#pragma once

// Compares two image files byte by byte, reading each once, in order, in
// blocks of 1 MiB: what `diff` needs besides the records.

#include "cli/RecordChanges.h"

#include <string>

namespace starfall::cli {

struct ImageComparison {
    std::int64_t baseSize = 0;
    std::int64_t otherSize = 0;
    bool differ = false;
};

// Feeds every position where the two files differ (a longer file's extra
// bytes included) to `other`. Throws CoreError(ImageOpenForLoad).
ImageComparison compareImages(const std::string& base, const std::string& other, OtherBytes& bytes);

} // namespace starfall::cli
