#include "core/io/TraceChannel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace starfall {

std::string traceSocketPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return std::string(runtime) + "/starfall-trace.sock";
    return "/tmp/starfall-trace-" + std::to_string(getuid()) + ".sock";
}

void sendTrace(std::string_view lineCp949) {
    const std::string path = traceSocketPath();
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path))
        return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    std::string datagram(lineCp949);
    datagram.push_back('\0');
    // Nobody listening, or a full queue: the line is dropped on purpose.
    (void)sendto(fd, datagram.data(), datagram.size(), MSG_DONTWAIT,
                 reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    close(fd);
}

} // namespace starfall
