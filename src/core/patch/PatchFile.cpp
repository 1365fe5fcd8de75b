#include "core/patch/PatchFile.h"

#include "core/io/FileHandle.h"

#include "core/io/CoreError.h"
#include "core/patch/PatchLimits.h"
#include "core/text/PatchFaultTexts.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace starfall::patch {

namespace {

bool startsWith(const std::vector<std::uint8_t>& file, std::string_view magic) {
    return file.size() >= magic.size() && std::equal(magic.begin(), magic.end(), file.begin());
}

std::string_view ppfName(PpfVersion version) {
    switch (version) {
    case PpfVersion::V1:
        return "PPF 1.0";
    case PpfVersion::V2:
        return "PPF 2.0";
    case PpfVersion::V3:
        break;
    }
    return "PPF 3.0";
}

PatchSummary summarizePpf(const PpfPatch& patch) {
    PatchSummary summary{ppfName(patch.version),
                         patch.description,
                         patch.blockCheckAt.has_value(),
                         patch.undo,
                         patch.records.size(),
                         0,
                         patch.diz};
    for (const PpfRecord& record : patch.records)
        summary.bytesWritten += record.length;
    return summary;
}

PatchSummary summarizeBps(const BpsPatch& patch) {
    return {"BPS", patch.metadata, false, false, patch.actions, patch.copiedOrRead, std::nullopt};
}

PatchSummary summarizeVcdiff(const VcdiffPatch& patch) {
    return {"VCDIFF", patch.appHeader, false, false, patch.windows, patch.targetSize, std::nullopt};
}

// Creates `partial` afresh: whatever stands under its name, a symlink planted
// there above all, is neither followed nor truncated.
void writeNewFile(const std::string& partial, const std::string& path,
                  const std::vector<std::uint8_t>& bytes) {
    const int fd =
        ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int cause = errno;
        if (cause == EEXIST)
            throw CoreError(Failure::TemporaryFileInTheWay, partial);
        throw CoreError(Failure::WriteFailed, path, -1, std::strerror(cause));
    }
    int cause = writeAt(fd, 0, bytes);
    if (::close(fd) != 0 && cause == 0)
        cause = errno;
    if (cause != 0) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw CoreError(Failure::WriteFailed, path, -1, std::strerror(cause));
    }
}

} // namespace

Patch readPatch(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        throw CoreError(Failure::PatchOpenForLoad, path, -1, error.message());
    if (size > kMaxPatchFileBytes)
        throw CoreError(Failure::PatchTooLarge, path, -1,
                        messages::patchFileLimit(kMaxPatchFileBytes / kMebibyte));
    // Only a regular file is read, so a FIFO named as the patch cannot hang.
    const auto text = readRegularFile(path);
    if (!text)
        throw CoreError(Failure::PatchOpenForLoad, path);
    return parsePatch(std::vector<std::uint8_t>(text->begin(), text->end()), path);
}

Patch parsePatch(std::vector<std::uint8_t> file, const std::string& path) {
    if (startsWith(file, "BPS1"))
        return readBps(std::move(file), path);
    if (file.size() >= sizeof kVcdiffMagic &&
        std::equal(std::begin(kVcdiffMagic), std::end(kVcdiffMagic), file.begin()))
        return readVcdiff(file, path);
    return readPpf(std::move(file), path); // refuses any other magic
}

void writePatchFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string partial = path + ".part";
    writeNewFile(partial, path, bytes);
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw CoreError(Failure::WriteFailed, path, -1, error.message());
    }
}

PatchSummary summarize(const Patch& patch) {
    if (const auto* ppf = std::get_if<PpfPatch>(&patch))
        return summarizePpf(*ppf);
    if (const auto* vcdiff = std::get_if<VcdiffPatch>(&patch))
        return summarizeVcdiff(*vcdiff);
    return summarizeBps(std::get<BpsPatch>(patch));
}

const std::string& pathOf(const Patch& patch) {
    return std::visit([](const auto& p) -> const std::string& { return p.path; }, patch);
}

} // namespace starfall::patch
