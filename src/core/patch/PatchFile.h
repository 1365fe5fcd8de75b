#pragma once

// A patch file of any format we read, recognised by its magic, and the one
// place that reads or writes a patch file.

#include "core/patch/BpsPatch.h"
#include "core/patch/PpfPatch.h"
#include "core/patch/VcdiffPatch.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace starfall::patch {

using Patch = std::variant<PpfPatch, BpsPatch, VcdiffPatch>;

// Throws CoreError(PatchOpenForLoad) when the file cannot be read,
// CoreError(PatchTooLarge) past kMaxPatchFileBytes and
// CoreError(PatchDamaged) for anything not a whole, sound patch.
[[nodiscard]] Patch readPatch(const std::string& path);
[[nodiscard]] Patch parsePatch(std::vector<std::uint8_t> file, const std::string& path);

// Writes a new patch file beside `path` and then moves it there, so that a
// failed write leaves no half patch. Throws CoreError(WriteFailed), and
// CoreError(TemporaryFileInTheWay) when something stands at `path`.part.
void writePatchFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// What `patch info` shows of any patch.
struct PatchSummary {
    std::string_view format; // "PPF 1.0", "PPF 2.0", "PPF 3.0", "BPS" or "VCDIFF"
    std::string description; // a BPS's metadata, a VCDIFF's application header
    bool blockCheck = false;
    bool undo = false;
    std::size_t records = 0;   // a BPS's actions, a VCDIFF's windows
    Position bytesWritten = 0; // what the records write, whether or not it differs
    std::optional<std::string> diz;
};

[[nodiscard]] PatchSummary summarize(const Patch& patch);
[[nodiscard]] const std::string& pathOf(const Patch& patch);

} // namespace starfall::patch
