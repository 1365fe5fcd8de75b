#include "core/io/SaveHistory.h"

#include "core/io/ByteFields.h"
#include "core/io/CoreError.h"
#include "core/io/Crc32.h"
#include "core/io/FileHandle.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

namespace {

constexpr std::string_view kMagic = "SFHIST01";
constexpr std::string_view kEntryMagic = "SFHE";
constexpr std::size_t kHeaderBytes = kMagic.size() + 3 * 8;
constexpr std::size_t kEntryFrame = kEntryMagic.size() + 4 + 4 + 4; // magic, length, CRC, length

std::atomic<HistoryRule>& rule() {
    static std::atomic<HistoryRule> value{HistoryRule::Record};
    return value;
}

// A text as its length (2) and its UTF-8 bytes.
void putText(std::vector<std::uint8_t>& out, std::string_view text) {
    const std::size_t size = std::min<std::size_t>(text.size(), 0xFFFF);
    putNumber(out, size, 2);
    putBytes(out, text.substr(0, size));
}

std::string readText(ByteReader& reader) {
    const auto span = reader.bytes(reader.number(2));
    return {span.begin(), span.end()};
}

std::vector<std::uint8_t> encodeBody(const HistoryEntry& entry) {
    std::vector<std::uint8_t> body;
    putNumber(body, static_cast<std::uint64_t>(entry.time), 8);
    putNumber(body, static_cast<std::uint8_t>(entry.action), 1);
    putNumber(body, entry.reverses, 4);
    putText(body, entry.record);
    putNumber(body, entry.fields.size(), 2);
    for (const FieldChange& field : entry.fields) {
        putText(body, field.key);
        putText(body, field.before);
        putText(body, field.after);
    }
    putNumber(body, entry.runs.size(), 4);
    for (const HistoryRun& run : entry.runs) {
        putNumber(body, static_cast<std::uint64_t>(run.start), 8);
        putNumber(body, run.old.size(), 4);
        putNumber(body, run.codes ? 1 : 0, 1);
        putBytes(body, run.old);
        putBytes(body, run.fresh);
    }
    return body;
}

std::optional<HistoryEntry> decodeBody(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    HistoryEntry entry;
    entry.time = static_cast<std::int64_t>(reader.number(8));
    const auto action = reader.number(1);
    entry.action = static_cast<HistoryAction>(action);
    entry.reverses = static_cast<std::uint32_t>(reader.number(4));
    entry.record = readText(reader);
    for (std::uint64_t i = 0, n = reader.number(2); i < n && reader.ok(); ++i) {
        FieldChange field;
        field.key = readText(reader);
        field.before = readText(reader);
        field.after = readText(reader);
        entry.fields.push_back(std::move(field));
    }
    for (std::uint64_t i = 0, n = reader.number(4); i < n && reader.ok(); ++i) {
        HistoryRun run;
        run.start = static_cast<Position>(reader.number(8));
        const std::uint64_t length = reader.number(4);
        run.codes = reader.number(1) != 0;
        const auto old = reader.bytes(length);
        const auto fresh = reader.bytes(length);
        run.old.assign(old.begin(), old.end());
        run.fresh.assign(fresh.begin(), fresh.end());
        entry.runs.push_back(std::move(run));
    }
    const bool startsSound = std::all_of(entry.runs.begin(), entry.runs.end(),
                                         [](const HistoryRun& run) { return run.start >= 0; });
    if (!reader.ok() || !reader.atEnd() || action > 2 || !startsSound)
        return std::nullopt;
    return entry;
}

// One framed entry from the reader; nothing when it is cut off or its
// checksum or lengths disagree.
std::optional<HistoryEntry> readEntry(ByteReader& reader) {
    if (!reader.magic(kEntryMagic))
        return std::nullopt;
    const std::uint64_t length = reader.number(4);
    const auto body = reader.bytes(length);
    const std::uint64_t crc = reader.number(4);
    if (!reader.ok() || reader.number(4) != length || !reader.ok() || crc != crc32Of(body))
        return std::nullopt;
    return decodeBody(body);
}

bool soundHeader(std::span<const std::uint8_t> bytes, std::uint64_t imageSize) {
    ByteReader reader(bytes);
    return reader.magic(kMagic) && reader.number(8) == imageSize && reader.ok();
}

std::optional<std::vector<std::uint8_t>> readWhole(const std::string& path, int& error) {
    const FileHandle file(path, O_RDONLY | O_NOFOLLOW);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0) {
        error = file.isOpen() ? errno : file.error();
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    const std::int64_t got = readAt(file.fd(), 0, std::span(bytes));
    if (got < 0) {
        error = static_cast<int>(-got);
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

// Checks the head and the last entry only, so that a save's cost does not
// grow with the history.
bool soundEnds(int fd, std::uint64_t size, std::uint64_t imageSize) {
    std::vector<std::uint8_t> head(kHeaderBytes);
    if (size < kHeaderBytes || readAt(fd, 0, std::span(head)) != std::int64_t{kHeaderBytes} ||
        !soundHeader(head, imageSize))
        return false;
    if (size == kHeaderBytes)
        return true;
    std::uint8_t tail[4] = {};
    if (size < kHeaderBytes + kEntryFrame ||
        readAt(fd, static_cast<Position>(size - 4), std::span(tail)) != 4)
        return false;
    const std::uint64_t length = ByteReader(tail).number(4);
    const std::uint64_t total = length + kEntryFrame;
    if (total > size - kHeaderBytes)
        return false;
    std::vector<std::uint8_t> last(static_cast<std::size_t>(total));
    if (readAt(fd, static_cast<Position>(size - total), std::span(last)) !=
        static_cast<std::int64_t>(total))
        return false;
    ByteReader reader(last);
    return readEntry(reader).has_value() && reader.atEnd();
}

// A free name beside the history for a file that is set aside.
std::string asideName(const std::string& historyPath) {
    std::string name = historyPath + ".damaged";
    for (int n = 2; ::access(name.c_str(), F_OK) == 0; ++n)
        name = historyPath + ".damaged." + std::to_string(n);
    return name;
}

} // namespace

void setHistoryRule(HistoryRule value) {
    rule() = value;
}

HistoryRule historyRule() {
    return rule();
}

std::string historyPathFor(const std::string& imagePath) {
    return besideImage(imagePath, ".history");
}

std::vector<std::uint8_t> encodeHistoryHeader(const ImageIdentity& identity) {
    std::vector<std::uint8_t> out;
    putBytes(out, kMagic);
    putNumber(out, identity.size, 8);
    putNumber(out, identity.device, 8);
    putNumber(out, identity.inode, 8);
    return out;
}

std::vector<std::uint8_t> encodeHistoryEntry(const HistoryEntry& entry) {
    const std::vector<std::uint8_t> body = encodeBody(entry);
    std::vector<std::uint8_t> out;
    putBytes(out, kEntryMagic);
    putNumber(out, body.size(), 4);
    putBytes(out, body);
    putNumber(out, crc32Of(body), 4);
    putNumber(out, body.size(), 4);
    return out;
}

ImageHistory decodeHistory(std::span<const std::uint8_t> bytes, std::uint64_t imageSize) {
    if (bytes.empty())
        return {};
    if (bytes.size() < kHeaderBytes || !soundHeader(bytes.first(kHeaderBytes), imageSize))
        return {HistoryState::Foreign, {}};
    ByteReader reader(bytes.subspan(kHeaderBytes));
    ImageHistory history{HistoryState::Sound, {}};
    while (!reader.atEnd()) {
        auto entry = readEntry(reader);
        if (!entry)
            return {HistoryState::Damaged, {}};
        history.entries.push_back(std::move(*entry));
    }
    return history;
}

ImageHistory readHistory(const std::string& imagePath, std::uint64_t imageSize) {
    int error = 0;
    const auto bytes = readWhole(historyPathFor(imagePath), error);
    if (!bytes)
        return {error == ENOENT ? HistoryState::Absent : HistoryState::Foreign, {}};
    return decodeHistory(*bytes, imageSize);
}

HistoryStart prepareHistory(const std::string& path, const ImageIdentity& image) {
    if (historyRule() == HistoryRule::Skip)
        return {};
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return {0, {}};
    const FileHandle file(path, O_RDONLY | O_NOFOLLOW);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (file.isOpen() && (size == 0 || soundEnds(file.fd(), size, image.size)))
        return {size, {}};
    const std::string aside = asideName(path);
    if (::rename(path.c_str(), aside.c_str()) != 0)
        return {}; // cannot be moved: this save leaves the history alone
    return {0, aside};
}

int appendHistory(const std::string& path, const ImageIdentity& image, std::uint64_t length,
                  const HistoryEntry& entry) {
    if (length == kNoHistoryLength)
        return 0;
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    struct stat info {};
    std::vector<std::uint8_t> bytes;
    if (::fstat(fd, &info) == 0 && info.st_size == 0)
        bytes = encodeHistoryHeader(image);
    const std::vector<std::uint8_t> framed = encodeHistoryEntry(entry);
    putBytes(bytes, framed);
    const int error = writeAt(fd, static_cast<Position>(info.st_size), bytes);
    ::close(fd);
    return error;
}

void truncateHistory(const std::string& imagePath, std::uint64_t length) {
    if (length == kNoHistoryLength)
        return;
    const FileHandle file(historyPathFor(imagePath), O_WRONLY | O_NOFOLLOW);
    struct stat info {};
    if (file.isOpen() && ::fstat(file.fd(), &info) == 0 &&
        static_cast<std::uint64_t>(info.st_size) > length)
        (void)::ftruncate(file.fd(), static_cast<off_t>(length));
}

bool clearHistory(const std::string& imagePath) {
    const std::string path = historyPathFor(imagePath);
    if (::unlink(path.c_str()) == 0)
        return true;
    if (errno == ENOENT)
        return false;
    throw CoreError(Failure::WriteFailed, path, -1, std::strerror(errno));
}

} // namespace starfall
