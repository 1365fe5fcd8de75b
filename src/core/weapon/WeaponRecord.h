#pragma once

// Weapon records: 17 bytes per weapon number in one table, ten of them edited.

#include "core/codec/ListChoice.h"
#include "core/io/ImageAccess.h"
#include "core/io/Position.h"
#include "core/record/FieldTable.h"
#include "core/record/LoadedBytes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

inline constexpr std::array<std::string_view, 5> kCriticalRateItems = {"-10", "0", "10", "20",
                                                                       "-20"};
inline constexpr std::array<std::string_view, 4> kUpgradeTypeItems = {"A 型", "B 型", "C 型",
                                                                      "D 型"};
// List position = 3 - stored 2-bit code.
inline constexpr std::array<std::string_view, 4> kWeaponTerrainItems = {"A", "B", "C", "--"};
inline constexpr std::array<int, 4> kWeaponTerrainCodes = {3, 2, 1, 0};

inline constexpr int kWeaponRecordBytes = 17;
inline constexpr int kWeaponNumberLimit = 2048; // 11-bit numbers

// Terrain order of the four lists: air, space, land, sea.
struct WeaponRecord {
    std::string attack, hit;
    ListChoice critical = ListChoice::none();    // codes 5-15 kept as unlisted
    ListChoice upgradeType = ListChoice::none(); // codes 4-15 kept as unlisted
    std::string rangeNear, rangeFar;
    std::array<ListChoice, 4> terrain{ListChoice::none(), ListChoice::none(), ListChoice::none(),
                                      ListChoice::none()};
    std::string ammo, en, morale;
    LoadedBytes loaded;

    bool operator==(const WeaponRecord&) const = default;
};

// Where weapon n's record starts, and where each of its 17 bytes lies. The
// table runs from 46381512 through the data areas of consecutive sectors:
// 2000 bytes in the first, 2048 in each further one, with 304 bytes of
// sector framing between.
[[nodiscard]] Position weaponRecordPosition(int number);
[[nodiscard]] std::array<Position, kWeaponRecordBytes> weaponBytePositions(int number);
[[nodiscard]] Position weaponBytePosition(int number, RecordOffset offset);
// The ten edited bytes (0-8 and 10), in the order they are read and written.
[[nodiscard]] std::vector<Position> weaponSavePositions(int number);

[[nodiscard]] WeaponRecord decodeWeaponRecord(std::span<const int> bytes);
[[nodiscard]] std::vector<std::uint8_t> encodeWeaponRecord(const WeaponRecord& record);

// Throws CoreError(ImageOpenForLoad) when the image cannot be opened.
[[nodiscard]] WeaponRecord loadWeaponRecord(const std::string& imagePath, int number);
// The bits of the fields that differ from what the record was read as.
[[nodiscard]] std::vector<ByteWrite> weaponSavePlan(int number, const WeaponRecord& record);
// Writes weaponSavePlan; afterwards the record counts as read
// from what it wrote. Returns and throws as writeBytes does.
SaveReport saveWeaponRecord(const std::string& imagePath, int number, WeaponRecord& record,
                            CodeRule codes = CodeRule::Refresh);

} // namespace starfall
