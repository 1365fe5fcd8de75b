#include "DemoFixture.h"

#include "lists/ListFiles.h"
#include "unit/UnitRecordFile.h"
#include "unit/UnitWeaponList.h"
#include "unit/WeaponRecord.h"
#include "upgrade/UpgradeTable.h"

#include <benchmark/benchmark.h>

namespace starfall::bench {
namespace {

// Weapon 1322's record runs over the end of a sector's data area.
constexpr int kSplitWeapon = 1322;

void countBytesRead(benchmark::State& state, std::int64_t before) {
    state.counters["bytes_read_per_load"] = benchmark::Counter(
        static_cast<double>(bytesReadSoFar() - before), benchmark::Counter::kAvgIterations);
}

const NameListEntry& unitEntry(const char* name) {
    const DemoFiles& files = demoFiles();
    return files.units.entries[entryNamed(files.units, name)];
}

UnitPlace unitPlace(const char* name) {
    const NameListEntry& entry = unitEntry(name);
    return {entry.address(), demoFiles().units.positionOf(entry), entry.name};
}

void loadUnit(benchmark::State& state) {
    const UnitPlace place = unitPlace("스타폴 1호기");
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadUnitRecord(demoFiles().image, place));
    countBytesRead(state, before);
}
BENCHMARK(loadUnit);

void saveUnit(benchmark::State& state) {
    const UnitPlace place = unitPlace("스타폴 1호기");
    UnitRecord record = loadUnitRecord(demoFiles().image, place);
    for (auto _ : state)
        saveUnitRecord(demoFiles().image, place, record);
}
BENCHMARK(saveUnit);

// Four weapons, with their names looked up in weapon.ini on every load.
void loadWeaponList(benchmark::State& state) {
    const NameListEntry& entry = unitEntry("오로라 포트리스");
    const Position list = unitWeaponListStart(demoFiles().units.positionOf(entry));
    const std::string ini = demoFiles().directory + std::string(kWeaponNamesFile);
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            loadNamedWeaponList(demoFiles().image, entry.name, entry.addressText, list, ini));
    }
    countBytesRead(state, before);
}
BENCHMARK(loadWeaponList);

void loadWeapon(benchmark::State& state) {
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadWeaponRecord(demoFiles().image, kSplitWeapon));
    countBytesRead(state, before);
}
BENCHMARK(loadWeapon);

void saveWeapon(benchmark::State& state) {
    WeaponRecord record = loadWeaponRecord(demoFiles().image, kSplitWeapon);
    for (auto _ : state)
        saveWeaponRecord(demoFiles().image, kSplitWeapon, record);
}
BENCHMARK(saveWeapon);

void loadUpgrade(benchmark::State& state) {
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadUpgradeTable(demoFiles().image));
    countBytesRead(state, before);
}
BENCHMARK(loadUpgrade);

void saveUpgrade(benchmark::State& state) {
    UpgradeTable table = loadUpgradeTable(demoFiles().image);
    for (auto _ : state)
        saveUpgradeTable(demoFiles().image, table);
}
BENCHMARK(saveUpgrade);

} // namespace
} // namespace starfall::bench
