#include "DemoFixture.h"

#include "core/demo/DemoBuilder.h"
#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace starfall::bench {

namespace {

DemoFiles writeDemoFiles() {
    char pattern[] = "/tmp/starfall-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    DemoFiles files;
    files.directory = std::string(pattern) + "/";
    demo::writeDemo(files.directory);
    files.image = files.directory + demo::kDemoImageName;
    files.pilots = loadNameList(files.directory, ListKind::Pilots);
    files.units = loadNameList(files.directory, ListKind::Units);
    return files;
}

// Removes the 46 MB demo folder when the run ends.
struct DemoFolder {
    DemoFiles files = writeDemoFiles();
    DemoFolder() = default;
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;
    ~DemoFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(files.directory, ignored);
    }
};

} // namespace

const DemoFiles& demoFiles() {
    static const DemoFolder folder;
    return folder.files;
}

std::int64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:")
            return value;
    }
    return 0;
}

std::size_t entryNamed(const NameList& list, const char* utf8) {
    const std::string name = cp949::fromUtf8(utf8);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].name == name)
            return i;
    }
    std::abort();
}

} // namespace starfall::bench
