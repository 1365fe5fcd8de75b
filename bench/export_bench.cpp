#include "DemoFixture.h"

#include "cli/ExportJson.h"

#include <benchmark/benchmark.h>

namespace starfall::bench {
namespace {

void exportDemo(benchmark::State& state) {
    const DemoFiles& files = demoFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(cli::exportJson(files.image, files.directory).dump());
}
BENCHMARK(exportDemo)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace starfall::bench
