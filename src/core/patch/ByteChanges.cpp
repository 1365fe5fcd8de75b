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
    forEachDifferingStretch(before, after, [&](std::size_t from, std::size_t to) {
        add(start + static_cast<Position>(from), before.subspan(from, to - from),
            after.subspan(from, to - from));
    });
}

void ChangeCollector::add(Position position, std::span<const std::uint8_t> before,
                          std::span<const std::uint8_t> after) {
    m_bytes += before.size();
    if (m_bytes > kMaxChangedBytes)
        throw CoreError(Failure::PatchTooLarge, m_path, -1,
                        messages::changedBytesLimit(kMaxChangedBytes / kMebibyte));
    std::vector<ByteRun>& next = m_changes.next;
    std::vector<ByteRun>& previous = m_changes.previous;
    if (next.empty() ||
        next.back().start + static_cast<Position>(next.back().bytes.size()) != position) {
        next.push_back({position, {}});
        previous.push_back({position, {}});
    }
    next.back().bytes.insert(next.back().bytes.end(), after.begin(), after.end());
    previous.back().bytes.insert(previous.back().bytes.end(), before.begin(), before.end());
}

} // namespace starfall::patch
