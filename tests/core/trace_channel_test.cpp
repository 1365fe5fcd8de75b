#include "core/io/TraceChannel.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace starfall {
namespace {

TEST(TraceChannel, ALineArrivesWithItsZeroAndNobodyListeningIsSilent) {
    test::TempDir dir;
    setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    ASSERT_EQ(traceSocketPath(), dir.file("starfall-trace.sock"));
    sendTrace("nobody listens"); // must neither block nor fail

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, traceSocketPath().c_str());
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    sendTrace("\xB9\xAB\xB1\xE2 \xC1\xD6\xBC\xD2: 46381512"); // "무기 주소: 46381512"
    char buffer[256] = {};
    const ssize_t got = recv(fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    close(fd);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)),
              std::string("\xB9\xAB\xB1\xE2 \xC1\xD6\xBC\xD2: 46381512\0", 20));
}

} // namespace
} // namespace starfall
