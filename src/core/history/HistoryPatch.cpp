#include "core/history/HistoryPatch.h"

#include "core/io/CoreError.h"
#include "core/patch/ImageWindow.h"
#include "core/patch/PpfPatch.h"
#include "core/patch/PpfWriter.h"

#include <map>

namespace starfall::history {

namespace {

void addRun(std::vector<ByteRun>& runs, Position at, std::uint8_t byte) {
    if (runs.empty() || runs.back().start + static_cast<Position>(runs.back().bytes.size()) != at)
        runs.push_back({at, {}});
    runs.back().bytes.push_back(byte);
}

} // namespace

patch::ByteChanges changesSince(const std::string& imagePath,
                                const std::vector<HistoryEntry>& entries, std::uint32_t since) {
    std::map<Position, std::uint8_t> before; // the earliest old byte at each position
    for (std::size_t i = since == 0 ? 0 : since - 1; i < entries.size(); ++i) {
        for (const HistoryRun& run : entries[i].runs) {
            for (std::size_t k = 0; k < run.old.size(); ++k)
                before.emplace(run.start + static_cast<Position>(k), run.old[k]);
        }
    }
    patch::ByteChanges changes;
    const ImageReadScope scope(imagePath);
    for (auto it = before.begin(); it != before.end();) {
        // One read for each stretch of consecutive positions.
        auto end = std::next(it);
        while (end != before.end() && end->first == std::prev(end)->first + 1)
            ++end;
        const auto count = static_cast<std::size_t>(std::prev(end)->first - it->first + 1);
        const std::vector<std::uint8_t> now = readRange(imagePath, it->first, count);
        for (std::size_t k = 0; it != end; ++it, ++k) {
            if (k < now.size() && now[k] != it->second) {
                addRun(changes.next, it->first, now[k]);
                addRun(changes.previous, it->first, it->second);
            }
        }
    }
    return changes;
}

std::vector<std::uint8_t> bytesBefore(const std::string& imagePath,
                                      const patch::ByteChanges& changes, Position start,
                                      std::size_t count) {
    std::vector<std::uint8_t> bytes = readRange(imagePath, start, count);
    const Position end = start + static_cast<Position>(bytes.size());
    for (const ByteRun& run : changes.previous) {
        for (std::size_t k = 0; k < run.bytes.size(); ++k) {
            const Position at = run.start + static_cast<Position>(k);
            if (at >= start && at < end)
                bytes[static_cast<std::size_t>(at - start)] = run.bytes[k];
        }
    }
    return bytes;
}

std::vector<std::uint8_t> makePpf(const std::string& imagePath, const patch::ByteChanges& changes,
                                  const patch::MakeOptions& options) {
    if (changes.empty())
        throw CoreError(Failure::ImagesIdentical, imagePath);
    const Position at = patch::blockCheckPosition(patch::PpfImageType::Bin);
    std::optional<std::vector<std::uint8_t>> blockCheck;
    if (at + static_cast<Position>(patch::kBlockCheckBytes) <= patch::imageSize(imagePath))
        blockCheck = bytesBefore(imagePath, changes, at, patch::kBlockCheckBytes);
    std::vector<std::uint8_t> file =
        patch::writePpf3({options.description, blockCheck, true, options.diz}, changes);
    patch::checkPatchSize(file, imagePath);
    return file;
}

} // namespace starfall::history
