#include "lists/NameListReader.h"

#include "image/CoreError.h"
#include "image/FileHandle.h"

#include <sstream>

namespace starfall {

namespace {

// A line buffer of 80 bytes: at most 79 characters, the line feed included.
constexpr std::size_t kLineLimit = 79;

std::string textModeContent(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        text += raw[i];
    }
    return text;
}

// The next line as the line reader hands it over; a NUL byte ends the text
// that the line rules then see.
std::string_view nextLine(std::string_view text, std::size_t& offset) {
    const std::size_t limit = std::min(kLineLimit, text.size() - offset);
    std::size_t length = 0;
    while (length < limit && text[offset + length] != '\n')
        ++length;
    if (length < limit)
        ++length; // the line feed
    std::string_view line = text.substr(offset, length);
    offset += length;
    if (const auto nul = line.find('\0'); nul != std::string_view::npos)
        line = line.substr(0, nul);
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

NameListEntry entryOf(std::string_view line) {
    // The address is what follows the comma and one separator character; with
    // no comma the name is empty and the address starts at the second character.
    const auto comma = line.find(',');
    const std::size_t nameLength = comma == std::string_view::npos ? 0 : comma;
    const std::size_t addressStart = comma == std::string_view::npos ? 1 : comma + 2;
    NameListEntry entry;
    entry.name = std::string(line.substr(0, nameLength));
    if (addressStart < line.size())
        entry.addressText = std::string(line.substr(addressStart));
    return entry;
}

} // namespace

NameList parseNameList(std::string_view content) {
    const std::string text = textModeContent(content);
    NameList list;
    bool headerSeen = false;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::string_view line = nextLine(text, offset);
        if (!line.empty() && line.front() == ';')
            continue;
        if (!headerSeen) {
            list.baseOffset = headerBaseOffset(line);
            headerSeen = true;
            continue;
        }
        list.entries.push_back(entryOf(line));
    }
    return list;
}

NameList loadNameList(const std::string& programDirectory, ListKind kind) {
    const std::string path = programDirectory + std::string(listFileName(kind));
    const auto content = readRegularFile(path);
    if (!content)
        throw CoreError(Failure::ListFileMissing, path, -1, std::string(listFileName(kind)));
    return parseNameList(*content);
}

} // namespace starfall
