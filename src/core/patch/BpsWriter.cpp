#include "core/patch/BpsWriter.h"

#include "core/io/Crc32.h"
#include "core/patch/BpsPatch.h"
#include "core/patch/PatchBytes.h"

namespace starfall::patch {

namespace {

void appendAction(std::vector<std::uint8_t>& out, BpsActionKind kind, Position length) {
    appendVarint(out,
                 static_cast<std::uint64_t>(length - 1) << 2 | static_cast<std::uint8_t>(kind));
}

} // namespace

std::vector<std::uint8_t> writeLinearBps(Position size, const ByteChanges& changes,
                                         std::string_view metadata, BpsChecksums checksums) {
    std::vector<std::uint8_t> out;
    appendText(out, "BPS1");
    appendVarint(out, static_cast<std::uint64_t>(size));
    appendVarint(out, static_cast<std::uint64_t>(size));
    appendVarint(out, metadata.size());
    appendText(out, metadata);
    Position output = 0;
    for (const ByteRun& run : changes.next) {
        if (run.start > output)
            appendAction(out, BpsActionKind::SourceRead, run.start - output);
        appendAction(out, BpsActionKind::TargetRead, static_cast<Position>(run.bytes.size()));
        out.insert(out.end(), run.bytes.begin(), run.bytes.end());
        output = run.start + static_cast<Position>(run.bytes.size());
    }
    if (size > output)
        appendAction(out, BpsActionKind::SourceRead, size - output);
    appendLittle(out, checksums.source, 4);
    appendLittle(out, checksums.target, 4);
    appendLittle(out, crc32Of(out), 4);
    return out;
}

} // namespace starfall::patch
