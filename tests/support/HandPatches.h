#pragma once

// Patch files built byte by byte from the published layouts, independently of
// the patch writers, for the readers and the apply to be tested against.

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::test {

using Bytes = std::vector<std::uint8_t>;

inline void put(Bytes& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}
inline void put(Bytes& out, const Bytes& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}
inline void putLittle(Bytes& out, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct HandRecord {
    std::uint64_t offset;
    Bytes next;
    Bytes old; // PPF 3.0 with undo only
};

inline void putHead(Bytes& out, std::string_view magic, std::uint8_t encoding,
                    std::string_view description) {
    put(out, magic);
    out.push_back(encoding);
    std::string padded(description);
    padded.resize(50, ' ');
    put(out, padded);
}

inline void putRecords(Bytes& out, const std::vector<HandRecord>& records, int offsetBytes) {
    for (const HandRecord& record : records) {
        putLittle(out, record.offset, offsetBytes);
        out.push_back(static_cast<std::uint8_t>(record.next.size()));
        put(out, record.next);
        put(out, record.old);
    }
}

inline void putDiz(Bytes& out, const std::optional<std::string>& diz, int lengthBytes) {
    if (!diz)
        return;
    put(out, "@BEGIN_FILE_ID.DIZ");
    put(out, *diz);
    put(out, "@END_FILE_ID.DIZ");
    putLittle(out, diz->size(), lengthBytes);
}

inline Bytes ppf1(std::string_view description, const std::vector<HandRecord>& records) {
    Bytes out;
    putHead(out, "PPF10", 0, description);
    putRecords(out, records, 4);
    return out;
}

inline Bytes ppf2(std::string_view description, std::uint32_t imageSize, const Bytes& block,
                  const std::vector<HandRecord>& records,
                  const std::optional<std::string>& diz = {}) {
    Bytes out;
    putHead(out, "PPF20", 1, description);
    putLittle(out, imageSize, 4);
    put(out, block);
    putRecords(out, records, 4);
    putDiz(out, diz, 4);
    return out;
}

inline Bytes ppf3(std::string_view description, const std::optional<Bytes>& block, bool undo,
                  const std::vector<HandRecord>& records,
                  const std::optional<std::string>& diz = {}, std::uint8_t imageType = 0) {
    Bytes out;
    putHead(out, "PPF30", 2, description);
    out.push_back(imageType);
    out.push_back(block ? 1 : 0);
    out.push_back(undo ? 1 : 0);
    out.push_back(0);
    if (block)
        put(out, *block);
    putRecords(out, records, 8);
    putDiz(out, diz, 2);
    return out;
}

inline std::uint32_t crcOf(const Bytes& bytes, std::size_t count) {
    return static_cast<std::uint32_t>(::crc32(0, bytes.data(), static_cast<uInt>(count)));
}
inline std::uint32_t crcOf(const Bytes& bytes) {
    return crcOf(bytes, bytes.size());
}

// A BPS, action by action.
class HandBps {
public:
    HandBps(std::uint64_t sourceSize, std::uint64_t targetSize, std::string_view metadata = {}) {
        put(m_out, "BPS1");
        number(sourceSize);
        number(targetSize);
        number(metadata.size());
        put(m_out, metadata);
    }
    HandBps& sourceRead(std::uint64_t length) { return action(0, length); }
    HandBps& targetRead(const Bytes& bytes) {
        action(1, bytes.size());
        put(m_out, bytes);
        return *this;
    }
    HandBps& sourceCopy(std::uint64_t length, std::int64_t relative) {
        return copy(2, length, relative);
    }
    HandBps& targetCopy(std::uint64_t length, std::int64_t relative) {
        return copy(3, length, relative);
    }
    HandBps& number(std::uint64_t value) {
        for (;;) {
            const auto low = static_cast<std::uint8_t>(value & 0x7F);
            value >>= 7;
            if (value == 0) {
                m_out.push_back(low | 0x80);
                return *this;
            }
            m_out.push_back(low);
            --value;
        }
    }
    [[nodiscard]] Bytes finish(std::uint32_t sourceCrc, std::uint32_t targetCrc) const {
        Bytes out = m_out;
        putLittle(out, sourceCrc, 4);
        putLittle(out, targetCrc, 4);
        putLittle(out, crcOf(out), 4);
        return out;
    }

private:
    HandBps& action(std::uint64_t kind, std::uint64_t length) {
        return number((length - 1) << 2 | kind);
    }
    HandBps& copy(std::uint64_t kind, std::uint64_t length, std::int64_t relative) {
        action(kind, length);
        const auto magnitude = static_cast<std::uint64_t>(relative < 0 ? -relative : relative);
        return number(magnitude << 1 | (relative < 0 ? 1 : 0));
    }
    Bytes m_out;
};

} // namespace starfall::test
