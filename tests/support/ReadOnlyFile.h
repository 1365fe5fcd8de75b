#pragma once

#include <string>

namespace starfall::test {

// Makes a file unwritable for the duration of a test, even for root (which
// ignores permission bits): mode 0444 plus, where the file system allows it,
// the immutable flag. `effective()` tells whether opening it for update now
// fails, so a test can skip where neither took hold.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path);
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    [[nodiscard]] bool effective() const;
    // The system's text for why opening it for update fails (it differs for
    // root and for other users).
    [[nodiscard]] std::string reason() const;

private:
    std::string m_path;
    bool m_immutable = false;
};

} // namespace starfall::test
