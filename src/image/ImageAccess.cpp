#include "image/ImageAccess.h"

#include "image/ByteCodec.h"
#include "image/CoreError.h"
#include "image/SaveGuard.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

namespace {

// Closes on every path out; a save checks the close itself.
class FileHandle {
public:
    FileHandle(const std::string& path, int flags) {
        if (!path.empty())
            m_fd = ::open(path.c_str(), flags | O_CLOEXEC);
        struct stat info {};
        if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || S_ISDIR(info.st_mode)))
            reset();
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { reset(); }

    [[nodiscard]] bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] int fd() const { return m_fd; }
    // Returns 0 or the errno of a failed close.
    int close() {
        const int result = ::close(m_fd) == 0 ? 0 : errno;
        m_fd = -1;
        return result;
    }

private:
    void reset() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    int m_fd = -1;
};

// Length of the run of consecutive positions starting at index i.
template <typename Get> std::size_t runLength(std::size_t i, std::size_t size, Get position) {
    std::size_t n = 1;
    while (i + n < size && position(i + n) == position(i) + static_cast<Position>(n))
        ++n;
    return n;
}

// Reads until `buffer` is full or the file ends; returns the bytes read.
std::size_t readFully(int fd, Position start, std::span<unsigned char> buffer,
                      const std::string& path) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::pread(fd, buffer.data() + got, buffer.size() - got,
                                  static_cast<off_t>(start + static_cast<Position>(got)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw CoreError(Failure::ImageOpenForLoad, path, start, std::strerror(errno));
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void readRun(int fd, Position start, std::span<int> out, const std::string& path) {
    std::vector<unsigned char> buffer(out.size());
    const std::size_t got = readFully(fd, start, buffer, path);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i < got ? buffer[i] : kEndOfFile; // past the end stays kEndOfFile
}

void writeRun(int fd, Position start, std::span<const unsigned char> bytes,
              const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const Position at = start + static_cast<Position>(done);
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw CoreError(Failure::WriteFailed, path, at, std::strerror(n < 0 ? errno : EIO));
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

void checkPositions(std::span<const Position> positions, const std::string& path) {
    for (Position p : positions) {
        if (!isAddressable(p))
            throw CoreError(Failure::PositionOutOfRange, path, p);
    }
}

std::vector<int> readBytes(const std::string& path, std::span<const Position> positions) {
    checkPositions(positions, path);
    FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    std::vector<int> bytes(positions.size(), kEndOfFile);
    for (std::size_t i = 0; i < positions.size();) {
        const std::size_t n = runLength(i, positions.size(), [&](std::size_t k) { return positions[k]; });
        readRun(file.fd(), positions[i], std::span<int>(bytes).subspan(i, n), path);
        i += n;
    }
    return bytes;
}

namespace {

enum class FramingGuard { Check, Skip };

void writePlan(const std::string& path, std::span<const ByteWrite> plan, std::string_view record,
               FramingGuard guard) {
    std::vector<Position> positions;
    positions.reserve(plan.size());
    for (const ByteWrite& w : plan)
        positions.push_back(w.position);
    checkPositions(positions, path);

    FileHandle file(path, O_RDWR);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForSave, path);
    if (guard == FramingGuard::Check)
        checkSaveAgainstFraming(file.fd(), path, positions, record);

    std::vector<unsigned char> run;
    for (std::size_t i = 0; i < plan.size();) {
        const std::size_t n = runLength(i, plan.size(), [&](std::size_t k) { return plan[k].position; });
        run.clear();
        for (std::size_t k = i; k < i + n; ++k)
            run.push_back(plan[k].value);
        writeRun(file.fd(), plan[i].position, run, path);
        i += n;
    }
    if (::fdatasync(file.fd()) != 0)
        throw CoreError(Failure::WriteFailed, path, -1, std::strerror(errno));
    if (const int error = file.close(); error != 0)
        throw CoreError(Failure::WriteFailed, path, -1, std::strerror(error));
}

} // namespace

void writeBytes(const std::string& path, std::span<const ByteWrite> plan, std::string_view record) {
    writePlan(path, plan, record, FramingGuard::Check);
}

void writeFramingBytes(const std::string& path, std::span<const ByteWrite> plan) {
    writePlan(path, plan, {}, FramingGuard::Skip);
}

void writeRuns(const std::string& path, std::span<const ByteRun> runs, std::string_view record,
               FramingRule framing) {
    std::vector<ByteWrite> plan;
    for (const ByteRun& run : runs) {
        for (std::size_t i = 0; i < run.bytes.size(); ++i)
            plan.push_back({run.start + static_cast<Position>(i), run.bytes[i]});
    }
    writePlan(path, plan, record,
              framing == FramingRule::Refuse ? FramingGuard::Check : FramingGuard::Skip);
}

std::vector<std::uint8_t> readRange(const std::string& path, Position start, std::size_t count) {
    const Position end = start + static_cast<Position>(count);
    checkPositions(std::array<Position, 1>{start}, path);
    if (count > 0)
        checkPositions(std::array<Position, 1>{end - 1}, path);
    FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    std::vector<std::uint8_t> out(count);
    out.resize(readFully(file.fd(), start, out, path));
    return out;
}

std::vector<ByteWrite> zipPlan(std::span<const Position> positions,
                               std::span<const std::uint8_t> values) {
    if (positions.size() != values.size())
        throw std::logic_error("a write plan needs one value per position");
    std::vector<ByteWrite> plan;
    plan.reserve(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        plan.push_back({positions[i], values[i]});
    return plan;
}

} // namespace starfall
