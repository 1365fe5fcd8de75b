// A layout finds each field's bits among the bytes it plans, whatever order
// its table names them in: ascending, descending, or a byte shared by two
// fields and named again further on.
#include "core/record/RecordLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace starfall {
namespace {

struct Probe {
    std::array<std::string, 4> values;
    LoadedBytes loaded;
};

Field<Probe> probeField(std::size_t i, FieldBitsList bits) {
    static constexpr std::array<const char*, 4> kKeys = {"a", "b", "c", "d"};
    return numberField<Probe>(
        kKeys.at(i), std::move(bits), kWordRange, [i](auto& p) -> auto& { return p.values[i]; });
}

struct Case {
    const char* what;
    std::vector<FieldBitsList> bits;
    std::vector<std::string> expected; // with the byte at offset k holding 10 + k
};

TEST(RecordLayout, FieldsReadTheirOwnBytesInAnyOrder) {
    const Case cases[] = {
        {"ascending", {byteAt(0), byteAt(1), wordAt(2), byteAt(4)}, {"10", "11", "3340", "14"}},
        {"descending", {byteAt(4), wordAt(2), byteAt(1), byteAt(0)}, {"14", "3340", "11", "10"}},
        {"shared and named again",
         {FieldBitsList{{3, 0xF0}}, byteAt(0), FieldBitsList{{3, 0x0F}}, wordAt(3)},
         {"0", "10", "13", "3597"}},
        {"a gap, then back",
         {byteAt(1), byteAt(5), byteAt(2), byteAt(1)},
         {"11", "15", "12", "11"}},
    };
    for (const Case& c : cases) {
        FieldTable<Probe> fields;
        for (std::size_t i = 0; i < c.bits.size(); ++i)
            fields.push_back(probeField(i, c.bits[i]));
        const RecordLayout<Probe> layout(std::move(fields));
        std::vector<int> bytes;
        for (const RecordOffset offset : layout.offsets())
            bytes.push_back(10 + static_cast<int>(offset));
        const Probe probe = layout.decode(bytes);
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(probe.values[i], c.expected[i]) << c.what << ": field " << i;
        // Written back, every byte is as read.
        const std::vector<std::uint8_t> encoded = layout.encode(probe);
        EXPECT_EQ(std::vector<int>(encoded.begin(), encoded.end()), bytes) << c.what;
    }
}

} // namespace
} // namespace starfall
