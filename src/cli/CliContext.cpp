#include "cli/CliContext.h"

#include "image/Cp949.h"
#include "image/ProgramDirectory.h"

#include <charconv>
#include <ostream>

namespace starfall::cli {

std::string CliContext::directory() const {
    if (dir.empty())
        return programDirectory();
    return dir.back() == '/' ? dir : dir + '/';
}

void CliContext::print(const nlohmann::json& value) const { *out << value.dump(2) << '\n'; }

std::size_t selectEntry(const NameList& list, std::string_view selector) {
    if (selector.size() > 1 && selector.front() == '#') {
        std::size_t index = 0;
        const auto digits = selector.substr(1);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
        if (error == std::errc() && end == digits.data() + digits.size() && index < list.entries.size())
            return index;
        throw UsageError("no list entry " + std::string(selector));
    }
    const std::string name = cp949::fromUtf8(selector);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].name == name)
            return i;
    }
    throw UsageError("no list entry named " + std::string(selector));
}

nlohmann::json nameJson(std::string_view cp949Name) { return cp949::toUtf8(cp949Name); }

} // namespace starfall::cli
