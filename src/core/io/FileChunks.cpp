#include "core/io/FileChunks.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

} // namespace

FileChunks::FileChunks(const std::string& path) {
    if (path == "-") {
        m_fd = STDIN_FILENO;
    } else {
        m_file = FileHandle(path, O_RDONLY);
        struct stat info {};
        if (!m_file.isOpen() || ::fstat(m_file.fd(), &info) != 0)
            return;
        m_fd = m_file.fd();
        m_left = info.st_size;
    }
    m_size = m_left;
    struct stat info {};
    if (::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode))
        m_start = ::lseek(m_fd, 0, SEEK_CUR);
    m_buffer.resize(kChunkSize);
}

bool FileChunks::rewind() {
    if (m_start < 0 || ::lseek(m_fd, m_start, SEEK_SET) != m_start)
        return false;
    m_left = m_size;
    return true;
}

bool FileChunks::next(const char*& begin, const char*& end) {
    std::size_t wanted = m_buffer.size();
    if (m_left >= 0)
        wanted = static_cast<std::size_t>(std::min<std::int64_t>(m_left, std::int64_t(wanted)));
    ssize_t got = 0;
    if (wanted > 0) {
        do
            got = ::read(m_fd, m_buffer.data(), wanted);
        while (got < 0 && errno == EINTR);
    }
    if (got < 0)
        return false;
    if (m_left >= 0)
        m_left -= got;
    begin = m_buffer.data();
    end = begin + got;
    return true;
}

} // namespace starfall
