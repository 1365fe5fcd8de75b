#include "core/patch/PatchPlan.h"

#include "core/io/CoreError.h"
#include "core/patch/ImageWindow.h"
#include "core/patch/PatchLimits.h"
#include "core/text/PatchFaultTexts.h"

#include <algorithm>

namespace starfall::patch {

namespace {

Position endOf(const PpfRecord& record) {
    return record.offset + record.length;
}

void checkSizeAndPlaces(const PpfPatch& patch, const std::string& image, Position size) {
    if (patch.imageSize && static_cast<Position>(*patch.imageSize) != size)
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::ImageSize));
    for (const PpfRecord& record : patch.records) {
        if (endOf(record) > size)
            throw CoreError(Failure::PatchOutsideImage, image, endOf(record) - 1);
    }
}

// Bytes that a record writes may differ from the base's block without the
// image being another one: an applied patch changes them.
void checkBlock(const PpfPatch& patch, const std::string& image, Position size) {
    if (!patch.blockCheckAt)
        return;
    const Position at = blockCheckPosition(patch.imageType);
    const auto block = static_cast<Position>(kBlockCheckBytes);
    const auto refuse = [&image] {
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::BlockCheck));
    };
    if (at + block > size)
        refuse();
    std::vector<bool> written(kBlockCheckBytes, false);
    for (const PpfRecord& record : patch.records) {
        for (Position p = std::max(record.offset, at); p < std::min(endOf(record), at + block); ++p)
            written[static_cast<std::size_t>(p - at)] = true;
    }
    const std::vector<std::uint8_t> held = readRange(image, at, kBlockCheckBytes);
    const std::span<const std::uint8_t> expected = patch.blockCheck();
    for (std::size_t i = 0; i < kBlockCheckBytes; ++i) {
        if (!written[i] && held[i] != expected[i])
            refuse();
    }
}

// The image's bytes under the records, as joined runs in image order: what
// the records change is all that is read.
SpanBytes regionsOf(const PpfPatch& patch, const std::string& image) {
    std::vector<std::pair<Position, Position>> spans;
    spans.reserve(patch.records.size());
    for (const PpfRecord& record : patch.records)
        spans.emplace_back(record.offset, endOf(record));
    if (!std::is_sorted(spans.begin(), spans.end())) // a patch's records mostly are
        std::sort(spans.begin(), spans.end());
    std::vector<ByteSpan> joined;
    std::size_t total = 0;
    for (const auto& [start, end] : spans) {
        if (!joined.empty() && start <= joined.back().end) {
            total += static_cast<std::size_t>(std::max(end, joined.back().end) - joined.back().end);
            joined.back().end = std::max(end, joined.back().end);
        } else {
            total += static_cast<std::size_t>(end - start);
            joined.push_back({start, end});
        }
        if (total > kMaxChangedBytes)
            throw CoreError(Failure::PatchTooLarge, patch.path, -1,
                            messages::changedBytesLimit(kMaxChangedBytes / kMebibyte));
    }
    return readSpans(image, joined);
}

std::span<std::uint8_t> bytesUnder(SpanBytes& regions, const PpfRecord& record) {
    const std::size_t region = regions.indexOf(record.offset);
    return regions.bytes(region).subspan(
        static_cast<std::size_t>(record.offset - regions.span(region).start), record.length);
}

Position firstDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin();
}

// Records apply in file order, so a later one that overlaps an earlier one
// wins, and its undo bytes are what the earlier one left. With `checkOld`,
// each record must find its undo bytes or its new bytes in place.
void applyRecords(const PpfPatch& patch, SpanBytes& regions, const std::string& image,
                  bool checkOld) {
    for (const PpfRecord& record : patch.records) {
        const std::span<std::uint8_t> now = bytesUnder(regions, record);
        const std::span<const std::uint8_t> next = patch.newBytes(record);
        if (checkOld && !std::ranges::equal(now, next) &&
            !std::ranges::equal(now, patch.oldBytes(record)))
            throw CoreError(Failure::PatchWrongImage, image,
                            record.offset + firstDifference(now, patch.oldBytes(record)),
                            messages::imageMismatch(ImageMismatch::OriginalBytes));
        std::ranges::copy(next, now.begin());
    }
}

void undoRecords(const PpfPatch& patch, SpanBytes& regions, const std::string& image) {
    for (auto record = patch.records.rbegin(); record != patch.records.rend(); ++record) {
        const std::span<std::uint8_t> now = bytesUnder(regions, *record);
        if (!std::ranges::equal(now, patch.newBytes(*record)))
            throw CoreError(Failure::PatchNotApplied, image,
                            record->offset + firstDifference(now, patch.newBytes(*record)));
        std::ranges::copy(patch.oldBytes(*record), now.begin());
    }
}

} // namespace

ByteChanges planPpf(const PpfPatch& patch, const std::string& image, bool undo) {
    const Position size = imageSize(image);
    checkSizeAndPlaces(patch, image, size);
    checkBlock(patch, image, size);
    SpanBytes regions = regionsOf(patch, image);
    const SpanBytes before = regions;
    if (undo) {
        undoRecords(patch, regions, image);
    } else {
        applyRecords(patch, regions, image, false);
        // An image that already holds the patch passes; any other must hold
        // what the undo data says the patch replaces.
        if (patch.undo && regions != before) {
            SpanBytes checked = before;
            applyRecords(patch, checked, image, true);
        }
    }
    ChangeCollector changes(patch.path);
    for (std::size_t i = 0; i < regions.size(); ++i)
        changes.compare(regions.span(i).start, before.bytes(i), regions.bytes(i));
    return changes.take();
}

} // namespace starfall::patch
