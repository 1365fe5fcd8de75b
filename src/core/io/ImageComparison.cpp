#include "core/io/ImageComparison.h"

#include "core/io/ByteDifferences.h"
#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"
#include "core/io/ReadBuffer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

FileHandle openImage(const std::string& path) {
    recoverInterruptedSave(path);
    FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    ::posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return file;
}

std::int64_t sizeOf(const FileHandle& file) {
    struct stat info {};
    ::fstat(file.fd(), &info);
    return info.st_size;
}

} // namespace

ImageComparison compareImages(const std::string& base, const std::string& other,
                              const DifferingRun& differ, const WorkProgress& progress) {
    const FileHandle a = openImage(base);
    const FileHandle b = openImage(other);
    ImageComparison result{sizeOf(a), sizeOf(b), false};
    ReadBuffer leftBuffer(kBlockBytes);
    ReadBuffer rightBuffer(kBlockBytes);
    const std::span<std::uint8_t> left = leftBuffer.bytes();
    const std::span<std::uint8_t> right = rightBuffer.bytes();
    const std::int64_t common = std::min(result.baseSize, result.otherSize);
    for (Position at = 0; at < common; at += static_cast<Position>(kBlockBytes)) {
        const std::size_t n =
            std::min(readImageAt(a.fd(), at, left, base), readImageAt(b.fd(), at, right, other));
        progress.report(at, common);
        // Runs of differing bytes, found a block at a time; only a block that
        // differs is looked at byte by byte.
        std::size_t runStart = 0;
        std::size_t runEnd = 0;
        forEachDifference(left.first(n), right.first(n), [&](std::size_t i) {
            if (runEnd != runStart && i != runEnd) {
                differ(at + static_cast<Position>(runStart), runEnd - runStart);
                runStart = i;
            } else if (runEnd == runStart) {
                runStart = i;
            }
            runEnd = i + 1;
        });
        if (runEnd != runStart) {
            differ(at + static_cast<Position>(runStart), runEnd - runStart);
            result.differ = true;
        }
    }
    if (result.baseSize != result.otherSize) {
        differ(common,
               static_cast<std::size_t>(std::max(result.baseSize, result.otherSize) - common));
        result.differ = true;
    }
    return result;
}

} // namespace starfall
