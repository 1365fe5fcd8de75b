#include "core/patch/PatchCursor.h"
#include "core/patch/PpfPatch.h"

#include <algorithm>

namespace starfall::patch {

namespace {

struct Layout {
    std::uint8_t encoding;   // the byte after the magic
    std::size_t offsetBytes; // of a record's image offset
    std::size_t dizLengthBytes;
};

Layout layoutOf(PpfVersion version) {
    switch (version) {
    case PpfVersion::V1:
        return {0, 4, 0};
    case PpfVersion::V2:
        return {1, 4, 4};
    case PpfVersion::V3:
        break;
    }
    return {2, 8, 2};
}

PpfVersion versionOf(std::span<const std::uint8_t> file, const PatchCursor& cursor) {
    const auto magic = [&](std::string_view text) {
        return file.size() >= text.size() && std::equal(text.begin(), text.end(), file.begin());
    };
    if (magic("PPF10"))
        return PpfVersion::V1;
    if (magic("PPF20"))
        return PpfVersion::V2;
    if (magic("PPF30"))
        return PpfVersion::V3;
    cursor.failAt(PatchFault::UnknownFormat, 0);
}

// A flag byte: 0 or 1.
bool flag(PatchCursor& cursor) {
    const std::uint8_t value = cursor.byte();
    if (value > 1)
        cursor.failAt(PatchFault::BadHeader, cursor.at() - 1);
    return value == 1;
}

std::string trimmedDescription(std::span<const std::uint8_t> bytes) {
    std::string text(bytes.begin(), bytes.end());
    const auto end = text.find_last_not_of(std::string_view(" \0", 2));
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

void readHeader(PatchCursor& cursor, PpfPatch& patch) {
    cursor.take(5);
    if (cursor.byte() != layoutOf(patch.version).encoding)
        cursor.failAt(PatchFault::BadHeader, 5);
    patch.description = trimmedDescription(cursor.take(kPpfDescriptionBytes));
    if (patch.version == PpfVersion::V2) {
        patch.imageSize = static_cast<std::uint32_t>(cursor.little(4));
        patch.blockCheckAt = cursor.at();
        cursor.take(kBlockCheckBytes);
    } else if (patch.version == PpfVersion::V3) {
        const std::uint8_t type = cursor.byte();
        if (type > 1)
            cursor.failAt(PatchFault::BadHeader, cursor.at() - 1);
        patch.imageType = static_cast<PpfImageType>(type);
        const bool blockCheck = flag(cursor);
        patch.undo = flag(cursor);
        cursor.byte();
        if (blockCheck) {
            patch.blockCheckAt = cursor.at();
            cursor.take(kBlockCheckBytes);
        }
    }
}

// Where the records end: at the FILE_ID.DIZ trailer when the file closes with
// one, else at the end of the file.
std::size_t readDiz(PpfPatch& patch, std::size_t recordsAt) {
    const std::size_t lengthBytes = layoutOf(patch.version).dizLengthBytes;
    const std::span<const std::uint8_t> file = patch.file;
    if (lengthBytes == 0 ||
        file.size() < recordsAt + kDizBegin.size() + kDizEnd.size() + lengthBytes)
        return file.size();
    const std::size_t endAt = file.size() - lengthBytes - kDizEnd.size();
    PatchCursor end(file, patch.path, endAt);
    if (!end.startsWith(kDizEnd))
        return file.size();
    end.take(kDizEnd.size());
    const std::uint64_t length = end.little(lengthBytes);
    if (length > endAt - recordsAt - kDizBegin.size())
        end.failAt(PatchFault::DizUnterminated, endAt);
    const std::size_t textAt = endAt - static_cast<std::size_t>(length);
    PatchCursor begin(file, patch.path, textAt - kDizBegin.size());
    if (!begin.startsWith(kDizBegin))
        begin.fail(PatchFault::DizUnterminated);
    patch.diz = std::string(file.begin() + static_cast<std::ptrdiff_t>(textAt),
                            file.begin() + static_cast<std::ptrdiff_t>(endAt));
    return begin.at();
}

void readRecords(PatchCursor& cursor, PpfPatch& patch) {
    const std::size_t offsetBytes = layoutOf(patch.version).offsetBytes;
    while (!cursor.atEnd()) {
        // A trailer whose end marker is gone would otherwise read as records.
        if (cursor.startsWith(kDizBegin))
            cursor.fail(PatchFault::DizUnterminated);
        const std::size_t recordAt = cursor.at();
        const std::uint64_t offset = cursor.little(offsetBytes);
        const std::uint8_t length = cursor.byte();
        if (length == 0)
            cursor.failAt(PatchFault::ZeroLengthRecord, recordAt);
        if (offset >= static_cast<std::uint64_t>(kPositionLimit))
            cursor.failAt(PatchFault::BeyondAddressable, recordAt);
        const auto at = static_cast<std::uint32_t>(cursor.at());
        cursor.take(patch.undo ? 2U * length : length);
        patch.records.push_back({static_cast<Position>(offset), at, length});
    }
}

} // namespace

PpfPatch readPpf(std::vector<std::uint8_t> file, const std::string& path) {
    PpfPatch patch;
    patch.path = path;
    patch.file = std::move(file);
    PatchCursor header(patch.file, path);
    patch.version = versionOf(patch.file, header);
    readHeader(header, patch);
    const std::size_t recordsEnd = readDiz(patch, header.at());
    PatchCursor records(std::span(patch.file).first(recordsEnd), path, header.at());
    readRecords(records, patch);
    return patch;
}

} // namespace starfall::patch
