#pragma once

// The document `import` applies, read from its text with the checks that only
// the parse can make. It is parsed as a stream: its records are handed over
// one at a time as they are read, so that only one of them is held at once.

#include "cli/FlatRecord.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace starfall::cli {

// Far deeper than anything `export` prints, far shallower than what would
// exhaust the stack of whatever walks the document.
inline constexpr std::size_t kMaxImportDepth = 64;

// What the parse hands over, in the order of the text. A document shaped as
// `export` prints it is an object of sections, each a list of records.
class ImportDocumentParts {
public:
    virtual ~ImportDocumentParts() = default;
    // A document that is no object, whole.
    virtual void notAnObject(nlohmann::json document) = 0;
    // A section whose value is no list, with that value whole.
    virtual void section(const std::string& name, nlohmann::json value) = 0;
    // A section holding a list; its elements follow, one call each.
    virtual void listSection(const std::string& name) = 0;
    // An element that is an object comes first as a record read flat, when
    // it reads so; false, and it comes again whole to element().
    virtual bool flatElement(const FlatRecord&) { return false; }
    virtual void element(nlohmann::json value) = 0;
    virtual void listEnd() = 0;
};

// Both throw UsageError naming the JSON path of a value nested deeper than
// kMaxImportDepth or of a key given twice in one object, or quoting the
// parser for a text that is no JSON or holds a number too large to read.
// Whatever `parts` throws goes out as it is, ending the parse.
void streamImportDocument(const std::string& text, ImportDocumentParts& parts);
// The file at `path` ("-": standard input), read a chunk at a time; throws
// CoreError InputOpenForLoad when it cannot be opened or read.
void streamImportFile(const std::string& path, ImportDocumentParts& parts);

// The whole document, assembled from the same stream.
[[nodiscard]] nlohmann::json parseImportDocument(const std::string& text);

} // namespace starfall::cli
