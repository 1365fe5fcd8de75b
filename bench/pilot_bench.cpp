#include "DemoFixture.h"

#include "core/pilot/PilotRecordFile.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"

#include <benchmark/benchmark.h>

namespace starfall::bench {
namespace {

// Bytes read from the image per load, as the kernel counts them.
void countBytesRead(benchmark::State& state, std::int64_t before) {
    state.counters["bytes_read_per_load"] = benchmark::Counter(
        static_cast<double>(bytesReadSoFar() - before), benchmark::Counter::kAvgIterations);
}

PilotReference pilotReference(const char* name) {
    const DemoFiles& files = demoFiles();
    return PilotReference::fromList(files.pilots, entryNamed(files.pilots, name));
}

void loadPilot(benchmark::State& state) {
    const PilotReference reference = pilotReference("카인 벨");
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadPilotRecord(demoFiles().image, reference));
    countBytesRead(state, before);
}
BENCHMARK(loadPilot);

void savePilot(benchmark::State& state) {
    const PilotReference reference = pilotReference("카인 벨");
    PilotRecord record = loadPilotRecord(demoFiles().image, reference);
    int round = 0;
    for (auto _ : state) {
        record.stats.melee = (++round % 2 == 0) ? "160" : "161";
        savePilotRecord(demoFiles().image, reference, record);
    }
}
BENCHMARK(savePilot)->Unit(benchmark::kMicrosecond)->UseRealTime();

SkillTable skillTable(const char* name) {
    const PilotReference reference = pilotReference(name);
    return loadSkillTable(demoFiles().image, reference.name,
                          skillTablePosition(reference.name, reference.position));
}

void loadSkills(benchmark::State& state) {
    const PilotReference reference = pilotReference("미나 로크"); // all 19 slots
    const Position start = skillTablePosition(reference.name, reference.position);
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadSkillTable(demoFiles().image, reference.name, start));
    countBytesRead(state, before);
}
BENCHMARK(loadSkills);

void saveSkills(benchmark::State& state) {
    SkillTable table = skillTable("미나 로크");
    int round = 0;
    for (auto _ : state) {
        table.slots.at(0).level = (++round % 2 == 0) ? "1" : "77";
        saveSkillTable(demoFiles().image, table);
    }
}
BENCHMARK(saveSkills)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace starfall::bench
