#pragma once

// What a save will change, worked out with the image locked: the old bytes
// for the journal and the new ones for the image, the plan's own bytes and
// the sector codes brought up to date with them alike.

#include "core/io/ImageSave.h"
#include "core/io/SaveJournal.h"

#include <cstdint>
#include <string>
#include <vector>

namespace starfall {

struct SaveChange {
    SaveJournal journal; // its runs hold the old and the new bytes
    // One per journal run: whether it holds sector code bytes (a run never
    // mixes them with data), so that reports of the save can leave them out.
    std::vector<bool> codeRuns;
    SaveReport report;
};

// `runs` sorted, disjoint and inside the image of `size` bytes. Reads each
// sector the plan touches whole; a sector that the plan leaves as it is is
// neither written nor reported. Throws CoreError(ImageOpenForSave) when a
// read fails.
[[nodiscard]] SaveChange planChange(int fd, const std::vector<PlannedRun>& runs, Position size,
                                    CodeRule codes, const std::string& path);

} // namespace starfall
