#pragma once

// The lines a record load sends down the trace channel. They travel in code
// page 949, the viewer's encoding, so they are built as its bytes here.

#include <string>
#include <string_view>

namespace starfall::messages {

// Names are passed as the list holds them (code page 949).
[[nodiscard]] std::string pilotTrace(std::string_view nameCp949, long long position);
[[nodiscard]] std::string unitTrace(std::string_view nameCp949, long long position);
[[nodiscard]] std::string weaponTrace(long long position);

} // namespace starfall::messages
