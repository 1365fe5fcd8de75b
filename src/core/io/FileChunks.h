#pragma once

// A regular file, or standard input, read a chunk at a time, so that a large
// document can be parsed while only a chunk of it is held. A file is read as
// readRegularFile reads it: up to the size it had when it was opened.

#include "core/io/FileHandle.h"

#include <cstdint>
#include <string>
#include <vector>

namespace starfall {

class FileChunks {
public:
    // "-" is standard input. Check isOpen().
    explicit FileChunks(const std::string& path);

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    // The next chunk, valid until the next call; empty at the end. Returns
    // false when a read fails.
    [[nodiscard]] bool next(const char*& begin, const char*& end);

private:
    FileHandle m_file;
    int m_fd = -1;
    std::int64_t m_left = -1; // what is left of the size at open; -1: read to the end
    std::vector<char> m_buffer;
};

} // namespace starfall
