#include "cli/PatchJson.h"

#include "cli/RecordChanges.h"
#include "core/codec/Cp949.h"
#include "core/io/CoreError.h"

#include <cstdio>

namespace starfall::cli {

namespace {

using nlohmann::json;

bool isUtf8(const std::string& bytes) {
    try {
        static_cast<void>(json(bytes).dump());
        return true;
    } catch (const json::type_error&) {
        return false;
    }
}

// Descriptions and FILE_ID.DIZ come from other people's files: UTF-8, or
// code page 949 as patch tools on Korean systems write them. Bytes neither
// code page knows become U+FFFD.
std::string readableText(const std::string& bytes) {
    return isUtf8(bytes) ? bytes : cp949::toUtf8(bytes);
}

std::string hex32(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// xdelta3's ids for its secondary compressors.
nlohmann::json secondaryName(std::optional<std::uint8_t> id) {
    if (!id)
        return nullptr;
    switch (*id) {
    case 1:
        return "djw";
    case 2:
        return "lzma";
    case 16:
        return "fgk";
    default:
        return *id;
    }
}

void addFormatFields(json& out, const patch::Patch& patch) {
    if (const auto* ppf = std::get_if<patch::PpfPatch>(&patch)) {
        if (ppf->version == patch::PpfVersion::V3)
            out["image_type"] = ppf->imageType == patch::PpfImageType::Gi ? "GI" : "BIN";
        if (ppf->imageSize)
            out["image_size"] = *ppf->imageSize;
        return;
    }
    if (const auto* vcdiff = std::get_if<patch::VcdiffPatch>(&patch)) {
        out["target_size"] = vcdiff->targetSize;
        out["window_checksums"] = vcdiff->checksums;
        out["secondary_compression"] = secondaryName(vcdiff->secondary);
        return;
    }
    const auto& bps = std::get<patch::BpsPatch>(patch);
    out["source_size"] = bps.sourceSize;
    out["target_size"] = bps.targetSize;
    out["source_crc32"] = hex32(bps.sourceCrc);
    out["target_crc32"] = hex32(bps.targetCrc);
}

} // namespace

json changesJson(const std::string& image, const ListFolders& directory,
                 const patch::ByteChanges& changes) {
    json report = json::object();
    std::vector<Position> known;
    // Every listed record is read to name those the changes touch: in blocks.
    const ImageReadScope scope(image, ScopeReads::Blocks);
    try {
        RecordChanges found;
        visitImageRecords(image, nullptr, directory, {},
                          [&found, &changes](std::string_view section, const RecordView& before,
                                             const RecordView*) {
                              found.add(section, before, *before.withBytes(changes.next));
                          });
        report = found.json();
        known = found.positions();
    } catch (const CoreError& error) {
        if (error.failure() != Failure::ListFileMissing)
            throw; // without the lists, a patch still applies; it is only reported by bytes
    }
    OtherBytes bytes(std::move(known), looksRaw(readRange(image, 0, 16)));
    for (const ByteRun& run : changes.next)
        bytes.addRun(run.start, run.bytes.size());
    bytes.addTo(report);
    report["total_bytes"] = changes.bytes();
    return report;
}

json infoJson(const patch::Patch& patch) {
    const patch::PatchSummary summary = patch::summarize(patch);
    json out = {{"format", summary.format},
                {"description", readableText(summary.description)},
                {"block_check", summary.blockCheck},
                {"undo", summary.undo},
                {"records", summary.records},
                {"bytes_written", summary.bytesWritten},
                {"file_id_diz", summary.diz ? json(readableText(*summary.diz)) : json(nullptr)}};
    addFormatFields(out, patch);
    return out;
}

} // namespace starfall::cli
