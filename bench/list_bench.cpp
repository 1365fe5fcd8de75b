#include "DemoFixture.h"

#include "cli/ListEntriesVerb.h"

#include "core/lists/ImageSurvey.h"
#include "core/lists/NameListReader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

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

// What `units` does past reading its file: decode every name and print every
// entry, to an output that keeps nothing.
void printListOf100000(benchmark::State& state) {
    const starfall::NameList list = starfall::parseNameList(listOf(100000));
    struct Discard : std::streambuf {
        int overflow(int c) override { return c; }
        std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    } discard;
    std::ostream out(&discard);
    for (auto _ : state)
        starfall::cli::writeListEntries(list, out);
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(printListOf100000)->Unit(benchmark::kMillisecond);

// A folder beside the demo image whose list files name the demo's entries
// over and over, `entries` of each; weapon.ini as the demo's.
std::string demoListsOf(std::int64_t entries) {
    const std::string& demo = starfall::bench::demoFiles().directory;
    const std::string folder = demo + "lists-" + std::to_string(entries) + "/";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(demo + "weapon.ini", folder + "weapon.ini",
                               std::filesystem::copy_options::overwrite_existing);
    for (const char* name : {"unitlist.ini", "charlist.ini"}) {
        std::ifstream in(demo + name, std::ios::binary);
        std::string line;
        std::string header;
        std::vector<std::string> lines;
        while (std::getline(in, line)) {
            if (line.empty() || line.front() == ';')
                continue;
            (header.empty() ? header : lines.emplace_back()) = line;
        }
        std::ofstream out(folder + name, std::ios::binary);
        out << header << '\n';
        for (std::int64_t i = 0; i < entries; ++i)
            out << lines[static_cast<std::size_t>(i) % lines.size()] << '\n';
    }
    return folder;
}

// Opening an image surveys every listed record and weapon list: the cost
// must grow with the lists, no faster.
void surveyWithListsOf(benchmark::State& state) {
    const std::string folder = demoListsOf(state.range(0));
    const std::string& image = starfall::bench::demoFiles().image;
    for (auto _ : state)
        benchmark::DoNotOptimize(starfall::surveyImage(image, folder));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(surveyWithListsOf)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
