#include "DemoFixture.h"

#include "cli/ImageRecords.h"

#include <benchmark/benchmark.h>

namespace starfall::bench {
namespace {

void exportDemo(benchmark::State& state) {
    const DemoFiles& files = demoFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(cli::loadImageRecords(files.image, files.directory).json().dump());
}
BENCHMARK(exportDemo)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace starfall::bench
