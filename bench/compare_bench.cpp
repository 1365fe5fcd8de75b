// The editor's comparison of the demo with its original: one streamed pass
// over both images, then the records the differing bytes fall in (target:
// the same order as `cmp -l` of the two files, well under the half second
// past which the editor shows a progress bar).

#include "DemoFixture.h"

#include "core/compare/OriginalComparison.h"
#include "core/unit/UnitRecordFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace starfall::bench {
namespace {

// A copy of the demo with one unit's HP changed, made once.
const std::string& moddedCopy() {
    static const std::string path = [] {
        const DemoFiles& files = demoFiles();
        const std::string copy = files.directory + "modded-compare.img";
        std::filesystem::copy_file(files.image, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        const UnitPlace place = UnitPlace::fromList(files.units, 1);
        UnitRecord record = loadUnitRecord(copy, place);
        record.hp = "4321";
        (void)saveUnitRecord(copy, place, record);
        return copy;
    }();
    return path;
}

void compareDemoWithOriginal(benchmark::State& state) {
    const DemoFiles& files = demoFiles();
    const std::string& modded = moddedCopy();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            compareWithOriginal(files.image, modded, files.units, files.pilots).records.size());
}
BENCHMARK(compareDemoWithOriginal)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace starfall::bench
