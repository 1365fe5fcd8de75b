#include "core/patch/VcdiffDecoder.h"

#include "core/io/CoreError.h"
#include "core/text/PatchFaultTexts.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace starfall::patch {

namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
constexpr std::size_t kMaxErrorBytes = 4096;

// A name starting with '-' would be read as an option.
std::string asOperand(const std::string& path) {
    return path.starts_with('-') ? "./" + path : path;
}

// The environment without XDELTA, which xdelta3 reads as more options.
std::vector<char*> decoderEnvironment() {
    std::vector<char*> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "XDELTA=", 7) != 0)
            out.push_back(*entry);
    }
    out.push_back(nullptr);
    return out;
}

class Pipe {
public:
    Pipe() {
        if (::pipe2(m_fds.data(), O_CLOEXEC) != 0)
            m_fds = {-1, -1};
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    [[nodiscard]] bool ok() const { return m_fds[0] >= 0; }
    [[nodiscard]] int read() const { return m_fds[0]; }
    [[nodiscard]] int write() const { return m_fds[1]; }
    void closeRead() { closeOne(m_fds[0]); }
    void closeWrite() { closeOne(m_fds[1]); }

private:
    static void closeOne(int& fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    std::array<int, 2> m_fds{};
};

// The running decoder; stopped and reaped on every way out.
class Child {
public:
    explicit Child(pid_t pid) : m_pid(pid) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            (void)wait();
        }
    }
    // The wait status.
    int wait() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }

private:
    pid_t m_pid;
};

Child start(const std::string& image, const std::string& patch, Pipe& out, Pipe& errors) {
    if (!out.ok() || !errors.ok())
        throw CoreError(Failure::PatchDecoderMissing, patch, -1, std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write(), 1);
    posix_spawn_file_actions_adddup2(&actions, errors.write(), 2);
    const std::string source = asOperand(image);
    const std::string input = asOperand(patch);
    std::vector<const char*> arguments = {kVcdiffDecoder, "-d", "-c", "-s",
                                          source.c_str(), input.c_str(), nullptr};
    std::vector<char*> environment = decoderEnvironment();
    pid_t pid = -1;
    const int failed = ::posix_spawnp(&pid, kVcdiffDecoder, &actions, nullptr,
                                      const_cast<char* const*>(arguments.data()),
                                      environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        throw CoreError(Failure::PatchDecoderMissing, patch, -1, std::strerror(failed));
    out.closeWrite();
    errors.closeWrite();
    return Child(pid);
}

// Reads what is ready on `fd`: false at its end.
bool drain(int fd, std::vector<std::uint8_t>& buffer) {
    buffer.resize(kChunkBytes);
    ssize_t got = -1;
    do {
        got = ::read(fd, buffer.data(), buffer.size());
    } while (got < 0 && errno == EINTR);
    buffer.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return got > 0;
}

// xdelta3's first line of complaint, without its own name.
std::string firstLine(const std::string& errors) {
    std::string line = errors.substr(0, errors.find('\n'));
    constexpr std::string_view kPrefix = "xdelta3: ";
    if (line.starts_with(kPrefix))
        line.erase(0, kPrefix.size());
    return line;
}

[[noreturn]] void refuse(const std::string& image, const std::string& patch, int status,
                         const std::string& errors) {
    if (errors.find("checksum mismatch") != std::string::npos)
        throw CoreError(Failure::PatchWrongImage, image, -1,
                        messages::imageMismatch(ImageMismatch::WindowChecksum));
    std::string why = firstLine(errors);
    if (why.empty())
        why = WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                                  : "exit " + std::to_string(WEXITSTATUS(status));
    throw CoreError(Failure::PatchDamaged, patch, -1, messages::decoderFault(why));
}

} // namespace

void decodeVcdiff(const std::string& image, const std::string& patch, const DecodedChunk& sink) {
    Pipe out;
    Pipe errors;
    Child child = start(image, patch, out, errors);
    std::string complaint;
    std::vector<std::uint8_t> buffer;
    std::array<pollfd, 2> watched{{{out.read(), POLLIN, 0}, {errors.read(), POLLIN, 0}}};
    while (watched[0].fd >= 0 || watched[1].fd >= 0) {
        if (::poll(watched.data(), watched.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            throw CoreError(Failure::PatchDamaged, patch, -1,
                            messages::decoderFault(std::strerror(errno)));
        }
        if (watched[0].revents != 0) {
            if (drain(watched[0].fd, buffer))
                sink(buffer);
            else
                watched[0].fd = -1;
        }
        if (watched[1].revents != 0) {
            if (drain(watched[1].fd, buffer) && complaint.size() < kMaxErrorBytes)
                complaint.append(buffer.begin(), buffer.end());
            else if (buffer.empty())
                watched[1].fd = -1;
        }
    }
    const int status = child.wait();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        refuse(image, patch, status, complaint);
}

} // namespace starfall::patch
