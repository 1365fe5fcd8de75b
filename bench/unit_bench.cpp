#include "DemoFixture.h"

#include "core/lists/ListFiles.h"
#include "core/record/RecordLayout.h"
#include "core/sector/SectorScan.h"
#include "core/unit/UnitLayout.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponRecord.h"

#include <benchmark/benchmark.h>

#include <array>
#include <fcntl.h>
#include <unistd.h>

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
    return UnitPlace::fromList(demoFiles().units, entryNamed(demoFiles().units, name));
}

void loadUnit(benchmark::State& state) {
    const UnitPlace place = unitPlace("스타폴 1호기");
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadUnitRecord(demoFiles().image, place));
    countBytesRead(state, before);
}
BENCHMARK(loadUnit);

// Codes that match, whatever an earlier case left: a save refreshes only
// codes that matched before it.
void repairSectorOf(Position position) {
    const std::int64_t sector = sectorOf(position);
    (void)repairSectors(demoFiles().image, std::array{SectorRange{sector, sector}});
}

// Each save changes HP, so that each one journals, writes and flushes, and
// refreshes the codes of the record's sector.
void saveUnit(benchmark::State& state) {
    const UnitPlace place = unitPlace("스타폴 1호기");
    repairSectorOf(place.position);
    UnitRecord record = loadUnitRecord(demoFiles().image, place);
    int round = 0;
    std::size_t refreshed = 0;
    for (auto _ : state) {
        record.hp = (++round % 2 == 0) ? "3800" : "3900";
        refreshed += saveUnitRecord(demoFiles().image, place, record).refreshedSectors.size();
    }
    state.counters["sectors_refreshed_per_save"] =
        benchmark::Counter(static_cast<double>(refreshed), benchmark::Counter::kAvgIterations);
}
BENCHMARK(saveUnit)->Unit(benchmark::kMicrosecond)->UseRealTime();

// saveUnit's bytes through the same journaled save, keeping the codes: the
// crash-safe write that a save refreshing one sector is held to.
void saveUnitKeepingCodes(benchmark::State& state) {
    const UnitPlace place = unitPlace("스타폴 1호기");
    UnitRecord record = loadUnitRecord(demoFiles().image, place);
    int round = 0;
    for (auto _ : state) {
        record.hp = (++round % 2 == 0) ? "3800" : "3900";
        const std::vector<ByteWrite> plan = unitSavePlan(place, record);
        (void)writeBytes(demoFiles().image, plan, "bench", FramingRule::Refuse, CodeRule::Keep);
        noteSaved(record.loaded, unitRecordPositions(place), plan);
    }
    repairSectorOf(place.position);
}
BENCHMARK(saveUnitKeepingCodes)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same two HP bytes written without a journal, as saves were written
// before it: open, pwrite, fdatasync, close.
void saveUnitWithoutJournal(benchmark::State& state) {
    const Position hp = unitPlace("스타폴 1호기").position + 12;
    int round = 0;
    for (auto _ : state) {
        const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(++round % 2 == 0 ? 0xD8 : 0x3C),
                                       0x0F};
        const int fd = ::open(demoFiles().image.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 || ::pwrite(fd, bytes, 2, hp) != 2 || ::fdatasync(fd) != 0)
            state.SkipWithError("the bare write failed");
        ::close(fd);
    }
}
BENCHMARK(saveUnitWithoutJournal)->Unit(benchmark::kMicrosecond)->UseRealTime();

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
    int round = 0;
    for (auto _ : state) {
        record.morale = (++round % 2 == 0) ? "125" : "130";
        saveWeaponRecord(demoFiles().image, kSplitWeapon, record);
    }
}
BENCHMARK(saveWeapon)->Unit(benchmark::kMicrosecond)->UseRealTime();

void loadUpgrade(benchmark::State& state) {
    const std::int64_t before = bytesReadSoFar();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadUpgradeTable(demoFiles().image));
    countBytesRead(state, before);
}
BENCHMARK(loadUpgrade);

void saveUpgrade(benchmark::State& state) {
    UpgradeTable table = loadUpgradeTable(demoFiles().image);
    int round = 0;
    for (auto _ : state) {
        table.values[0][2] = (++round % 2 == 0) ? "250" : "260";
        saveUpgradeTable(demoFiles().image, table);
    }
}
BENCHMARK(saveUpgrade)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace starfall::bench
