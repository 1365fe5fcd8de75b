#pragma once

// A large image that costs no memory: a sparse file of `size` zero bytes with
// a few byte runs written at absolute positions. For tables that lie tens of
// megabytes into the image.

#include "core/io/Position.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace starfall::test {

using SparseRun = std::pair<Position, std::vector<std::uint8_t>>;

inline void writeSparseImage(const std::string& path, Position size,
                             const std::vector<SparseRun>& runs) {
    { std::ofstream create(path, std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    for (const auto& [position, bytes] : runs) {
        file.seekp(position);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
}

// The bytes of a file from `position` on (fewer at the end of the file).
inline std::vector<std::uint8_t> readFileRange(const std::string& path, Position position,
                                               std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    file.seekg(position);
    std::vector<std::uint8_t> bytes(count);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

} // namespace starfall::test
