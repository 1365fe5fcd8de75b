#pragma once

// Compares two image files byte by byte, reading each once, in order, in
// blocks of 1 MiB: what `diff` and the editor's comparison with the original
// need besides the records.

#include "core/io/Position.h"
#include "core/io/WorkProgress.h"

#include <cstdint>
#include <functional>
#include <string>

namespace starfall {

struct ImageComparison {
    std::int64_t baseSize = 0;
    std::int64_t otherSize = 0;
    bool differ = false;
};

// Told each run of differing bytes, in increasing order.
using DifferingRun = std::function<void(Position start, std::size_t length)>;

// Feeds every run of positions where the two files differ (a longer file's
// extra bytes included) to `differ`, and reports each block to `progress`.
// Throws CoreError(ImageOpenForLoad), and WorkCancelled when told to stop.
ImageComparison compareImages(const std::string& base, const std::string& other,
                              const DifferingRun& differ, const WorkProgress& progress = {});

} // namespace starfall
