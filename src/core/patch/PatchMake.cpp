#include "core/patch/PatchMake.h"

#include "core/io/CoreError.h"
#include "core/io/Crc32.h"
#include "core/io/ImageAccess.h"
#include "core/io/ReadBuffer.h"
#include "core/patch/BpsWriter.h"
#include "core/patch/ImageWindow.h"
#include "core/patch/PatchLimits.h"
#include "core/patch/PpfPatch.h"
#include "core/patch/PpfWriter.h"
#include "core/sector/SectorCodes.h"
#include "core/text/PatchFaultTexts.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace starfall::patch {

namespace {

// Whole sectors, so that each block holds the sectors it checks.
constexpr std::size_t kBlockBytes = 448 * sector::kSectorSize;

// Stale sectors apart by what changed in them: the data, or only the codes.
struct StaleSectors {
    std::vector<std::int64_t> dataChanged;
    std::vector<std::int64_t> codesOnly;
};

struct Walk {
    ByteChanges changes;
    StaleSectors stale;
    BpsChecksums checksums;
};

std::size_t codesStart(sector::Form form) {
    return form == sector::Form::Form1 ? sector::kDataEnd : sector::kForm2EdcAt;
}

// A raw sector whose bytes changed and whose codes no longer match them.
// Images without sector framing have no codes to go stale.
void findStale(Position start, std::span<const std::uint8_t> base,
               std::span<const std::uint8_t> modded, StaleSectors& stale) {
    for (std::size_t at = 0; at + sector::kSectorSize <= modded.size(); at += sector::kSectorSize) {
        if (std::memcmp(base.data() + at, modded.data() + at, sector::kSectorSize) == 0)
            continue;
        const sector::ConstSector one(modded.data() + at, sector::kSectorSize);
        const sector::Form form = sector::formOf(one);
        if (form == sector::Form::Other || sector::check(one).matches())
            continue;
        const std::int64_t number = (start + static_cast<Position>(at)) / sector::kSectorBytes;
        const bool dataSame =
            std::memcmp(base.data() + at, modded.data() + at, codesStart(form)) == 0;
        (dataSame ? stale.codesOnly : stale.dataChanged).push_back(number);
    }
}

// Sectors whose data changed come first: repairing them is the usual next
// step, and a sector whose codes alone changed is named only when no other is.
void refuseStale(const std::string& modded, const StaleSectors& stale) {
    if (!stale.dataChanged.empty())
        throw CoreError(Failure::StaleSectorCodes, modded, -1, describeSectors(stale.dataChanged));
    if (!stale.codesOnly.empty())
        throw CoreError(Failure::ChangedSectorCodes, modded, -1, describeSectors(stale.codesOnly));
}

// Bytes per CRC32 piece: a piece both images hold alike is summed once for
// both, so that only the few pieces a mod changes are summed twice.
constexpr std::size_t kCrcPieceBytes = 4 * sector::kSectorSize;

class ImageChecksums {
public:
    void add(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
        for (std::size_t at = 0; at < before.size(); at += kCrcPieceBytes) {
            const std::size_t count = std::min(kCrcPieceBytes, before.size() - at);
            const auto base = before.subspan(at, count);
            const auto modded = after.subspan(at, count);
            if (std::memcmp(base.data(), modded.data(), count) != 0) {
                m_base.update(base);
                m_modded.update(modded);
                continue;
            }
            const std::uint32_t crc = crc32Of(base);
            if (count == m_shift.length()) {
                m_base.append(crc, m_shift);
                m_modded.append(crc, m_shift);
            } else {
                m_base.append(crc, count);
                m_modded.append(crc, count);
            }
        }
    }
    [[nodiscard]] BpsChecksums value() const { return {m_base.value(), m_modded.value()}; }

private:
    Crc32Shift m_shift{kCrcPieceBytes};
    Crc32 m_base;
    Crc32 m_modded;
};

// The handle an ImageReadScope holds for `path`.
int scopedHandle(const std::string& path) {
    const int fd = ImageReadScope::handleFor(path);
    if (fd < 0)
        throw CoreError(Failure::ImageOpenForLoad, path);
    return fd;
}

// One pass over both images, each opened once, through two buffers that
// every block reuses; each block is compared, checked and summed while it is
// still in the cache.
Walk walkImages(const std::string& base, const std::string& modded, Position size, bool crcs) {
    Walk walk;
    ChangeCollector changes(modded);
    ImageChecksums checksums;
    const ImageReadScope baseScope(base);
    const ImageReadScope moddedScope(modded);
    const int baseFd = scopedHandle(base);
    const int moddedFd = scopedHandle(modded);
    ReadBuffer beforeBuffer(kBlockBytes);
    ReadBuffer afterBuffer(kBlockBytes);
    const std::span<std::uint8_t> before = beforeBuffer.bytes();
    const std::span<std::uint8_t> after = afterBuffer.bytes();
    for (Position start = 0; start < size; start += static_cast<Position>(kBlockBytes)) {
        const auto want = static_cast<std::size_t>(std::min<Position>(kBlockBytes, size - start));
        checkPositions(std::array<Position, 2>{start, start + static_cast<Position>(want) - 1},
                       base);
        const auto baseBlock =
            before.first(readImageAt(baseFd, start, before.first(want), base));
        const auto moddedBlock =
            after.first(readImageAt(moddedFd, start, after.first(want), modded));
        if (baseBlock.size() != moddedBlock.size())
            throw CoreError(Failure::ImageSizesDiffer, modded, -1,
                            std::to_string(start + static_cast<Position>(baseBlock.size())) +
                                " ≠ " +
                                std::to_string(start + static_cast<Position>(moddedBlock.size())));
        changes.compare(start, baseBlock, moddedBlock);
        findStale(start, baseBlock, moddedBlock, walk.stale);
        if (crcs)
            checksums.add(baseBlock, moddedBlock);
    }
    walk.changes = changes.take();
    walk.checksums = checksums.value();
    return walk;
}

std::optional<std::vector<std::uint8_t>> blockCheckOf(const std::string& base, Position size) {
    const Position at = blockCheckPosition(PpfImageType::Bin);
    if (at + static_cast<Position>(kBlockCheckBytes) > size)
        return std::nullopt; // too short to hold the block the check copies
    return readRange(base, at, kBlockCheckBytes);
}

} // namespace

