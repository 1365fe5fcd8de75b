#pragma once

// The list of weapon numbers behind a unit record, with the names of
// weapon.ini.

#include "core/io/Position.h"

#include <array>

#include <string>
#include <string_view>
#include <vector>

namespace starfall {

struct NamedWeapon {
    int index = 0;
    int number = 0;
    std::string name; // code page 949, as weapon.ini holds it
};

// Where a unit's weapon list starts before the split units' adjustment:
// 24 bytes after the unit record's position P.
[[nodiscard]] constexpr Position unitWeaponListStart(Position unitPosition) {
    return unitPosition + 24;
}

// Where the list lies: L = unitWeaponListStart(P), moved one sector gap on for the split
// units; the count byte at L - 2.
[[nodiscard]] Position weaponListPosition(std::string_view nameCp949, std::string_view addressText,
                                          Position listPosition);
// The two number bytes of entry i, for a list at the adjusted position.
[[nodiscard]] std::array<Position, 2> weaponEntryPositions(std::string_view nameCp949,
                                                           Position list, int index);

// The weapon numbers of the unit's list, in list order, read as
// loadNamedWeaponList reads them; for what needs no names (the survey of an
// image, which reads every unit's list).
[[nodiscard]] std::vector<int> loadWeaponNumbers(const std::string& imagePath,
                                                 std::string_view nameCp949,
                                                 std::string_view addressText,
                                                 Position listPosition);

// Reads the list of the unit (its name, its list address text and
// unitWeaponListStart(P)).
// Throws CoreError(ImageOpenForLoad) when the image cannot be opened.
[[nodiscard]] std::vector<NamedWeapon> loadNamedWeaponList(const std::string& imagePath,
                                                           std::string_view nameCp949,
                                                           std::string_view addressText,
                                                           Position listPosition,
                                                           const std::string& iniPath);

} // namespace starfall
