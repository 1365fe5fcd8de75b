#include "DemoFixture.h"

#include "core/sector/SectorCodes.h"
#include "core/sector/SectorScan.h"

#include <benchmark/benchmark.h>

#include <array>

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
