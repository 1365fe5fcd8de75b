// Any bytes as one sector: the check must hold up, and once the codes of a
// Form 1 sector are rewritten it must verify with its first 2072 bytes kept.
#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

using namespace starfall::sector;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint8_t, kSectorSize> one{};
    std::copy_n(data, std::min(size, kSectorSize), one.begin());
    (void)check(one);
    if (formOf(one) != Form::Form1)
        return 0;
    const auto before = one;
    writeForm1Codes(one);
    if (!check(one).matches() || !std::equal(one.begin(), one.begin() + kDataEnd, before.begin()))
        std::abort();
    return 0;
}
