// Any bytes after the BPS magic: the reader reads a patch whose summary holds
// up or refuses the bytes with a CoreError; nothing else may escape it. The
// magic is given so that every input reaches the BPS reader.
#include "core/io/CoreError.h"
#include "core/patch/PatchFile.h"

#include <cstdint>
#include <vector>

using namespace starfall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file = {'B', 'P', 'S', '1'};
    file.insert(file.end(), data, data + size);
    try {
        const patch::Patch read = patch::parsePatch(std::move(file), "fuzz.bps");
        (void)patch::summarize(read);
    } catch (const CoreError&) {
    }
    return 0;
}
