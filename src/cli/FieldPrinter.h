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
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace starfall::cli {

// What codes print as, kept for the printers of one export to share: every
// slot of every skill table lists the same items, and most number fields are
// read by one of a few shared codecs. Kept per field, these tables filled
// more memory than the records they print.
class PrintedCodes {
public:
    using Decode = std::function<FieldValue(StoredBits)>;
    // A number as printed, kept for its code: the numbers of a byte or a word
    // fit, and a longer one is printed afresh each time.
    struct ShortNumber {
        std::array<char, 7> text{};
        std::uint8_t size = 0; // 0: not yet printed
    };
    // A number field of a byte or less: the printed number of each code,
    // filled in as codes are met. A wider one: the codes last met, each in
    // the slot of its low byte.
    struct Numbers {
        std::vector<ShortNumber> byCode;
        std::vector<std::pair<int, ShortNumber>> recent;
        std::size_t recentMask = 0; // a code's slot among the recent ones: its bits under this
        std::size_t misses = 0;     // codes met that were not among the recent ones
    };
    // A list field: the item each stored code stands for, or -1, and each
    // item's text as printed, once it is met (empty until then).
    struct Choices {
        std::span<const std::string_view> items;
        std::vector<int> codes;
        std::vector<std::int16_t> itemOfCode;
        std::vector<std::string> printedItems;
    };

    // The numbers of a field `width` bits wide that `decode` reads: for a
    // byte or less, shared by all the fields read by the same plain
    // function, as the shared codecs' are; a field's own otherwise.
    [[nodiscard]] Numbers& numbers(const Decode& decode, int width);
    // The items of a list field, shared by the fields with the same items
    // stored as the same codes.
    [[nodiscard]] Choices& choices(std::span<const std::string_view> items,
                                   std::span<const int> codes);

private:
    using Read = FieldValue (*)(StoredBits);
    struct SharedNumbers {
        Read read;
        int width;
        Numbers* numbers;
    };
    std::deque<Numbers> m_numbers;       // deques: a printer keeps pointers into them
    std::vector<SharedNumbers> m_shared; // the tables fields read alike share
    std::deque<Choices> m_choices;
};

class FieldPrinter {
public:
    template <typename Record>
    explicit FieldPrinter(const FieldTable<Record>& fields)
        : m_own(std::make_unique<PrintedCodes>()), m_codes(m_own.get()) {
        addAll(fields);
    }
    // The same, with the codes' texts kept in `codes`, which outlives it.
    template <typename Record>
    FieldPrinter(const FieldTable<Record>& fields, PrintedCodes& codes) : m_codes(&codes) {
        addAll(fields);
    }

    // Appends every field's key and value as read from `bytes` (the planned
    // bytes, kEndOfFile past the end of the image), in table order. The
    // values view the table and the printer, until its next append.
    void append(std::span<const int> bytes, std::vector<DottedValue>& out);
    // The same for the table's first `count` fields alone.
    void append(std::span<const int> bytes, std::vector<DottedValue>& out, std::size_t count);

private:
    using Decode = PrintedCodes::Decode;
    using ShortNumber = PrintedCodes::ShortNumber;
    struct Step {
        std::string_view key;
        FieldKind kind;
        std::span<const FieldBits> bits;
        const Decode* decode;
        PrintedCodes::Numbers* numbers = nullptr; // a number field's
        PrintedCodes::Choices* choices = nullptr; // a list field's
    };

    template <typename Record> void addAll(const FieldTable<Record>& fields) {
        m_steps.reserve(fields.size());
        for (const Field<Record>& field : fields)
            add(field.key, field.kind, field.bits, field.items, field.codes, field.codec.decode);
    }
    void add(std::string_view key, FieldKind kind, std::span<const FieldBits> bits,
             std::span<const std::string_view> items, std::span<const int> codes,
             const Decode& decode);
    [[nodiscard]] static PrintValue number(const Step& step, std::span<const int> bytes);
    [[nodiscard]] static PrintValue printed(ShortNumber& kept, const Step& step, StoredBits stored);
    [[nodiscard]] static PrintValue choice(const Step& step, std::span<const int> bytes);

    std::unique_ptr<PrintedCodes> m_own; // when not given codes to share
    PrintedCodes* m_codes;
    std::vector<Step> m_steps;
};

} // namespace starfall::cli
