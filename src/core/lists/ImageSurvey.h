#pragma once

// What the editor needs to know of an image before it shows it: that it opens
// and both list files read, whether it can be written, its size, whether its
// sectors are raw (so that saves keep their codes valid), and which listed
// records lie past its end, where a save can write nothing.

#include "core/io/Position.h"
#include "core/lists/NameList.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace starfall {

struct NamedWeapon;

struct ImageSurvey {
    Position size = 0;
    bool writable = false;
    bool rawSectors = false;
    // Rows of unitlist.ini and charlist.ini whose record reaches past the end.
    std::vector<std::size_t> unitsPastEnd;
    std::vector<std::size_t> pilotsPastEnd;
    // Distinct weapon numbers, named by the weapon lists of the listed units
    // that the image holds, whose record reaches past the end.
    std::size_t weaponsPastEnd = 0;
    // The lists as the survey read them, for the pages to show without
    // reading them again.
    std::optional<NameList> unitList;
    std::optional<NameList> pilotList;

    [[nodiscard]] bool truncated() const {
        return !unitsPastEnd.empty() || !pilotsPastEnd.empty() || weaponsPastEnd > 0;
    }
};

// The rows of a unit's weapon list whose weapon record reaches past the end
// of an image of `imageSize` bytes.
[[nodiscard]] std::vector<std::size_t> weaponRowsPastEnd(const std::vector<NamedWeapon>& weapons,
                                                         Position imageSize);
// Whether weapon `number`'s record reaches past the end of such an image.
[[nodiscard]] bool weaponPastEnd(int number, Position imageSize);

// Throws CoreError(ImageOpenForLoad) with the system's reason as its detail
// when the image cannot be opened for reading (missing, a folder, a FIFO),
// and CoreError(ListFileMissing) when a list file cannot be read.
[[nodiscard]] ImageSurvey surveyImage(const std::string& imagePath,
                                      const std::string& programDirectory);

} // namespace starfall
