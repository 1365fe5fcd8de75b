#include "core/io/FileHandle.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

FileHandle::FileHandle(const std::string& path, int flags) {
    if (path.empty()) {
        m_error = ENOENT;
        return;
    }
    m_fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reset();
        m_error = EINVAL;
    }
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        reset();
        m_fd = other.m_fd;
        m_error = other.m_error;
        other.m_fd = -1;
    }
    return *this;
}

int FileHandle::close() {
    const int result = ::close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    return result;
}

void FileHandle::reset() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::int64_t readAt(int fd, Position at, std::span<std::uint8_t> buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::pread(fd, buffer.data() + got, buffer.size() - got,
                                  static_cast<off_t>(at + static_cast<Position>(got)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -errno;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(got);
}

int writeAt(int fd, Position at, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(at + static_cast<Position>(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

namespace {

// Fills content[from, end) from the file's current offset: false when a read
// fails. A file that ends early leaves `content` cut to what was read.
bool readInto(int fd, std::string& content, std::size_t from) {
    std::size_t got = from;
    while (got < content.size()) {
        const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    return true;
}

constexpr std::size_t kFirstPrefix = 16 * 1024;

} // namespace

std::optional<std::string> readRegularFile(const std::string& path) {
    return readRegularFileUntil(path, {});
}

std::optional<std::string>
readRegularFileUntil(const std::string& path, const std::function<bool(std::string_view)>& enough) {
    const FileHandle file(path, O_RDONLY);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0)
        return std::nullopt;
    const auto size = static_cast<std::size_t>(info.st_size);
    // Without a judge, the whole file in one read.
    std::size_t piece = enough ? kFirstPrefix : size;
    std::string content;
    do {
        const std::size_t from = content.size();
        content.resize(std::min(size, from + piece));
        const std::size_t asked = content.size();
        if (!readInto(file.fd(), content, from))
            return std::nullopt;
        if (content.size() < asked || content.size() == size)
            break;
        if (enough(content))
            return content;
        piece *= 2;
    } while (true);
    return content;
}

} // namespace starfall
