#pragma once

// A PPF patch as read from its file: the header's fields and, per record, the
// place it writes and where its new (and undo) bytes lie in the file.

#include "core/io/Position.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::patch {

enum class PpfVersion { V1, V2, V3 };
enum class PpfImageType : std::uint8_t { Bin = 0, Gi = 1 };

inline constexpr std::size_t kPpfDescriptionBytes = 50;
inline constexpr std::size_t kBlockCheckBytes = 1024;
inline constexpr std::size_t kMaxDizBytes = 3072;
inline constexpr std::size_t kMaxPpfRecordBytes = 255;
inline constexpr std::string_view kDizBegin = "@BEGIN_FILE_ID.DIZ";
inline constexpr std::string_view kDizEnd = "@END_FILE_ID.DIZ";

// Where the block check's bytes lie in the image: past the disc's system area.
[[nodiscard]] constexpr Position blockCheckPosition(PpfImageType type) {
    return type == PpfImageType::Gi ? 0x80A0 : 0x9320;
}

struct PpfRecord {
    Position offset = 0;
    std::uint32_t at = 0;     // the new bytes' place in the file; undo bytes follow them
    std::uint32_t length = 0; // 1 to 255
};

struct PpfPatch {
    std::string path;
    std::vector<std::uint8_t> file;
    PpfVersion version = PpfVersion::V3;
    std::string description; // without its padding
    PpfImageType imageType = PpfImageType::Bin;
    std::optional<std::size_t> blockCheckAt; // in the file, when there is a block check
    bool undo = false;
    std::optional<std::uint32_t> imageSize; // PPF 2.0
    std::vector<PpfRecord> records;
    std::optional<std::string> diz;

    [[nodiscard]] std::span<const std::uint8_t> blockCheck() const {
        return std::span(file).subspan(*blockCheckAt, kBlockCheckBytes);
    }
    [[nodiscard]] std::span<const std::uint8_t> newBytes(const PpfRecord& record) const {
        return std::span(file).subspan(record.at, record.length);
    }
    [[nodiscard]] std::span<const std::uint8_t> oldBytes(const PpfRecord& record) const {
        return std::span(file).subspan(record.at + record.length, record.length);
    }
};

// Reads a file that starts with "PPF10", "PPF20" or "PPF30". Throws
// CoreError(PatchDamaged) naming the place in the file of a truncated or
// damaged header, record or FILE_ID.DIZ, and of a record of length 0.
[[nodiscard]] PpfPatch readPpf(std::vector<std::uint8_t> file, const std::string& path);

} // namespace starfall::patch
