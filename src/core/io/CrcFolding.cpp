#include "core/io/CrcFolding.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define STARFALL_CRC_FOLDING 1
#endif

namespace starfall::crcfold {

#ifdef STARFALL_CRC_FOLDING

namespace {

#define STARFALL_FOLD_TARGET __attribute__((target("pclmul,sse2")))

STARFALL_FOLD_TARGET __m128i keysOf(const FoldStep& step) {
    return _mm_set_epi64x(static_cast<long long>(step.high), static_cast<long long>(step.low));
}

// `block` moved on by the step's distance, added to `onto`.
STARFALL_FOLD_TARGET __m128i foldOnto(__m128i block, __m128i keys, __m128i onto) {
    const __m128i low = _mm_clmulepi64_si128(block, keys, 0x00);
    const __m128i high = _mm_clmulepi64_si128(block, keys, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), onto);
}

STARFALL_FOLD_TARGET __m128i load(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

STARFALL_FOLD_TARGET std::size_t foldBlocks(const FoldKeys& keys, std::uint32_t crc,
                                            std::span<const std::uint8_t> bytes,
                                            std::array<std::uint8_t, 16>& rest) {
    const std::uint8_t* at = bytes.data();
    const std::size_t blocks = bytes.size() / 16;
    __m128i x0 = _mm_xor_si128(load(at), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = load(at + 16);
    __m128i x2 = load(at + 32);
    __m128i x3 = load(at + 48);
    std::size_t done = 4;
    const __m128i byFour = keysOf(keys.byFour);
    for (; done + 4 <= blocks; done += 4) {
        const std::uint8_t* next = at + 16 * done;
        x0 = foldOnto(x0, byFour, load(next));
        x1 = foldOnto(x1, byFour, load(next + 16));
        x2 = foldOnto(x2, byFour, load(next + 32));
        x3 = foldOnto(x3, byFour, load(next + 48));
    }
    const __m128i byOne = keysOf(keys.byOne);
    __m128i x = foldOnto(x0, byOne, x1);
    x = foldOnto(x, byOne, x2);
    x = foldOnto(x, byOne, x3);
    for (; done < blocks; ++done)
        x = foldOnto(x, byOne, load(at + 16 * done));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rest.data()), x);
    return 16 * blocks;
}

} // namespace

bool available() {
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
    return has;
}

std::size_t fold(const FoldKeys& keys, std::uint32_t crc, std::span<const std::uint8_t> bytes,
                 std::array<std::uint8_t, 16>& rest) {
    return foldBlocks(keys, crc, bytes, rest);
}

#else

bool available() {
    return false;
}

std::size_t fold(const FoldKeys&, std::uint32_t, std::span<const std::uint8_t>,
                 std::array<std::uint8_t, 16>&) {
    return 0;
}

#endif

} // namespace starfall::crcfold
