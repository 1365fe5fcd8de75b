#pragma once

// How the fields of one table print, worked out once for all the records
// that share it: each field's key, where its bits lie among the planned
// bytes, and what each code of a narrow field prints as. A record then prints
// straight from its bytes, as its view would print it, without being decoded
// into a record and read back field by field.

#include "cli/DottedValues.h"
#include "cli/JsonStream.h"
#include "core/record/FieldTable.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace starfall::cli {

class FieldPrinter {
public:
    template <typename Record> explicit FieldPrinter(const FieldTable<Record>& fields) {
        m_steps.reserve(fields.size());
        for (const Field<Record>& field : fields)
            add(field.key, field.kind, field.bits, field.items, field.codes, field.codec.decode);
    }

    // Appends every field's key and value as read from `bytes` (the planned
    // bytes, kEndOfFile past the end of the image), in table order. The
    // values view the table and the printer, until its next append.
    void append(std::span<const int> bytes, std::vector<DottedValue>& out);

private:
    using Decode = std::function<FieldValue(StoredBits)>;
    // A number as printed, kept for its code: the numbers of a byte or a word
    // fit, and a longer one is printed afresh each time.
    struct ShortNumber {
        std::array<char, 7> text{};
        std::uint8_t size = 0; // 0: not yet printed
    };
    struct Step {
        std::string_view key;
        FieldKind kind;
        std::span<const FieldBits> bits;
        std::span<const std::string_view> items;
        std::span<const int> codes;
        const Decode* decode;
        // A number field of a byte or less: the printed number of each code,
        // filled in as codes are met. A wider one: the codes last met, each
        // in the slot of its low byte.
        std::vector<ShortNumber> numbers;
        std::vector<std::pair<int, ShortNumber>> recent;
        // A list field: the item each stored code stands for, or -1, and
        // each item's text as printed, once it is met (empty until then).
        std::vector<std::int16_t> itemOfCode;
        std::vector<std::string> printedItems;
    };

    void add(std::string_view key, FieldKind kind, std::span<const FieldBits> bits,
             std::span<const std::string_view> items, std::span<const int> codes,
             const Decode& decode);
    [[nodiscard]] static PrintValue number(Step& step, std::span<const int> bytes);
    [[nodiscard]] static PrintValue printed(ShortNumber& kept, const Step& step, StoredBits stored);
    [[nodiscard]] static PrintValue choice(Step& step, std::span<const int> bytes);

    std::vector<Step> m_steps;
};

} // namespace starfall::cli