void checkPatchSize(const std::vector<std::uint8_t>& patch, const std::string& image) {
    if (patch.size() > kMaxPatchFileBytes)
        throw CoreError(Failure::PatchTooLarge, image, -1,
                        messages::patchFileLimit(kMaxPatchFileBytes / kMebibyte));
}

std::vector<std::uint8_t> makePatch(const std::string& base, const std::string& modded,
                                    const MakeOptions& options) {
    const Position size = imageSize(base);
    const Position moddedSize = imageSize(modded);
    if (moddedSize != size)
        throw CoreError(Failure::ImageSizesDiffer, modded, -1,
                        std::to_string(size) + " ≠ " + std::to_string(moddedSize));
    const Walk walk = walkImages(base, modded, size, options.kind == PatchKind::Bps);
    // A patch without records sends other patchers into an endless loop.
    if (walk.changes.empty())
        throw CoreError(Failure::ImagesIdentical, modded);
    if (!options.keepStaleCodes)
        refuseStale(modded, walk.stale);
    std::vector<std::uint8_t> patch =
        options.kind == PatchKind::Bps
            ? writeLinearBps(size, walk.changes, options.description, walk.checksums)
            : writePpf3({options.description, blockCheckOf(base, size), true, options.diz},
                        walk.changes);
    checkPatchSize(patch, modded);
    return patch;
}


std::string describeSectors(const std::vector<std::int64_t>& sectors) {
    std::string text;
    for (std::size_t i = 0; i < sectors.size();) {
        std::size_t last = i;
        while (last + 1 < sectors.size() && sectors[last + 1] == sectors[last] + 1)
            ++last;
        if (!text.empty())
            text += ", ";
        text += std::to_string(sectors[i]);
        if (last > i) {
            text += '-';
            text += std::to_string(sectors[last]);
        }
        i = last + 1;
    }
    return text;
}

} // namespace starfall::patch
