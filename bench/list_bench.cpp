#include "core/lists/NameListReader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string listOf(int entries) {
    std::string text = "; generated\nUNIT 46300000\n";
    for (int i = 0; i < entries; ++i)
        text +=
            "\xB0\xA1\xB3\xAA unit " + std::to_string(i) + ", " + std::to_string(i * 40) + "\r\n";
    return text;
}

void parseListOf10000(benchmark::State& state) {
    const std::string text = listOf(10000);
    for (auto _ : state)
        benchmark::DoNotOptimize(starfall::parseNameList(text));
    state.SetItemsProcessed(state.iterations() * 10002); // lines a second
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(parseListOf10000);

} // namespace
