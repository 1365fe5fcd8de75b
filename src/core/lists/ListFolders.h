#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

// The folders the list files and weapon.ini are looked for in, in order, each
// ending with '/'. Each file is taken from the first folder that holds it.
class ListFolders {
public:
    ListFolders() = default;
    // One folder only: the CLI's --dir, a test's fixture folder.
    ListFolders(std::string folder); // implicit: a folder is a search of one
    explicit ListFolders(std::vector<std::string> folders);

    [[nodiscard]] const std::vector<std::string>& folders() const { return m_folders; }
    // The folders one per line, as the missing-list message names them.
    [[nodiscard]] std::string lines() const;
    // Where `fileName` is read from: the first folder holding it as a regular
    // file, otherwise the first folder (so that the read reports it missing).
    [[nodiscard]] std::string pathOf(std::string_view fileName) const;

private:
    std::vector<std::string> m_folders;
};

// The user's own folder for list files: $XDG_CONFIG_HOME/starfall/, or
// ~/.config/starfall/ when that is unset, empty or not absolute; nullopt
// without a home to put it in.
[[nodiscard]] std::optional<std::string> userListFolder();

// The program's folder first, then the image's own folder (none when
// `imagePath` is empty), then the user's folder; a folder named twice is
// searched once.
[[nodiscard]] ListFolders listFoldersFor(const std::string& programDirectory,
                                         const std::string& imagePath);

} // namespace starfall
