#include "core/io/SaveJournal.h"

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

void putNumber(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Appends by resizing first: GCC 12 misreads an insert at the end as an
// overflow at -O2 and stops a Release build.
void putBytes(std::vector<std::uint8_t>& out, const void* data, std::size_t size) {
    const std::size_t at = out.size();
    out.resize(at + size);
    if (size != 0)
        std::memcpy(out.data() + at, data, size);
}

void putText(std::vector<std::uint8_t>& out, std::string_view text) {
    putBytes(out, text.data(), text.size());
}

// Reads the journal's fields in order; any read past the end marks it bad.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::uint64_t number(std::size_t bytes) {
        std::uint64_t value = 0;
        if (!has(bytes))
            return 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value |= std::uint64_t{m_bytes[m_at + i]} << (8 * i);
        m_at += bytes;
        return value;
    }
    bool text(std::string_view expected) {
        if (!has(expected.size()) ||
            !std::equal(expected.begin(), expected.end(),
                        m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at)))
            return m_ok = false;
        m_at += expected.size();
        return true;
    }
    std::vector<std::uint8_t> bytes(std::uint64_t count) {
        if (!has(count))
            return {};
        const auto first = m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at);
        m_at += static_cast<std::size_t>(count);
        return {first, first + static_cast<std::ptrdiff_t>(count)};
    }
    [[nodiscard]] bool ok() const { return m_ok; }
    [[nodiscard]] bool atEnd() const { return m_at == m_bytes.size(); }
    [[nodiscard]] std::span<const std::uint8_t> rest() const { return m_bytes.subspan(m_at); }

private:
    bool has(std::uint64_t count) {
        if (count > m_bytes.size() - m_at)
            m_ok = false;
        return m_ok;
    }
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};


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
SaveJournal readBody(Reader& reader, bool first) {
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
        run.old = reader.bytes(length);
        if (!first)
            run.fresh = reader.bytes(length);
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
    Reader reader(bytes.subspan(kMagic.size()));
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
    putText(out, kMagic);
    putNumber(out, journal.identity.size, kWord);
    putNumber(out, journal.identity.device, kWord);
    putNumber(out, journal.identity.inode, kWord);
    putNumber(out, journal.historyLength, kWord);
    putNumber(out, journal.runs.size(), kWord);
    for (const JournalRun& run : journal.runs) {
        putNumber(out, static_cast<std::uint64_t>(run.start), kWord);
        putNumber(out, run.old.size(), kWord);
        putBytes(out, run.old.data(), run.old.size());
        putBytes(out, run.fresh.data(), run.fresh.size());
    }
    putText(out, kMark);
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
    if (Reader(trailer.subspan(kMark.size())).number(kCrcBytes) != crc32Of(body))
        return {JournalState::Damaged, {}};

    Reader reader(bytes.first(bytes.size() - kTrailerBytes));
    const bool first = startsLike(bytes, kFirstMagic);
    reader.text(first ? kFirstMagic : kMagic);
    SaveJournal journal = readBody(reader, first);
    if (!reader.ok() || !reader.atEnd())
        return {JournalState::Damaged, {}};
    return {JournalState::Complete, std::move(journal)};
}

} // namespace starfall
