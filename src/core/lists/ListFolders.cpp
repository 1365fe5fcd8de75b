#include "core/lists/ListFolders.h"

#include "core/io/ProgramDirectory.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace starfall {

namespace {

std::string withSeparator(std::string folder) {
    if (folder.empty())
        return "./";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

ListFolders::ListFolders(std::string folder) : m_folders{withSeparator(std::move(folder))} {}

ListFolders::ListFolders(std::vector<std::string> folders) {
    for (std::string& folder : folders) {
        std::string entry = withSeparator(std::move(folder));
        if (std::find(m_folders.begin(), m_folders.end(), entry) == m_folders.end())
            m_folders.push_back(std::move(entry));
    }
}

std::string ListFolders::lines() const {
    std::string text;
    for (const std::string& folder : m_folders)
        text += (text.empty() ? "" : "\n") + folder;
    return text;
}

std::string ListFolders::pathOf(std::string_view fileName) const {
    for (const std::string& folder : m_folders) {
        std::string path = folder + std::string(fileName);
        if (isRegularFile(path))
            return path;
    }
    return (m_folders.empty() ? std::string("./") : m_folders.front()) + std::string(fileName);
}

std::optional<std::string> userListFolder() {
    const std::string config = environment("XDG_CONFIG_HOME");
    if (!config.empty() && config.front() == '/')
        return withSeparator(config) + "starfall/";
    const std::string home = environment("HOME");
    if (home.empty() || home.front() != '/')
        return std::nullopt;
    return withSeparator(home) + ".config/starfall/";
}

ListFolders listFoldersFor(const std::string& programDirectory, const std::string& imagePath) {
    std::vector<std::string> folders{programDirectory};
    if (!imagePath.empty())
        folders.push_back(directoryOf(imagePath));
    if (auto user = userListFolder())
        folders.push_back(std::move(*user));
    return ListFolders(std::move(folders));
}

} // namespace starfall
