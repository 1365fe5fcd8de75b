// Any bytes as a PPF file: the reader reads a patch whose summary holds up
// or refuses the bytes with a CoreError; nothing else may escape it.
#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"

#include <cstdint>
#include <vector>

using namespace starfall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const patch::Patch read =
            patch::parsePatch(std::vector<std::uint8_t>(data, data + size), "fuzz.ppf");
        (void)patch::summarize(read);
    } catch (const CoreError&) {
    }
    return 0;
}
