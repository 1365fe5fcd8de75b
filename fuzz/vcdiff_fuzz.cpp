// Any bytes after the VCDIFF magic: the header walk reads a patch whose
// summary holds up or refuses the bytes with a CoreError; nothing else may
// escape it. The magic is given so that every input reaches the walk.
#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"

#include <cstdint>
#include <vector>

using namespace starfall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file = {0xD6, 0xC3, 0xC4, 0x00};
    file.insert(file.end(), data, data + size);
    try {
        const patch::Patch read = patch::parsePatch(std::move(file), "fuzz.vcdiff");
        (void)patch::summarize(read);
    } catch (const CoreError&) {
    }
    return 0;
}
