#include "core/sector/SectorScan.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/io/ReadBuffer.h"
#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace starfall {

namespace {

constexpr std::int64_t kSectorBytes = sector::kSectorBytes;
// 150 KB: a block read stays in the cache while its sectors are checked.
constexpr std::size_t kSectorsPerBlock = 64;

// Calls visit(index, sector) for each whole sector of the file, however
// large, counting them into `report`. A file with no Mode 2 sector at all is
// not a raw image: CoreError(NoRawSectors).
void scan(const std::string& path, SectorReport& report,
          const std::function<void(std::int64_t, sector::ConstSector)>& visit) {
    recoverInterruptedSave(path);
    const FileHandle file(path, O_RDONLY);
    if (!file.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, path);
    // Read front to back once: let the kernel read ahead.
    (void)::posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    ReadBuffer buffer(kSectorsPerBlock * sector::kSectorSize);
    const std::span<std::uint8_t> block = buffer.bytes();
    std::int64_t raw = 0;
    for (Position start = 0;; start += static_cast<Position>(block.size())) {
        const std::size_t got = readImageAt(file.fd(), start, block, path);
        const std::size_t whole = got / sector::kSectorSize;
        for (std::size_t i = 0; i < whole; ++i) {
            const sector::ConstSector one(block.data() + i * sector::kSectorSize,
                                          sector::kSectorSize);
            raw += sector::formOf(one) == sector::Form::Other ? 0 : 1;
            visit(report.sectors, one);
            ++report.sectors;
        }
        if (whole < kSectorsPerBlock) {
            report.trailingBytes = static_cast<std::int64_t>(got % sector::kSectorSize);
            break;
        }
    }
    if (raw == 0)
        throw CoreError(Failure::NoRawSectors, path);
}

} // namespace

std::int64_t sectorOf(Position position) {
    return position / kSectorBytes;
}

std::vector<SectorRange> sectorRangesOf(std::span<const Position> positions) {
    std::vector<std::int64_t> sectors;
    sectors.reserve(positions.size());
    for (const Position p : positions)
        sectors.push_back(sectorOf(p));
    std::sort(sectors.begin(), sectors.end());
    std::vector<SectorRange> ranges;
    for (const std::int64_t s : sectors) {
        if (!ranges.empty() && s <= ranges.back().last + 1)
            ranges.back().last = std::max(ranges.back().last, s);
        else
            ranges.push_back({s, s});
    }
    return ranges;
}

SectorReport verifySectors(const std::string& path) {
    SectorReport report;
    scan(path, report, [&report](std::int64_t index, sector::ConstSector one) {
        const sector::Form form = sector::formOf(one);
        report.form1 += form == sector::Form::Form1 ? 1 : 0;
        report.form2 += form == sector::Form::Form2 ? 1 : 0;
        if (const sector::Check check = sector::check(one); !check.matches())
            report.mismatches.push_back(
                {index, !check.edcMatches, !check.eccMatches, form == sector::Form::Form2});
    });
    return report;
}

RepairReport repairSectors(const std::string& path, std::span<const SectorRange> ranges) {
    RepairReport report;
    std::vector<ByteWrite> plan;
    const auto inRanges = [ranges](std::int64_t s) {
        return std::any_of(ranges.begin(), ranges.end(),
                           [s](const SectorRange& r) { return r.holds(s); });
    };
    SectorReport counts;
    scan(path, counts, [&](std::int64_t index, sector::ConstSector one) {
        const sector::Check check = sector::check(one);
        if (check.matches())
            return;
        const bool form1 = sector::formOf(one) == sector::Form::Form1;
        const SectorMismatch mismatch{index, !check.edcMatches, !check.eccMatches, !form1};
        if (!form1 || !inRanges(index)) {
            report.leftAlone.push_back(mismatch);
            return;
        }
        std::array<std::uint8_t, sector::kSectorSize> fixed{};
        std::copy(one.begin(), one.end(), fixed.begin());
        sector::writeForm1Codes(fixed);
        for (std::size_t at = sector::kDataEnd; at < sector::kSectorSize; ++at)
            plan.push_back({index * kSectorBytes + static_cast<Position>(at), fixed[at]});
        report.repaired.push_back(mismatch);
    });
    if (!plan.empty())
        writeBytes(path, plan, {}, FramingRule::Allow);
    return report;
}

} // namespace starfall
