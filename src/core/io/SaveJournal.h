#pragma once

// The rollback journal of a save: which image it belongs to and the bytes the
// save is about to overwrite, as they were. It is written and flushed beside
// the image before the image is touched, and deleted once the image is
// flushed; a journal found later is a save that did not finish.
//
// Layout, little-endian: "SFJOURN1", image size, device and inode (8 bytes
// each), the number of runs (8), each run as start (8), length (8) and its
// old bytes, then the mark "SFJDONE!" and the CRC-32 of everything before
// the CRC (4). The mark and CRC come last, so a journal cut off while being
// written has no mark.

#include "core/io/Position.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall {

struct ImageIdentity {
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const ImageIdentity&) const = default;
};

// Bytes of the image from `start`, as they were before the save.
struct JournalRun {
    Position start = 0;
    std::vector<std::uint8_t> old;
    bool operator==(const JournalRun&) const = default;
};

struct SaveJournal {
    ImageIdentity identity;
    std::vector<JournalRun> runs;
    bool operator==(const SaveJournal&) const = default;
};

// The journal of `imagePath`: the image's own path with ".journal" added, or,
// for a file name too long to take it, the name's first 238 bytes, a dot, the
// CRC-32 of the whole name in hex and ".journal".
[[nodiscard]] std::string journalPathFor(const std::string& imagePath);

[[nodiscard]] std::vector<std::uint8_t> encodeJournal(const SaveJournal& journal);

enum class JournalState {
    Complete, // mark and checksum are sound: it may be applied
    Torn,     // no mark: cut off before the image was touched
    Damaged,  // a mark, but the checksum or the layout is wrong
};

struct DecodedJournal {
    JournalState state = JournalState::Torn;
    SaveJournal journal; // only for Complete
};

[[nodiscard]] DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes);

} // namespace starfall
