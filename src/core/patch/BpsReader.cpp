#include "core/patch/BpsPatch.h"

#include "core/io/Crc32.h"
#include "core/patch/PatchCursor.h"

namespace starfall::patch {

namespace {

constexpr std::size_t kFooterBytes = 12;
constexpr std::string_view kMagic = "BPS1";

std::uint64_t varint(PatchCursor& cursor) {
    const std::size_t at = cursor.at();
    std::uint64_t value = 0;
    std::uint64_t shift = 1;
    for (;;) {
        const std::uint8_t x = cursor.byte();
        value += (x & 0x7FU) * shift;
        if ((x & 0x80U) != 0)
            return value;
        if (shift >= std::uint64_t{1} << 56)
            cursor.failAt(PatchFault::BadVarint, at);
        shift <<= 7;
        value += shift;
    }
}

Position size(PatchCursor& cursor) {
    const std::size_t at = cursor.at();
    const std::uint64_t value = varint(cursor);
    if (value > static_cast<std::uint64_t>(kPositionLimit))
        cursor.failAt(PatchFault::BeyondAddressable, at);
    return static_cast<Position>(value);
}

// A copy's offset, relative to where the previous copy of its kind ended.
Position relative(PatchCursor& cursor, Position& last) {
    const std::uint64_t value = varint(cursor);
    const auto delta = static_cast<Position>(value >> 1);
    last += (value & 1U) != 0 ? -delta : delta;
    return last;
}

void walk(const BpsPatch& patch, const std::function<void(const BpsAction&)>& visit) {
    PatchCursor cursor(std::span(patch.file).first(patch.actionsEnd), patch.path, patch.actionsAt);
    Position output = 0;
    Position sourceAt = 0;
    Position targetAt = 0;
    while (!cursor.atEnd()) {
        const std::size_t at = cursor.at();
        const std::uint64_t word = varint(cursor);
        BpsAction action{static_cast<BpsActionKind>(word & 3U), 0, output, output};
        if ((word >> 2) >= static_cast<std::uint64_t>(patch.targetSize - output))
            cursor.failAt(PatchFault::ActionPastTarget, at);
        action.length = static_cast<Position>(word >> 2) + 1;
        switch (action.kind) {
        case BpsActionKind::SourceRead:
            if (output + action.length > patch.sourceSize)
                cursor.failAt(PatchFault::CopyOutsideSource, at);
            break;
        case BpsActionKind::TargetRead:
            action.from = static_cast<Position>(cursor.at());
            cursor.take(static_cast<std::size_t>(action.length));
            break;
        case BpsActionKind::SourceCopy:
            action.from = relative(cursor, sourceAt);
            if (action.from < 0 || action.from + action.length > patch.sourceSize)
                cursor.failAt(PatchFault::CopyOutsideSource, at);
            sourceAt += action.length;
            break;
        case BpsActionKind::TargetCopy:
            // Each byte copied must already have been written: the copy may
            // overlap its own output, which repeats a pattern.
            action.from = relative(cursor, targetAt);
            if (action.from < 0 || action.from >= output)
                cursor.failAt(PatchFault::CopyOutsideTarget, at);
            targetAt += action.length;
            break;
        }
        visit(action);
        output += action.length;
    }
    if (output != patch.targetSize)
        cursor.fail(PatchFault::TargetShort);
}

} // namespace

BpsPatch readBps(std::vector<std::uint8_t> file, const std::string& path) {
    BpsPatch patch;
    patch.path = path;
    patch.file = std::move(file);
    const std::span<const std::uint8_t> bytes = patch.file;
    PatchCursor header(bytes, path);
    if (!header.startsWith(kMagic))
        header.fail(PatchFault::UnknownFormat);
    if (bytes.size() < kMagic.size() + 3 + kFooterBytes)
        header.failAt(PatchFault::Truncated, bytes.size());
    patch.actionsEnd = bytes.size() - kFooterBytes;
    PatchCursor footer(bytes, path, patch.actionsEnd);
    patch.sourceCrc = static_cast<std::uint32_t>(footer.little(4));
    patch.targetCrc = static_cast<std::uint32_t>(footer.little(4));
    patch.patchCrc = static_cast<std::uint32_t>(footer.little(4));
    if (crc32Of(bytes.first(bytes.size() - 4)) != patch.patchCrc)
        footer.failAt(PatchFault::PatchChecksum, bytes.size() - 4);

    PatchCursor fields(bytes.first(patch.actionsEnd), path, kMagic.size());
    patch.sourceSize = size(fields);
    patch.targetSize = size(fields);
    const std::uint64_t metadataSize = varint(fields);
    if (metadataSize > fields.left())
        fields.fail(PatchFault::Truncated);
    const auto metadata = fields.take(static_cast<std::size_t>(metadataSize));
    patch.metadata.assign(metadata.begin(), metadata.end());
    patch.actionsAt = fields.at();
    walk(patch, [&patch](const BpsAction& action) {
        ++patch.actions;
        if (action.kind != BpsActionKind::SourceRead)
            patch.copiedOrRead += action.length;
    });
    return patch;
}

void forEachAction(const BpsPatch& patch, const std::function<void(const BpsAction&)>& visit) {
    walk(patch, visit);
}

void appendVarint(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (;;) {
        const auto low = static_cast<std::uint8_t>(value & 0x7FU);
        value >>= 7;
        if (value == 0) {
            out.push_back(low | 0x80U);
            return;
        }
        out.push_back(low);
        --value;
    }
}

} // namespace starfall::patch
