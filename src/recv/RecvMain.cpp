// starfall-recv: prints the editor's trace lines as they arrive, in UTF-8.

#include "core/codec/Cp949.h"
#include "core/io/TraceChannel.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc > 1) {
        std::cout << "Usage: starfall-recv\nPrints the trace lines of starfall-editor, "
                     "received at "
                  << starfall::traceSocketPath() << ".\n";
        return std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }
    const std::string path = starfall::traceSocketPath();
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path)) {
        std::cerr << "starfall-recv: socket path too long: " << path << '\n';
        return 1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    unlink(path.c_str()); // a socket left by an earlier viewer
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        std::cerr << "starfall-recv: cannot listen at " << path << ": " << std::strerror(errno)
                  << '\n';
        return 1;
    }
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t got = recv(fd, buffer.data(), buffer.size(), 0);
        if (got <= 0)
            continue;
        const std::string_view line(buffer.data(),
                                    strnlen(buffer.data(), static_cast<std::size_t>(got)));
        std::cout << starfall::cp949::toUtf8(line) << std::endl;
    }
}
