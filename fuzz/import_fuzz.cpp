// Any text as an import document: the parse gives a document or refuses the
// text with a UsageError, whatever its nesting or keys.
#include "cli/CliContext.h"
#include "cli/ImportDocument.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        (void)starfall::cli::parseImportDocument(
            std::string(reinterpret_cast<const char*>(data), size));
    } catch (const starfall::cli::UsageError&) {
    }
    return 0;
}
