#include "core/io/CrcFolding.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#if defined(__clang__)
// The C library's header spells C's _Bool, which GCC's C++ takes and
// clang's does not.
#define _Bool bool
#include <sys/platform/x86.h>
#undef _Bool
#else
#include <sys/platform/x86.h>
#endif
#define STARFALL_CRC_FOLDING 1
#endif

namespace starfall::crcfold {

#ifdef STARFALL_CRC_FOLDING

namespace {

#define STARFALL_FOLD_TARGET __attribute__((target("pclmul,sse2")))
#define STARFALL_WIDE_TARGET __attribute__((target("vpclmulqdq,avx2,pclmul")))

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

// The blocks from `done` on, folded one at a time onto `x`, which stands for
// the blocks before them.
STARFALL_FOLD_TARGET std::size_t foldRest(const FoldKeys& keys, __m128i x,
                                          std::span<const std::uint8_t> bytes, std::size_t done,
                                          std::array<std::uint8_t, 16>& rest) {
    const std::size_t blocks = bytes.size() / 16;
    const __m128i byOne = keysOf(keys.byOne);
    for (; done < blocks; ++done)
        x = foldOnto(x, byOne, load(bytes.data() + 16 * done));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(rest.data()), x);
    return 16 * blocks;
}

STARFALL_FOLD_TARGET std::size_t foldNarrow(const FoldKeys& keys, std::uint32_t crc,
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
    return foldRest(keys, x, bytes, done, rest);
}

STARFALL_WIDE_TARGET __m256i foldOnto(__m256i pair, __m256i keys, __m256i onto) {
    const __m256i low = _mm256_clmulepi64_epi128(pair, keys, 0x00);
    const __m256i high = _mm256_clmulepi64_epi128(pair, keys, 0x11);
    return _mm256_xor_si256(_mm256_xor_si256(low, high), onto);
}

STARFALL_WIDE_TARGET __m256i loadPair(const std::uint8_t* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// Two blocks a multiply, eight at a time in four pairs; the pairs are then
// folded down one block at a time, in order.
STARFALL_WIDE_TARGET std::size_t foldWide(const FoldKeys& keys, std::uint32_t crc,
                                          std::span<const std::uint8_t> bytes,
                                          std::array<std::uint8_t, 16>& rest) {
    const std::uint8_t* at = bytes.data();
    const std::size_t blocks = bytes.size() / 16;
    __m256i y0 = _mm256_xor_si256(loadPair(at), _mm256_set_epi32(0, 0, 0, 0, 0, 0, 0,
                                                                 static_cast<int>(crc)));
    __m256i y1 = loadPair(at + 32);
    __m256i y2 = loadPair(at + 64);
    __m256i y3 = loadPair(at + 96);
    std::size_t done = 8;
    const __m256i byEight =
        _mm256_set_epi64x(static_cast<long long>(keys.byEight.high),
                          static_cast<long long>(keys.byEight.low),
                          static_cast<long long>(keys.byEight.high),
                          static_cast<long long>(keys.byEight.low));
    for (; done + 8 <= blocks; done += 8) {
        const std::uint8_t* next = at + 16 * done;
        y0 = foldOnto(y0, byEight, loadPair(next));
        y1 = foldOnto(y1, byEight, loadPair(next + 32));
        y2 = foldOnto(y2, byEight, loadPair(next + 64));
        y3 = foldOnto(y3, byEight, loadPair(next + 96));
    }
    const __m128i byOne = keysOf(keys.byOne);
    __m128i x = _mm256_castsi256_si128(y0);
    x = foldOnto(x, byOne, _mm256_extracti128_si256(y0, 1));
    for (const __m256i& pair : {y1, y2, y3}) {
        x = foldOnto(x, byOne, _mm256_castsi256_si128(pair));
        x = foldOnto(x, byOne, _mm256_extracti128_si256(pair, 1));
    }
    return foldRest(keys, x, bytes, done, rest);
}

// Asks the C library, which probed the processor while starting anyway. The
// compiler's own feature check would link in a start-up probe of its own,
// whose CPUID instructions cost every run of every command about 70 us in a
// virtual machine, CRC or not.
FoldWidth detect() {
    if (!CPU_FEATURE_ACTIVE(PCLMULQDQ) || !CPU_FEATURE_ACTIVE(SSE2))
        return FoldWidth::None;
    if (CPU_FEATURE_ACTIVE(VPCLMULQDQ) && CPU_FEATURE_ACTIVE(AVX2))
        return FoldWidth::Wide;
    return FoldWidth::Narrow;
}

} // namespace

FoldWidth widest() {
    static const FoldWidth width = detect();
    return width;
}

std::size_t foldAs(FoldWidth width, const FoldKeys& keys, std::uint32_t crc,
                   std::span<const std::uint8_t> bytes, std::array<std::uint8_t, 16>& rest) {
    if (width == FoldWidth::Wide && bytes.size() >= kWideMinimum)
        return foldWide(keys, crc, bytes, rest);
    return foldNarrow(keys, crc, bytes, rest);
}

std::size_t fold(const FoldKeys& keys, std::uint32_t crc, std::span<const std::uint8_t> bytes,
                 std::array<std::uint8_t, 16>& rest) {
    return foldAs(widest(), keys, crc, bytes, rest);
}

#else

FoldWidth widest() {
    return FoldWidth::None;
}

std::size_t foldAs(FoldWidth, const FoldKeys&, std::uint32_t, std::span<const std::uint8_t>,
                   std::array<std::uint8_t, 16>&) {
    return 0;
}

std::size_t fold(const FoldKeys&, std::uint32_t, std::span<const std::uint8_t>,
                 std::array<std::uint8_t, 16>&) {
    return 0;
}

#endif

} // namespace starfall::crcfold
