#include "core/patch/ByteChanges.h"

#include "core/io/ByteDifferences.h"
#include "core/io/CoreError.h"
#include "core/patch/PatchLimits.h"
#include "core/text/PatchFaultTexts.h"


namespace starfall::patch {

std::size_t ByteChanges::bytes() const {
    std::size_t total = 0;
    for (const ByteRun& run : next)
        total += run.bytes.size();
    return total;
}

void ChangeCollector::compare(Position start, std::span<const std::uint8_t> before,
                              std::span<const std::uint8_t> after) {
    forEachDifference(before, after, [&](std::size_t i) {
        add(start + static_cast<Position>(i), before[i], after[i]);
    });
}

void ChangeCollector::add(Position position, std::uint8_t before, std::uint8_t after) {
    if (++m_bytes > kMaxChangedBytes)
        throw CoreError(Failure::PatchTooLarge, m_path, -1,
                        messages::changedBytesLimit(kMaxChangedBytes / kMebibyte));
    std::vector<ByteRun>& next = m_changes.next;
    std::vector<ByteRun>& previous = m_changes.previous;
    if (next.empty() ||
        next.back().start + static_cast<Position>(next.back().bytes.size()) != position) {
        next.push_back({position, {}});
        previous.push_back({position, {}});
    }
    next.back().bytes.push_back(after);
    previous.back().bytes.push_back(before);
}

} // namespace starfall::patch
