#include "DemoFixture.h"

#include "core/io/Crc32.h"
#include "core/sector/SectorCodes.h"
#include "core/sector/SectorScan.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace starfall::bench {
namespace {

// One sector's EDC, P and Q: the unit of work of both verify and repair.
void form1Codes(benchmark::State& state) {
    std::array<std::uint8_t, sector::kSectorSize> one{};
    std::copy(sector::kSync.begin(), sector::kSync.end(), one.begin());
    one[15] = 2;
    for (auto _ : state) {
        sector::writeForm1Codes(one);
        benchmark::DoNotOptimize(one);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sector::kSectorSize));
}
BENCHMARK(form1Codes);

// A Form 1 sector's EDC, and zlib's CRC32 of a megabyte, each folded with
// carry-less multiplies where the processor has them and by table alone.
template <std::uint32_t (*Crc)(std::span<const std::uint8_t>)>
void crcOf(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(Crc(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
std::uint32_t edcByTableFromZero(std::span<const std::uint8_t> bytes) {
    return sector::edcByTable(bytes);
}
BENCHMARK(crcOf<sector::edc>)->Arg(2056);
BENCHMARK(crcOf<edcByTableFromZero>)->Arg(2056);
BENCHMARK(crcOf<crc32Of>)->Arg(1 << 20);
BENCHMARK(crcOf<crc32ByTable>)->Arg(1 << 20);

// `sectors verify` over the whole 46 MB demo image.
void verifyDemo(benchmark::State& state) {
    const std::string& image = demoFiles().image;
    std::int64_t sectors = 0;
    for (auto _ : state) {
        const SectorReport report = verifySectors(image);
        sectors = report.sectors;
        benchmark::DoNotOptimize(report);
    }
    state.SetBytesProcessed(state.iterations() * sectors * static_cast<std::int64_t>(sector::kSectorSize));
    state.counters["sectors"] = static_cast<double>(sectors);
}
BENCHMARK(verifyDemo)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace starfall::bench
