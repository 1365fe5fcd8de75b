#include "core/lists/ImageSurvey.h"

#include "core/lists/ListFolders.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotLayout.h"
#include "core/sector/SectorCodes.h"
#include "core/unit/UnitLayout.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponRecord.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>

namespace starfall {

namespace {

bool reachesPast(const std::vector<Position>& positions, Position size) {
    return std::any_of(positions.begin(), positions.end(),
                       [size](Position at) { return at >= size; });
}

std::vector<std::size_t> rowsPastEnd(const NameList& list, Position size,
                                     std::vector<Position> (*positionsOf)(const NameList&,
                                                                          std::size_t)) {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < list.entries.size(); ++row) {
        if (reachesPast(positionsOf(list, row), size))
            rows.push_back(row);
    }
    return rows;
}

std::vector<Position> unitPositions(const NameList& list, std::size_t row) {
    return unitRecordPositions(UnitPlace::fromList(list, row));
}

std::vector<Position> pilotPositions(const NameList& list, std::size_t row) {
    return pilotRecordPositions(PilotReference::fromList(list, row));
}

std::size_t weaponsPastEnd(const std::string& imagePath, const NameList& units, Position size,
                           const std::vector<std::size_t>& unitsPastEnd) {
    std::set<int> numbers;
    for (std::size_t row = 0; row < units.entries.size(); ++row) {
        if (std::binary_search(unitsPastEnd.begin(), unitsPastEnd.end(), row))
            continue; // its weapon list is not in the image either
        const NameListEntry& entry = units.entries[row];
        for (const int number : loadWeaponNumbers(imagePath, entry.name, entry.addressText,
                                                  unitWeaponListStart(units.positionOf(entry)))) {
            if (weaponPastEnd(number, size))
                numbers.insert(number);
        }
    }
    return numbers.size();
}

// Whether the image's first sector starts with the raw sector's sync pattern.
bool startsRaw(const std::string& imagePath) {
    const std::vector<std::uint8_t> head = readRange(imagePath, 0, sector::kSync.size());
    return std::equal(head.begin(), head.end(), sector::kSync.begin(), sector::kSync.end());
}

} // namespace

std::vector<std::size_t> weaponRowsPastEnd(const std::vector<NamedWeapon>& weapons,
                                           Position imageSize) {
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < weapons.size(); ++row) {
        if (weaponPastEnd(weapons[row].number, imageSize))
            rows.push_back(row);
    }
    return rows;
}

bool weaponPastEnd(int number, Position imageSize) {
    const auto bytes = weaponBytePositions(number);
    return reachesPast({bytes.begin(), bytes.end()}, imageSize);
}

ImageSurvey surveyImage(const std::string& imagePath, const std::string& programDirectory) {
    ImageSurvey survey;
    {
        const FileHandle image(imagePath, O_RDONLY);
        if (!image.isOpen())
            throw CoreError(Failure::ImageOpenForLoad, imagePath, -1,
                            std::strerror(image.error() == EINVAL ? EISDIR : image.error()));
        struct stat status {};
        if (::fstat(image.fd(), &status) == 0)
            survey.size = status.st_size;
    }
    survey.writable = FileHandle(imagePath, O_RDWR).isOpen();
    // Found where the pages will look for them.
    const ListFolders folders = listFoldersFor(programDirectory, imagePath);
    const NameList units = loadNameList(folders, ListKind::Units);
    const NameList pilots = loadNameList(folders, ListKind::Pilots);
    // Every unit's weapon list is read, and they lie close together: read in
    // blocks, 100,000-entry lists cost a read per block, not one per unit.
    const ImageReadScope scope(imagePath, ScopeReads::Blocks);
    survey.rawSectors = startsRaw(imagePath);
    survey.unitsPastEnd = rowsPastEnd(units, survey.size, unitPositions);
    survey.pilotsPastEnd = rowsPastEnd(pilots, survey.size, pilotPositions);
    survey.weaponsPastEnd = weaponsPastEnd(imagePath, units, survey.size, survey.unitsPastEnd);
    return survey;
}

} // namespace starfall
