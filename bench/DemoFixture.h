#pragma once

// The demo image written once per benchmark run into a fresh folder, and the
// bytes this process has read from files so far.

#include "core/lists/NameList.h"

#include <cstdint>
#include <string>

namespace starfall::bench {

struct DemoFiles {
    std::string directory; // ends with '/'
    std::string image;
    NameList pilots;
    NameList units;
};

[[nodiscard]] const DemoFiles& demoFiles();

// The kernel's count of bytes read by this process (rchar of /proc/self/io).
[[nodiscard]] std::int64_t bytesReadSoFar();

// Index of the list entry with this UTF-8 name; aborts when there is none.
[[nodiscard]] std::size_t entryNamed(const NameList& list, const char* utf8);

} // namespace starfall::bench
