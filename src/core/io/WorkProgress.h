#pragma once

// How far a long piece of work has come, told to whoever waits for it, who
// may ask it to stop. Work that is stopped throws WorkCancelled from its next
// report; a report comes before any write, so a stopped work writes nothing.

#include <cstdint>
#include <exception>
#include <functional>
#include <utility>

namespace starfall {

struct WorkCancelled : std::exception {
    [[nodiscard]] const char* what() const noexcept override { return "cancelled"; }
};

class WorkProgress {
public:
    // Told the work done and the whole; returns false to stop the work.
    using Sink = std::function<bool(std::int64_t done, std::int64_t total)>;

    WorkProgress() = default;
    explicit WorkProgress(Sink sink) : m_sink(std::move(sink)) {}

    void report(std::int64_t done, std::int64_t total) const {
        if (m_sink && !m_sink(done, total))
            throw WorkCancelled();
    }

private:
    Sink m_sink;
};

} // namespace starfall
