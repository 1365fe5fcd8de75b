#pragma once

// The document `import` applies, read from its text with the checks that only
// the parse can make.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace starfall::cli {

// Far deeper than anything `export` prints, far shallower than what would
// exhaust the stack of whatever walks the document.
inline constexpr std::size_t kMaxImportDepth = 64;

// Throws UsageError naming the JSON path of a value nested deeper than
// kMaxImportDepth or of a key given twice in one object, or quoting the
// parser for a text that is no JSON or holds a number too large to read.
[[nodiscard]] nlohmann::json parseImportDocument(const std::string& text);

} // namespace starfall::cli
