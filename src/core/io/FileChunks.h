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
    // Whether the reading can start over (a regular file, also as standard
    // input; not a pipe).
    [[nodiscard]] bool canRewind() const { return m_start >= 0; }
    // Starts the reading over from where it began, up to the same size;
    // false when it cannot.
    [[nodiscard]] bool rewind();

private:
    FileHandle m_file;
    int m_fd = -1;
    std::int64_t m_left = -1; // what is left of the size at open; -1: read to the end
    std::int64_t m_size = -1; // m_left at open
    std::int64_t m_start = -1; // the file offset the reading began at; -1: none
    std::vector<char> m_buffer;
};

} // namespace starfall
