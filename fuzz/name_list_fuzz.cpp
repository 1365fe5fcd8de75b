// Any bytes as charlist.ini or unitlist.ini: the reader must neither crash
// nor hand out an entry the search or the position rule cannot take.
#include "core/lists/NameListReader.h"
#include "core/lists/NameSearch.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const starfall::NameList list = starfall::parseNameList(text);
    for (const starfall::NameListEntry& entry : list.entries) {
        if (entry.name.find('\n') != std::string::npos)
            std::abort(); // an entry never spans lines
        (void)list.positionOf(entry);
    }
    if (!list.entries.empty()) {
        starfall::NameSearch search;
        const std::string text = list.entries.back().name.substr(0, 2);
        for (int i = 0; i < 3; ++i) {
            if (const auto row = search.next(text, list); row && *row >= list.entries.size())
                std::abort();
        }
    }
    return 0;
}
