#include "core/lists/ImageSurvey.h"

#include "core/lists/ListFolders.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/lists/DistinctEntries.h"
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

// Rows sharing a name and an address share a record: each distinct entry
// is placed once.
std::vector<std::size_t> rowsPastEnd(const NameList& list, const std::vector<std::size_t>& firstRows,
                                     Position size,
                                     Position (*lastPositionOf)(const NameList&, std::size_t)) {
    std::vector<bool> pastEnd(list.entries.size());
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < list.entries.size(); ++row) {
        const std::size_t first = firstRows[row];
        pastEnd[row] = first == row ? lastPositionOf(list, row) >= size : pastEnd[first];
        if (pastEnd[row])
            rows.push_back(row);
    }
    return rows;
}

Position unitLastPosition(const NameList& list, std::size_t row) {
    return unitRecordLastPosition(UnitPlace::fromList(list, row));
}

Position pilotLastPosition(const NameList& list, std::size_t row) {
    return pilotRecordLastPosition(PilotReference::fromList(list, row));
}

std::size_t weaponsPastEnd(const std::string& imagePath, const NameList& units,
                           const std::vector<std::size_t>& firstRows, Position size,
                           const std::vector<std::size_t>& unitsPastEnd) {
    // Lists name the same weapons over and over: each number is checked once,
    // and each distinct unit's weapon list read once.
    std::set<int> numbers;
    for (std::size_t row = 0; row < units.entries.size(); ++row) {
        if (firstRows[row] != row)
            continue; // read at its first row
        if (std::binary_search(unitsPastEnd.begin(), unitsPastEnd.end(), row))
            continue; // its weapon list is not in the image either
        const NameListEntry& entry = units.entries[row];
        const std::vector<int> listed = loadWeaponNumbers(
            imagePath, entry.name, entry.addressText, unitWeaponListStart(units.positionOf(entry)));
        numbers.insert(listed.begin(), listed.end());
    }
    return static_cast<std::size_t>(std::count_if(
        numbers.begin(), numbers.end(), [size](int number) { return weaponPastEnd(number, size); }));
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
    // The table's bytes lie in ascending order: the last one is the highest.
    return weaponBytePosition(number, kWeaponRecordBytes - 1) >= imageSize;
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
    const NameList& units = survey.unitList.emplace(loadNameList(folders, ListKind::Units));
    const NameList& pilots = survey.pilotList.emplace(loadNameList(folders, ListKind::Pilots));
    // Every unit's weapon list is read, and they lie close together: read in
    // blocks, 100,000-entry lists cost a read per block, not one per unit.
    const ImageReadScope scope(imagePath, ScopeReads::Blocks);
    survey.rawSectors = startsRaw(imagePath);
    const std::vector<std::size_t> unitRows = firstRowsOfEntries(units);
    survey.unitsPastEnd = rowsPastEnd(units, unitRows, survey.size, unitLastPosition);
    survey.pilotsPastEnd =
        rowsPastEnd(pilots, firstRowsOfEntries(pilots), survey.size, pilotLastPosition);
    survey.weaponsPastEnd =
        weaponsPastEnd(imagePath, units, unitRows, survey.size, survey.unitsPastEnd);
    return survey;
}

} // namespace starfall
