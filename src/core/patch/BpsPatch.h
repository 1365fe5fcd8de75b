#pragma once

// A BPS patch as read from its file: sizes, metadata, checksums, and the
// actions, checked once on reading and walked again where they are applied.

#include "core/io/Position.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace starfall::patch {

enum class BpsActionKind : std::uint8_t { SourceRead, TargetRead, SourceCopy, TargetCopy };

struct BpsAction {
    BpsActionKind kind = BpsActionKind::SourceRead;
    Position length = 0;
    Position output = 0; // where in the target it writes
    // SourceCopy, TargetCopy: where in the source or target it copies from;
    // TargetRead: where its bytes lie in the patch file.
    Position from = 0;
};

struct BpsPatch {
    std::string path;
    std::vector<std::uint8_t> file;
    Position sourceSize = 0;
    Position targetSize = 0;
    std::string metadata;
    std::size_t actionsAt = 0;  // in the file
    std::size_t actionsEnd = 0; // where the footer's three CRC32s start
    std::size_t actions = 0;
    Position copiedOrRead = 0; // target bytes not taken from the same place in the source
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    std::uint32_t patchCrc = 0;
};

// Reads a file that starts with "BPS1". Throws CoreError(PatchDamaged) for a
// patch CRC32 that does not match, a bad number, an action that reads or
// writes outside the source or target, and actions that leave the target short.
[[nodiscard]] BpsPatch readBps(std::vector<std::uint8_t> file, const std::string& path);

// Walks the actions of a patch that readBps returned.
void forEachAction(const BpsPatch& patch, const std::function<void(const BpsAction&)>& visit);

// BPS numbers: seven bits a byte, low first, the top bit ending the number,
// and one taken off after each shift so that every number has one encoding.
void appendVarint(std::vector<std::uint8_t>& out, std::uint64_t value);

} // namespace starfall::patch
