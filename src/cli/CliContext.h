#pragma once

#include "core/lists/ListFolders.h"
#include "core/lists/NameList.h"
#include "core/lists/NameListReader.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

namespace starfall::cli {

// A command line that names something the records lack: exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CliContext {
    std::string dir; // holds the list files and weapon.ini; searched alone when given
    std::ostream* out = nullptr;
    std::ostream* err = nullptr; // what is said beside the JSON
    int exitStatus = 0;          // a command that reports a finding sets 1
    // The word after the verb on the command line: a verb with sub-verbs may
    // add only the parser of the one named, as the verbs themselves are.
    std::string_view subVerb{};

    // Where the list files of a command on `imagePath` (none: "") are looked
    // for: --dir alone, or the program's folder, the image's, the user's.
    [[nodiscard]] ListFolders listFolders(const std::string& imagePath = {}) const;
    void print(const nlohmann::json& value) const;
};

// `#N` is the entry with index N (from 0); anything else the first entry whose
// name equals it (given as UTF-8). Throws UsageError when there is none.
[[nodiscard]] std::size_t selectEntry(const NameList& list, std::string_view selector);
// What selectEntry selects, for reading a list only up to it.
[[nodiscard]] EntryWanted selectorWanted(std::string_view selector);

// A file path as JSON can carry it: bytes that are not UTF-8 (a folder named in
// another encoding) become the text \xNN.
[[nodiscard]] std::string printablePath(std::string_view path);

// Names travel as UTF-8 in JSON.
[[nodiscard]] nlohmann::json nameJson(std::string_view cp949Name);

} // namespace starfall::cli
