#include "patch/PatchPlan.h"

#include "image/CoreError.h"
#include "image/Messages.h"
#include "patch/Crc32.h"
#include "patch/ImageWindow.h"

#include <algorithm>

namespace starfall::patch {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

std::uint32_t crcOfImage(ImageWindow& window, Position size) {
    Crc32 crc;
    std::vector<std::uint8_t> chunk;
    for (Position at = 0; at < size; at += ImageWindow::kBlockBytes) {
        chunk.resize(static_cast<std::size_t>(std::min(ImageWindow::kBlockBytes, size - at)));
        window.read(at, chunk);
        crc.update(chunk);
    }
    return crc.value();
}

// Builds the target in order without holding it: the image stands in for
// every target byte equal to the source's at the same place, and only the
// bytes that differ are kept, as the changes to write.
class TargetBuilder {
public:
    TargetBuilder(ImageWindow& source, const std::string& patchPath)
        : m_source(source), m_changes(patchPath) {}

    void take(const BpsPatch& patch, const BpsAction& action) {
        switch (action.kind) {
        case BpsActionKind::SourceRead:
        case BpsActionKind::SourceCopy:
            fromSource(action.from, action.length);
            break;
        case BpsActionKind::TargetRead:
            put(std::span(patch.file)
                    .subspan(static_cast<std::size_t>(action.from),
                             static_cast<std::size_t>(action.length)));
            break;
        case BpsActionKind::TargetCopy:
            fromTarget(action.from, action.length);
            break;
        }
    }
    [[nodiscard]] std::uint32_t crc() const { return m_crc.value(); }
    [[nodiscard]] ByteChanges changes() { return m_changes.take(); }

private:
    void fromSource(Position from, Position length) {
        std::vector<std::uint8_t> chunk;
        for (Position done = 0; done < length;) {
            chunk.resize(static_cast<std::size_t>(std::min<Position>(kChunkBytes, length - done)));
            m_source.read(from + done, chunk);
            put(chunk);
            done += static_cast<Position>(chunk.size());
        }
    }

    // Byte by byte: the copy may read what it has just written.
    void fromTarget(Position from, Position length) {
        for (Position i = 0; i < length; ++i) {
            const std::uint8_t byte = targetAt(from + i);
            put(std::span(&byte, 1));
        }
    }

    std::uint8_t targetAt(Position position) {
        // Bytes that differ from the source are the changes; the rest are
        // the source's own.
        const std::vector<ByteRun>& kept = m_changes.next();
        const auto after =
            std::upper_bound(kept.begin(), kept.end(), position,
                             [](Position p, const ByteRun& run) { return p < run.start; });
        if (after != kept.begin()) {
            const ByteRun& run = *std::prev(after);
            if (position < run.start + static_cast<Position>(run.bytes.size()))
                return run.bytes[static_cast<std::size_t>(position - run.start)];
        }
        return m_source.at(position);
    }

    void put(std::span<const std::uint8_t> bytes) {
        m_crc.update(bytes);
        const std::vector<std::uint8_t> source = m_source.read(m_output, bytes.size());
        m_changes.compare(m_output, source, bytes);
        m_output += static_cast<Position>(bytes.size());
    }

    ImageWindow& m_source;
    ChangeCollector m_changes;
    Crc32 m_crc;
    Position m_output = 0;
};

} // namespace

ByteChanges planBps(const BpsPatch& patch, const std::string& image) {
    if (patch.targetSize != patch.sourceSize)
        throw CoreError(Failure::ImageSizesDiffer, patch.path, -1,
                        std::to_string(patch.sourceSize) + " ≠ " +
                            std::to_string(patch.targetSize));
    if (imageSize(image) != patch.sourceSize)
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::SourceSize));
    ImageWindow window(image);
    const std::uint32_t crc = crcOfImage(window, patch.sourceSize);
    if (crc != patch.sourceCrc) {
        if (crc == patch.targetCrc)
            return {}; // already applied
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::SourceCrc));
    }
    TargetBuilder target(window, patch.path);
    forEachAction(patch, [&](const BpsAction& action) { target.take(patch, action); });
    if (target.crc() != patch.targetCrc)
        throw CoreError(Failure::PatchDamaged, patch.path, -1,
                        messages::patchFault(PatchFault::TargetChecksum));
    return target.changes();
}

} // namespace starfall::patch
