#pragma once

// Opens only regular files. Every open is non-blocking, so a FIFO or a device
// standing where an image or a list file should be can never hang a program;
// anything that is not a regular file (a directory, a FIFO, a socket, a
// device) counts as a file that cannot be opened, before any byte is read.

#include "core/io/Position.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace starfall {

// Closes on every path out.
class FileHandle {
public:
    FileHandle() = default;
    // `flags` as for open(2); O_NONBLOCK and O_CLOEXEC are added. Check isOpen().
    FileHandle(const std::string& path, int flags);
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : m_fd(other.m_fd), m_error(other.m_error) {
        other.m_fd = -1;
    }
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle() { reset(); }

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] int fd() const { return m_fd; }
    // Why the open failed (an errno value); EINVAL for a file that is not regular.
    [[nodiscard]] int error() const { return m_error; }
    // Returns 0 or the errno of a failed close.
    int close();
    // Hands the descriptor over to the caller, who closes it.
    [[nodiscard]] int release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    void reset();
    int m_fd = -1;
    int m_error = 0;
};

// Reads from `at` until `buffer` is full or the file ends: the number of
// bytes read, or minus the errno of a failed read.
[[nodiscard]] std::int64_t readAt(int fd, Position at, std::span<std::uint8_t> buffer);
// Writes all of `bytes` at `at`: 0, or the errno of the failure.
[[nodiscard]] int writeAt(int fd, Position at, std::span<const std::uint8_t> bytes);

// The whole of a regular file in one read, or nothing when it cannot be
// opened or read (missing, not a regular file, no access).
[[nodiscard]] std::optional<std::string> readRegularFile(const std::string& path);
// The same, read as a growing prefix (16 KiB, then twice as much each time):
// it stops, returning the prefix, once `enough` takes what was read so far.
// A command after the first entries of a long list reads no further.
[[nodiscard]] std::optional<std::string>
readRegularFileUntil(const std::string& path, const std::function<bool(std::string_view)>& enough);

} // namespace starfall
