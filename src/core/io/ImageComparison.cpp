#include "core/io/ImageComparison.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"

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
    std::vector<std::uint8_t> left(kBlockBytes);
    std::vector<std::uint8_t> right(kBlockBytes);
    const std::int64_t common = std::min(result.baseSize, result.otherSize);
    for (Position at = 0; at < common; at += static_cast<Position>(kBlockBytes)) {
        const std::size_t n =
            std::min(readImageAt(a.fd(), at, left, base), readImageAt(b.fd(), at, right, other));
        progress.report(at, common);
        if (std::memcmp(left.data(), right.data(), n) == 0)
            continue;
        result.differ = true;
        for (std::size_t i = 0; i < n;) {
            if (left[i] == right[i]) {
                ++i;
                continue;
            }
            const std::size_t start = i;
            while (i < n && left[i] != right[i])
                ++i;
            differ(at + static_cast<Position>(start), i - start);
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
