#include "core/io/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

namespace starfall {

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string programDirectory() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("./") : directoryOf(self.string());
}

} // namespace starfall
