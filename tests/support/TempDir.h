#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace starfall::test {

// A fresh folder under the system's temporary directory, removed with its
// contents when the object goes.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    // The folder as a program directory: with its trailing separator.
    [[nodiscard]] std::string dir() const { return m_path.string() + "/"; }
    [[nodiscard]] std::string file(std::string_view name) const { return (m_path / name).string(); }
    // Writes `content` byte for byte into a file of this folder; returns its path.
    std::string write(std::string_view name, std::string_view content) const;

private:
    std::filesystem::path m_path;
};

[[nodiscard]] std::string readFile(const std::string& path);

} // namespace starfall::test
