#pragma once

// A record's fields, written once: for each, the key scripts name it by (the
// dotted path of its JSON value, list positions from 1), what it holds, where
// its bits lie among the record's planned bytes, and how to take it from the
// decoded record and put it back. A save writes only the fields whose value
// differs from what the record was read as; the command line prints, sets,
// imports and compares records through the same tables.

#include "core/io/ImageAccess.h"
#include "core/codec/ListChoice.h"
#include "core/record/LoadedBytes.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace starfall {

// The bits a field owns in byte `byte` of its record's planned bytes.
struct FieldBits {
    std::size_t byte = 0;
    std::uint8_t mask = 0xFF;
};

enum class FieldKind { Number, Choice };

// The values a script may give a number field (the editor's boxes take any text).
struct NumberRange {
    std::int64_t min = 0;
    std::int64_t max = 0;
};
inline constexpr NumberRange kByteRange{0, 0xFF};
inline constexpr NumberRange kWordRange{0, 0xFFFF};

// A value as the controls hold it: decimal text, or a list choice.
using FieldValue = std::variant<std::string, ListChoice>;

template <typename Record> struct Field {
    std::string key;
    FieldKind kind = FieldKind::Number;
    std::vector<FieldBits> bits;             // a word's low byte first
    NumberRange range;                       // numbers
    std::span<const std::string_view> items; // choices: the item texts
    std::vector<int> codes;                  // choices: the stored code of each item
    std::function<FieldValue(const Record&)> get;
    std::function<void(Record&, const FieldValue&)> set;

    // A choice's stored code in `loaded`, or nothing past the end of the image.
    [[nodiscard]] std::optional<int> storedCode(const LoadedBytes& loaded) const {
        const FieldBits& at = bits.front();
        if (at.byte >= loaded.bytes.size() || loaded.bytes[at.byte] < 0)
            return std::nullopt;
        int shift = 0;
        while (((at.mask >> shift) & 1) == 0)
            ++shift;
        return (loaded.bytes[at.byte] & at.mask) >> shift;
    }
};

// Codes first, first + 1, ... for a list whose items are stored by position.
[[nodiscard]] inline std::vector<int> sequentialCodes(std::size_t count, int first = 0) {
    std::vector<int> codes(count);
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = first + static_cast<int>(i);
    return codes;
}

template <typename Record> using FieldTable = std::vector<Field<Record>>;

// A number field over the text `access(record)` returns a reference to.
template <typename Record, typename Access>
[[nodiscard]] Field<Record> numberField(std::string key, std::vector<FieldBits> bits,
                                        NumberRange range, Access access) {
    Field<Record> field{std::move(key), FieldKind::Number, std::move(bits), range, {}, {}, {}, {}};
    field.get = [access](const Record& record) { return FieldValue(access(record)); };
    field.set = [access](Record& record, const FieldValue& value) {
        access(record) = std::get<std::string>(value);
    };
    return field;
}

// A list field over the choice `access(record)` returns a reference to;
// `codes[i]` is the code item i is stored as.
template <typename Record, typename Access>
[[nodiscard]] Field<Record> choiceField(std::string key, FieldBits bits,
                                        std::span<const std::string_view> items,
                                        std::vector<int> codes, Access access) {
    Field<Record> field{std::move(key), FieldKind::Choice, {bits}, {},
                        items,          std::move(codes),  {},     {}};
    field.get = [access](const Record& record) { return FieldValue(access(record)); };
    field.set = [access](Record& record, const FieldValue& value) {
        access(record) = std::get<ListChoice>(value);
    };
    return field;
}

// The bytes of a save: of every field whose value differs from what
// `asLoaded` shows (every field, without it), its bits of `encoded`. A list
// showing no selection is left as stored.
template <typename Record>
[[nodiscard]] std::vector<ByteWrite>
changedFieldWrites(const FieldTable<Record>& fields, std::span<const Position> positions,
                   std::span<const std::uint8_t> encoded, const Record& edited,
                   const Record* asLoaded) {
    std::vector<std::uint8_t> masks(positions.size(), 0);
    for (const Field<Record>& field : fields) {
        const FieldValue now = field.get(edited);
        const auto* choice = std::get_if<ListChoice>(&now);
        if ((choice && choice->isNone()) || (asLoaded && field.get(*asLoaded) == now))
            continue;
        for (const FieldBits& at : field.bits)
            masks.at(at.byte) |= at.mask;
    }
    std::vector<ByteWrite> plan;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (masks[i] != 0)
            plan.push_back({positions[i], encoded[i], masks[i]});
    }
    return plan;
}

// The save plan of a record at `positions` with its bytes `encoded`: the
// changed fields against what `decode` makes of the bytes it was read from,
// or every field of a record that was never read.
template <typename Record, typename Decode>
[[nodiscard]] std::vector<ByteWrite>
recordSavePlan(const FieldTable<Record>& fields, std::span<const Position> positions,
               std::span<const std::uint8_t> encoded, const Record& record, Decode decode) {
    if (record.loaded.bytes.size() != positions.size())
        return changedFieldWrites(fields, positions, encoded, record,
                                  static_cast<const Record*>(nullptr));
    const Record asLoaded = decode(std::span<const int>(record.loaded.bytes));
    return changedFieldWrites(fields, positions, encoded, record, &asLoaded);
}

// After a save has written `plan`, the record counts as read from what is now
// in the image, so that the next save compares against it.
inline void noteSaved(LoadedBytes& loaded, std::span<const Position> positions,
                      std::span<const ByteWrite> plan) {
    if (loaded.bytes.size() != positions.size())
        return;
    for (const ByteWrite& write : plan) {
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (positions[i] == write.position && loaded.bytes[i] >= 0)
                loaded.bytes[i] = (loaded.bytes[i] & ~write.mask) | (write.value & write.mask);
        }
    }
}

// A record save: the whole record must lie where the image can be addressed
// (a record the image cannot hold is refused even when nothing changed), then
// the plan is written and the record counts as read from what it wrote.
inline void writeRecordSave(const std::string& path, std::span<const Position> positions,
                            std::span<const ByteWrite> plan, LoadedBytes& loaded,
                            std::string_view record) {
    checkPositions(positions, path);
    writeBytes(path, plan, record);
    noteSaved(loaded, positions, plan);
}

} // namespace starfall
