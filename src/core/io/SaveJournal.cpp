#include "core/io/SaveJournal.h"

#include "core/io/ByteFields.h"
#include "core/io/Crc32.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace starfall {

namespace {

constexpr std::string_view kMagic = "SFJOURN2";
constexpr std::string_view kFirstMagic = "SFJOURN1";
constexpr std::string_view kMark = "SFJDONE!";
constexpr std::size_t kWord = 8;
constexpr std::size_t kCrcBytes = 4;
constexpr std::size_t kFirstHeaderBytes = kMagic.size() + 4 * kWord;
constexpr std::size_t kTrailerBytes = kMark.size() + kCrcBytes;

// The image's resolved path, or the path as given when it cannot be resolved
// (an image that does not exist yet).
std::string resolved(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    std::free(real);
    return result;
}

bool startsLike(std::span<const std::uint8_t> bytes, std::string_view text) {
    const std::size_t n = std::min(bytes.size(), text.size());
    return std::equal(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), bytes.begin());
}

// The fields of a journal of either layout, without the trailer.
SaveJournal readBody(ByteReader& reader, bool first) {
    SaveJournal journal;
    journal.firstLayout = first;
    journal.identity.size = reader.number(kWord);
    journal.identity.device = reader.number(kWord);
    journal.identity.inode = reader.number(kWord);
    if (!first)
        journal.historyLength = reader.number(kWord);
    const std::uint64_t count = reader.number(kWord);
    for (std::uint64_t i = 0; i < count && reader.ok(); ++i) {
        JournalRun run;
        run.start = static_cast<Position>(reader.number(kWord));
        const std::uint64_t length = reader.number(kWord);
        const auto old = reader.bytes(length);
        run.old.assign(old.begin(), old.end());
        if (!first) {
            const auto fresh = reader.bytes(length);
            run.fresh.assign(fresh.begin(), fresh.end());
        }
        journal.runs.push_back(std::move(run));
    }
    return journal;
}

// Whether `bytes` is the start of a journal cut off while it was written: our
// magic, then no more than its own counts declare, then at most a start of the
// mark. Only such a file may be deleted unapplied; anything else is not ours.
bool isCutOffJournal(std::span<const std::uint8_t> bytes) {
    const bool first = startsLike(bytes, kFirstMagic);
    if (!first && !startsLike(bytes, kMagic))
        return false;
    if (bytes.size() <= kMagic.size())
        return true;
    ByteReader reader(bytes.subspan(kMagic.size()));
    (void)readBody(reader, first);
    if (!reader.ok())
        return true; // ends inside a count or a run
    const auto rest = reader.rest();
    return rest.size() < kTrailerBytes && startsLike(rest, kMark);
}

} // namespace

std::string besideImage(const std::string& imagePath, std::string_view suffix) {
    const std::string path = resolved(imagePath);
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    if (name.size() + suffix.size() <= NAME_MAX)
        return path + std::string(suffix);
    // No room for the suffix: keep the head of the name, and tell images that
    // share it apart by the CRC-32 of the whole name.
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x",
                  crc32Of({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()}));
    const std::size_t head = NAME_MAX - suffix.size() - sizeof crc;
    return path.substr(0, nameStart) + std::string(name.substr(0, head)) + "." + crc +
           std::string(suffix);
}

std::string journalPathFor(const std::string& imagePath) {
    return besideImage(imagePath, ".journal");
}

std::vector<std::uint8_t> encodeJournal(const SaveJournal& journal) {
    std::vector<std::uint8_t> out;
    putBytes(out, kMagic);
    putNumber(out, journal.identity.size, kWord);
    putNumber(out, journal.identity.device, kWord);
    putNumber(out, journal.identity.inode, kWord);
    putNumber(out, journal.historyLength, kWord);
    putNumber(out, journal.runs.size(), kWord);
    for (const JournalRun& run : journal.runs) {
        putNumber(out, static_cast<std::uint64_t>(run.start), kWord);
        putNumber(out, run.old.size(), kWord);
        putBytes(out, run.old);
        putBytes(out, run.fresh);
    }
    putBytes(out, kMark);
    putNumber(out, crc32Of(out), kCrcBytes);
    return out;
}

DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes) {
    const bool marked = bytes.size() >= kFirstHeaderBytes + kTrailerBytes &&
                        startsLike(bytes.subspan(bytes.size() - kTrailerBytes), kMark);
    if (!marked)
        return {isCutOffJournal(bytes) ? JournalState::Torn : JournalState::Foreign, {}};
    const auto trailer = bytes.subspan(bytes.size() - kTrailerBytes);
    const auto body = bytes.first(bytes.size() - kCrcBytes);
    if (ByteReader(trailer.subspan(kMark.size())).number(kCrcBytes) != crc32Of(body))
        return {JournalState::Damaged, {}};

    ByteReader reader(bytes.first(bytes.size() - kTrailerBytes));
    const bool first = startsLike(bytes, kFirstMagic);
    reader.magic(first ? kFirstMagic : kMagic);
    SaveJournal journal = readBody(reader, first);
    if (!reader.ok() || !reader.atEnd())
        return {JournalState::Damaged, {}};
    return {JournalState::Complete, std::move(journal)};
}

} // namespace starfall
