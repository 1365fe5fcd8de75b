#pragma once

// The trace channel: record loads announce where they read, for a viewer
// (starfall-recv) that may or may not be listening. A local datagram socket
// at a fixed per-user path; sending never blocks and is silent when nobody
// listens.

#include <string>
#include <string_view>

namespace starfall {

// $XDG_RUNTIME_DIR/starfall-trace.sock, else /tmp/starfall-trace-<uid>.sock.
[[nodiscard]] std::string traceSocketPath();

// Sends the line's code-page-949 bytes with the terminating zero.
void sendTrace(std::string_view lineCp949);

} // namespace starfall
