#include "core/lists/NameListReader.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <sstream>

namespace starfall {

namespace {

// A line buffer of 80 bytes: at most 79 characters, the line feed included.
constexpr std::size_t kLineLimit = 79;

// CR LF becomes LF; the text is copied only when it holds a CR at all. Whole
// stretches move at once: lists of 100,000 entries load at every start.
std::string textModeContent(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t at = 0; at < raw.size();) {
        std::size_t pair = raw.find("\r\n", at);
        if (pair == std::string_view::npos)
            pair = raw.size();
        text.append(raw.substr(at, pair - at));
        at = pair + 1; // the LF of the pair starts the next stretch
    }
    return text;
}

// The next line as the line reader hands it over; a NUL byte ends the text
// that the line rules then see (looked for only in a text that holds one).
std::string_view nextLine(std::string_view text, std::size_t& offset, bool hasNul) {
    const std::size_t limit = std::min(kLineLimit, text.size() - offset);
    const char* start = text.data() + offset;
    const void* feed = std::memchr(start, '\n', limit);
    const std::size_t length = feed ? static_cast<const char*>(feed) - start + 1 : limit;
    std::string_view line(start, length);
    offset += length;
    if (!hasNul)
        return line;
    if (const void* nul = std::memchr(line.data(), '\0', line.size()))
        line =
            line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
    return line;
}

std::int32_t headerBaseOffset(std::string_view line) {
    std::istringstream tokens{std::string(line)};
    std::string first;
    std::string second;
    if (!(tokens >> first >> second))
        return 0;
    return parseDecimal(second);
}

// Cut in place: a list of 100,000 entries builds each entry once.
void addEntry(std::vector<NameListEntry>& entries, std::string_view line) {
    // The address is what follows the comma and one separator character; with
    // no comma the name is empty and the address starts at the second character.
    const auto comma = line.find(',');
    const std::size_t nameLength = comma == std::string_view::npos ? 0 : comma;
    const std::size_t addressStart = comma == std::string_view::npos ? 1 : comma + 2;
    NameListEntry& entry = entries.emplace_back();
    entry.name.assign(line.data(), nameLength);
    if (addressStart < line.size())
        entry.addressText.assign(line.substr(addressStart));
}

} // namespace

NameList parseNameList(std::string_view content) {
    return parseNameListUntil(content, {});
}

NameList parseNameListUntil(std::string_view content, const EntryWanted& wanted) {
    const bool hasCr = content.find('\r') != std::string_view::npos;
    const std::string converted = hasCr ? textModeContent(content) : std::string();
    const std::string_view text = hasCr ? std::string_view(converted) : content;
    const bool hasNul = text.find('\0') != std::string_view::npos;
    NameList list;
    if (!wanted)
        list.entries.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
                             1);
    bool headerSeen = false;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::string_view line = nextLine(text, offset, hasNul);
        if (!line.empty() && line.front() == ';')
            continue;
        if (!headerSeen) {
            list.baseOffset = headerBaseOffset(line);
            headerSeen = true;
            continue;
        }
        addEntry(list.entries, line);
        if (wanted && wanted(list.entries.size() - 1, list.entries.back()))
            break;
    }
    return list;
}

NameList loadNameList(const ListFolders& folders, ListKind kind) {
    return loadNameListUntil(folders, kind, {});
}

NameList loadNameListUntil(const ListFolders& folders, ListKind kind, const EntryWanted& wanted) {
    const std::string name(listFileName(kind));
    for (const std::string& folder : folders.folders()) {
        // A prefix is parsed up to its last line feed only: the lines before
        // it split as they do in the whole text, a line cut short may not.
        std::optional<NameList> early;
        const auto holdsWanted = [&](std::string_view prefix) {
            bool found = false;
            NameList list = parseNameListUntil(prefix.substr(0, prefix.rfind('\n') + 1),
                                               [&](std::size_t index, const NameListEntry& entry) {
                                                   return found = wanted(index, entry);
                                               });
            if (found)
                early = std::move(list);
            return found;
        };
        const std::string path = folder + name;
        const auto content =
            wanted ? readRegularFileUntil(path, holdsWanted) : readRegularFile(path);
        if (early)
            return std::move(*early);
        if (content)
            return parseNameListUntil(*content, wanted);
    }
    throw CoreError(Failure::ListFileMissing, folders.lines(), -1, name);
}

} // namespace starfall
