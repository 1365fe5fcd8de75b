#include "core/patch/PpfWriter.h"

#include "core/patch/PatchBytes.h"
#include "core/patch/PpfPatch.h"

#include <stdexcept>

namespace starfall::patch {

namespace {

void appendHeader(std::vector<std::uint8_t>& out, const PpfOptions& options) {
    if (options.description.size() > kPpfDescriptionBytes)
        throw std::invalid_argument("a PPF description holds at most 50 bytes");
    if (options.blockCheck && options.blockCheck->size() != kBlockCheckBytes)
        throw std::invalid_argument("a block check is 1024 bytes");
    appendText(out, "PPF30");
    out.push_back(2);
    appendText(out, options.description);
    out.resize(out.size() + kPpfDescriptionBytes - options.description.size(), ' ');
    out.push_back(static_cast<std::uint8_t>(PpfImageType::Bin));
    out.push_back(options.blockCheck ? 1 : 0);
    out.push_back(options.undo ? 1 : 0);
    out.push_back(0);
    if (options.blockCheck)
        out.insert(out.end(), options.blockCheck->begin(), options.blockCheck->end());
}

void appendRecords(std::vector<std::uint8_t>& out, const ByteChanges& changes, bool undo) {
    for (std::size_t r = 0; r < changes.next.size(); ++r) {
        const std::vector<std::uint8_t>& next = changes.next[r].bytes;
        const std::vector<std::uint8_t>& previous = changes.previous[r].bytes;
        for (std::size_t at = 0; at < next.size(); at += kMaxPpfRecordBytes) {
            const std::size_t length = std::min(kMaxPpfRecordBytes, next.size() - at);
            const auto from = static_cast<std::ptrdiff_t>(at);
            const auto to = static_cast<std::ptrdiff_t>(at + length);
            appendLittle(out, static_cast<std::uint64_t>(changes.next[r].start) + at, 8);
            out.push_back(static_cast<std::uint8_t>(length));
            out.insert(out.end(), next.begin() + from, next.begin() + to);
            if (undo)
                out.insert(out.end(), previous.begin() + from, previous.begin() + to);
        }
    }
}

} // namespace

std::vector<std::uint8_t> writePpf3(const PpfOptions& options, const ByteChanges& changes) {
    std::vector<std::uint8_t> out;
    appendHeader(out, options);
    appendRecords(out, changes, options.undo);
    if (options.diz) {
        if (options.diz->size() > kMaxDizBytes)
            throw std::invalid_argument("a FILE_ID.DIZ holds at most 3072 bytes");
        appendText(out, kDizBegin);
        appendText(out, *options.diz);
        appendText(out, kDizEnd);
        appendLittle(out, options.diz->size(), 2);
    }
    return out;
}

} // namespace starfall::patch
