#include "cli/CliContext.h"

#include "cli/DecodedNames.h"
#include "cli/Utf8Sequence.h"
#include "core/codec/Cp949.h"
#include "core/io/ProgramDirectory.h"

#include <charconv>
#include <optional>
#include <ostream>

namespace starfall::cli {

ListFolders CliContext::listFolders(const std::string& imagePath) const {
    if (dir.empty())
        return listFoldersFor(programDirectory(), imagePath);
    return ListFolders(dir);
}

// Bytes that are not UTF-8 (a name the list does not hold in code page 949)
// print as U+FFFD rather than ending the command.
void CliContext::print(const nlohmann::json& value) const {
    *out << value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

namespace {

// The N of `#N`, when the selector is one and N reads.
std::optional<std::size_t> selectorIndex(std::string_view selector) {
    std::size_t index = 0;
    const auto digits = selector.substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error == std::errc() && end == digits.data() + digits.size())
        return index;
    return std::nullopt;
}

bool selectsByIndex(std::string_view selector) {
    return selector.size() > 1 && selector.front() == '#';
}

} // namespace

EntryWanted selectorWanted(std::string_view selector) {
    if (selectsByIndex(selector)) {
        const auto index = selectorIndex(selector);
        return [index](std::size_t at, const NameListEntry&) { return index && at == *index; };
    }
    return [name = cp949::fromUtf8(selector)](std::size_t, const NameListEntry& entry) {
        return entry.name == name;
    };
}

std::size_t selectEntry(const NameList& list, std::string_view selector) {
    if (selectsByIndex(selector)) {
        const auto index = selectorIndex(selector);
        if (index && *index < list.entries.size())
            return *index;
        throw UsageError("no list entry " + std::string(selector));
    }
    const std::string name = cp949::fromUtf8(selector);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].name == name)
            return i;
    }
    throw UsageError("no list entry named " + std::string(selector));
}

std::string printablePath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < path.size();) {
        if (const std::size_t length = utf8Length(path, i)) {
            out.append(path.substr(i, length));
            i += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(path[i++]);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
    return out;
}

nlohmann::json nameJson(std::string_view cp949Name) {
    if (DecodedNames* names = DecodedNames::current())
        return names->utf8(cp949Name);
    return cp949::toUtf8(cp949Name);
}

} // namespace starfall::cli
