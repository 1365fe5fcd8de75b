#include "DemoFixture.h"

#include "cli/DottedValues.h"
#include "cli/ImageRecords.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace starfall::bench {
namespace {

void exportDemo(benchmark::State& state) {
    const DemoFiles& files = demoFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(cli::loadImageRecords(files.image, files.directory).json().dump());
}
BENCHMARK(exportDemo)->Unit(benchmark::kMillisecond);

// Records of many shapes in turn, each shape a set of keys its caller
// names: each write should cost the same however many shapes take turns.
// Every shape here has 37 keys.
void recordsOfManyShapes(benchmark::State& state) {
    const auto shapes = static_cast<std::size_t>(state.range(0));
    constexpr int kSlots = 12;
    std::vector<std::vector<std::string>> keys(shapes);
    std::vector<std::vector<cli::DottedValue>> records(shapes);
    for (std::size_t shape = 0; shape < shapes; ++shape) {
        for (int slot = 1; slot <= kSlots; ++slot) {
            for (const char* part : {".skill", ".level", ".locked"})
                keys[shape].push_back("table" + std::to_string(shape) + ".slots." +
                                      std::to_string(slot) + part);
        }
        records[shape].push_back({"index", std::int64_t{7}});
        for (const std::string& key : keys[shape])
            records[shape].push_back({key, std::int64_t{12}});
    }
    cli::NestedWriter writer;
    std::ostringstream text;
    cli::JsonStream out(text);
    out.beginArray();
    std::size_t next = 0;
    for (auto _ : state) {
        const std::size_t shape = next++ % shapes;
        benchmark::DoNotOptimize(writer.write(out, records[shape], &records[shape]));
        if (text.tellp() > (1 << 20))
            text.str({});
    }
}
BENCHMARK(recordsOfManyShapes)->Arg(8)->Arg(40);

// The first record of a shape: its print plan is worked out, as an export
// does once per kind and shape of record (eight times for the demo).
void firstRecordOfAShape(benchmark::State& state) {
    std::vector<std::string> keys = {"address", "evasion", "hit",         "index",    "kind",
                                     "melee",   "name",    "personality", "position", "reaction"};
    for (int slot = 1; slot <= 6; ++slot) {
        for (const char* part : {".command", ".level"})
            keys.push_back("spirits." + std::to_string(slot) + part);
    }
    for (const char* terrain : {"air", "land", "sea", "space"})
        keys.push_back(std::string("terrain.") + terrain);
    std::vector<cli::DottedValue> record;
    for (const std::string& key : keys)
        record.push_back({key, std::int64_t{12}});
    std::ostringstream text;
    cli::JsonStream out(text);
    out.beginArray();
    for (auto _ : state) {
        cli::NestedWriter writer;
        benchmark::DoNotOptimize(writer.write(out, record, &record));
        if (text.tellp() > (1 << 20))
            text.str({});
    }
}
BENCHMARK(firstRecordOfAShape);

} // namespace
} // namespace starfall::bench
