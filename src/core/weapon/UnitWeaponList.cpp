#include "core/weapon/UnitWeaponList.h"

#include "core/codec/Cp949.h"
#include "core/codec/FixedName.h"
#include "core/codec/TextNumbers.h"
#include "core/io/ImageAccess.h"
#include "core/sector/SectorGeometry.h"
#include "core/text/RecordNames.h"
#include "core/weapon/WeaponIni.h"

#include <algorithm>

namespace starfall {

namespace {

constexpr int kEntryBytes = 4;
constexpr std::array<std::int32_t, 5> kSplitAddresses = {6208, 8562, 10922, 13268, 22672};

// Entries with sector framing between their number bytes and their last two.
struct SplitEntry {
    FixedName unit;
    int index;
};

const std::array<SplitEntry, 3>& splitEntries() {
    static const std::array<SplitEntry, 3> entries = {
        SplitEntry{FixedName("리가즈이"), 2}, SplitEntry{FixedName("양산형 뉴건담(판넬)"), 3},
        SplitEntry{FixedName("아슈라템플"), 1}};
    return entries;
}

// The entry of this unit's list with framing after its number bytes, or -1
// (a unit has one at most).
int splitEntryOf(std::string_view name) {
    for (const SplitEntry& entry : splitEntries()) {
        if (entry.unit.matches(name))
            return entry.index;
    }
    return -1;
}

// The entries lie four bytes apart, those after a split entry one gap further.
std::array<Position, 2> entryPositions(Position list, int split, int index) {
    const Position at =
        list + Position{kEntryBytes} * index + (split >= 0 && split < index ? kSectorGap : 0);
    return {at, at + 1};
}

// Whatever this unit's list stores third, the game reads weapon 1203.
constexpr int kFixedThirdWeapon = 1203;

} // namespace

Position weaponListPosition(std::string_view nameCp949, std::string_view addressText,
                            Position listPosition) {
    static const FixedName dankuga("단쿠가");
    const std::int32_t address = parseDecimal(addressText);
    const bool split =
        dankuga.matches(nameCp949) ||
        std::find(kSplitAddresses.begin(), kSplitAddresses.end(), address) != kSplitAddresses.end();
    return listPosition + (split ? kSectorGap : 0);
}

std::array<Position, 2> weaponEntryPositions(std::string_view nameCp949, Position list, int index) {
    return entryPositions(list, splitEntryOf(nameCp949), index);
}

std::vector<int> loadWeaponNumbers(const std::string& imagePath, std::string_view nameCp949,
                                   std::string_view addressText, Position listPosition) {
    static const FixedName dio("디오");
    const Position list = weaponListPosition(nameCp949, addressText, listPosition);
    const std::array<Position, 1> countAt = {list - 2};
    const int count = std::max(readBytes(imagePath, countAt)[0], 0);
    std::vector<Position> positions;
    positions.reserve(2 * static_cast<std::size_t>(count));
    const int split = splitEntryOf(nameCp949); // asked once: a list holds up to 255 entries
    for (int i = 0; i < count; ++i) {
        const auto entry = entryPositions(list, split, i);
        positions.insert(positions.end(), entry.begin(), entry.end());
    }
    const std::vector<int> bytes = readBytes(imagePath, positions);
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int low = std::max(bytes[2 * i], 0) & 0xFF;
        const int high = std::max(bytes[2 * i + 1], 0) & 0xFF;
        numbers.push_back(i == 2 && dio.matches(nameCp949) ? kFixedThirdWeapon
                                                           : low + 256 * (high % 8));
    }
    return numbers;
}

std::vector<NamedWeapon> loadNamedWeaponList(const std::string& imagePath,
                                             std::string_view nameCp949,
                                             std::string_view addressText, Position listPosition,
                                             const std::string& iniPath) {
    const std::vector<int> numbers =
        loadWeaponNumbers(imagePath, nameCp949, addressText, listPosition);
    const WeaponIni ini = WeaponIni::load(iniPath);
    std::vector<NamedWeapon> weapons;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const int number = numbers[i];
        weapons.push_back({static_cast<int>(i), number,
                           ini.find(std::to_string(number))
                               .value_or(cp949::fromUtf8(messages::defaultWeaponName(number)))});
    }
    return weapons;
}

} // namespace starfall
