#include "support/ReadOnlyFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall::test {

namespace {

bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

} // namespace

ReadOnlyFile::ReadOnlyFile(std::string path) : m_path(std::move(path)) {
    ::chmod(m_path.c_str(), 0444);
    if (::geteuid() == 0)
        m_immutable = setImmutable(m_path, true);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_immutable)
        setImmutable(m_path, false);
    ::chmod(m_path.c_str(), 0644);
}

bool ReadOnlyFile::effective() const {
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return true;
    ::close(fd);
    return false;
}

std::string ReadOnlyFile::reason() const {
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
    return {};
}

} // namespace starfall::test
