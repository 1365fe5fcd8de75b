#pragma once

// The rollback journal of a save: the bytes the save is about to overwrite,
// as they were and as the save will leave them. It is written and flushed
// beside the image before the image is touched, and deleted once the image is
// flushed; a journal found later is a save that did not finish.
//
// A journal belongs to its image by content: it applies only while every
// position it names holds its old or its new byte. The image's size, device
// and inode are kept as hints for the report only, since a remount or a copy
// changes them without changing the bytes.
//
// Layout, little-endian: "SFJOURN2", image size, device and inode, the length
// of the image's save history before the save (8 bytes each; all ones for
// none), the number of runs (8), each run as start (8), length (8), its old
// bytes and its new bytes, then the mark "SFJDONE!" and the CRC-32 of
// everything before the CRC (4). The mark and CRC come last, so a journal cut
// off while being written has no mark. Journals of the first layout
// ("SFJOURN1": no history length, old bytes only) are still read; they apply
// only to the image of the same size, device and inode.

#include "core/io/Position.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <string>
#include <vector>

namespace starfall {

struct ImageIdentity {
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const ImageIdentity&) const = default;
};

// Bytes of the image from `start`, as they were before the save and as the
// save writes them (`fresh` is empty in a journal of the first layout).
struct JournalRun {
    Position start = 0;
    std::vector<std::uint8_t> old;
    std::vector<std::uint8_t> fresh;
    bool operator==(const JournalRun&) const = default;
};

inline constexpr std::uint64_t kNoHistoryLength = ~std::uint64_t{0};

struct SaveJournal {
    ImageIdentity identity;
    std::vector<JournalRun> runs;
    std::uint64_t historyLength = kNoHistoryLength;
    bool firstLayout = false; // read from a journal of the first layout
    bool operator==(const SaveJournal&) const = default;
};

// Files beside an image are named after its resolved path, so that a symlink
// and its target share them: the path with `suffix` added, or, for a file
// name too long to take it, the name's head, a dot, the CRC-32 of the whole
// name in hex and `suffix`.
[[nodiscard]] std::string besideImage(const std::string& imagePath, std::string_view suffix);

// The journal of `imagePath`: besideImage(imagePath, ".journal").
[[nodiscard]] std::string journalPathFor(const std::string& imagePath);

[[nodiscard]] std::vector<std::uint8_t> encodeJournal(const SaveJournal& journal);

enum class JournalState {
    Complete, // mark and checksum are sound: it may be applied
    Torn,     // a cut-off start of a journal: cut off before the image was touched
    Damaged,  // a mark, but the checksum or the layout is wrong
    Foreign,  // not a journal at all, or longer than its own counts allow
};

struct DecodedJournal {
    JournalState state = JournalState::Torn;
    SaveJournal journal; // only for Complete
};

[[nodiscard]] DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes);

} // namespace starfall
