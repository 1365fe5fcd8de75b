#include "core/patch/PatchPlan.h"

#include "core/io/CoreError.h"
#include "core/io/Crc32.h"
#include "core/patch/ImageWindow.h"
#include "core/text/PatchFaultTexts.h"

#include <algorithm>

namespace starfall::patch {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
// Joining a CRC32 costs about as much as taking one over this many bytes.
constexpr std::size_t kCombineMinimum = 4096;

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
            sameAsSource(action.length);
            break;
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
    // The image's CRC32: the target is built over each of its bytes once, in order.
    [[nodiscard]] std::uint32_t sourceCrc() const { return m_sourceCrc.value(); }
    [[nodiscard]] std::uint32_t targetCrc() const { return m_targetCrc.value(); }
    [[nodiscard]] ByteChanges changes() { return m_changes.take(); }

private:
    // Target bytes from the same place in the source change nothing, and
    // their CRC32 counts for both.
    void sameAsSource(Position length) {
        for (Position done = 0; done < length;) {
            const std::span<const std::uint8_t> bytes =
                m_source.view(m_output, static_cast<std::size_t>(length - done));
            feedBoth(bytes);
            m_output += static_cast<Position>(bytes.size());
            done += static_cast<Position>(bytes.size());
        }
    }

    // Until the target first differs, both CRCs are one; after, a short
    // stretch costs less fed to each than combined into each.
    void feedBoth(std::span<const std::uint8_t> bytes) {
        if (m_sourceCrc.value() == m_targetCrc.value()) {
            m_sourceCrc.update(bytes);
            m_targetCrc = m_sourceCrc;
        } else if (bytes.size() < kCombineMinimum) {
            m_sourceCrc.update(bytes);
            m_targetCrc.update(bytes);
        } else {
            const std::uint32_t crc = crc32Of(bytes);
            m_sourceCrc.append(crc, bytes.size());
            m_targetCrc.append(crc, bytes.size());
        }
    }

    void fromSource(Position from, Position length) {
        std::vector<std::uint8_t> chunk;
        for (Position done = 0; done < length;) {
            chunk.resize(static_cast<std::size_t>(std::min<Position>(kChunkBytes, length - done)));
            m_source.read(from + done, chunk);
            put(chunk);
            done += static_cast<Position>(chunk.size());
        }
    }

    // The copy may read what it has just written (a repeated pattern), so a
    // chunk takes no more than the target already holds.
    void fromTarget(Position from, Position length) {
        std::vector<std::uint8_t> chunk;
        for (Position done = 0; done < length;) {
            const Position ready = m_output - (from + done);
            chunk.resize(static_cast<std::size_t>(
                std::min({static_cast<Position>(kChunkBytes), length - done, ready})));
            for (std::size_t i = 0; i < chunk.size(); ++i)
                chunk[i] = targetAt(from + done + static_cast<Position>(i));
            put(chunk);
            done += static_cast<Position>(chunk.size());
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
        m_image.resize(bytes.size());
        m_source.read(m_output, m_image);
        m_sourceCrc.update(m_image);
        m_targetCrc.update(bytes);
        m_changes.compare(m_output, m_image, bytes);
        m_output += static_cast<Position>(bytes.size());
    }

    ImageWindow& m_source;
    ChangeCollector m_changes;
    std::vector<std::uint8_t> m_image; // the image's bytes where the target is being written
    Crc32 m_sourceCrc;
    Crc32 m_targetCrc;
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
    // Nothing is written before the whole walk is checked, so the image's
    // CRC32 is taken in the same pass that builds the target.
    ImageWindow window(image);
    TargetBuilder target(window, patch.path);
    forEachAction(patch, [&](const BpsAction& action) { target.take(patch, action); });
    if (target.sourceCrc() != patch.sourceCrc) {
        if (target.sourceCrc() == patch.targetCrc)
            return {}; // already applied
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::SourceCrc));
    }
    if (target.targetCrc() != patch.targetCrc)
        throw CoreError(Failure::PatchDamaged, patch.path, -1,
                        messages::patchFault(PatchFault::TargetChecksum));
    return target.changes();
}

} // namespace starfall::patch
