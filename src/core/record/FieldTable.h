#pragma once

// A record's fields, written once: for each, the key scripts name it by (the
// dotted path of its JSON value, list positions from 1), what it holds, the
// record offsets and bits it lies in, the codec that turns those bits into
// the value the controls show and back, and where the value sits in the
// decoded record. Decoding, encoding, the save plan, the command line's keys
// and its views are all derived from these rows (see RecordLayout.h).

#include "core/codec/ListChoice.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace starfall {

// A byte's offset from the start of its record as the layout tables state
// it, before the record's walker steps over any sector framing. Negative for
// bytes kept before the record (the repair cost, the personality byte).
using RecordOffset = int;

// The bits a field owns in the byte at `offset`. `byte` is that byte's index
// among the record's planned bytes, filled in by RecordLayout.
struct FieldBits {
    RecordOffset offset = 0;
    std::uint8_t mask = 0xFF;
    std::size_t byte = 0;
};

// A field's bits: one byte's, or a word's two, low byte first. Kept in
// place: a table has hundreds of fields, and a list of its own for each was
// one allocation more per field.
class FieldBitsList {
public:
    static constexpr std::size_t kMost = 2;

    FieldBitsList() = default;
    FieldBitsList(std::initializer_list<FieldBits> bits) {
        if (bits.size() > kMost)
            throw std::logic_error("a field owns the bits of at most two bytes");
        std::copy(bits.begin(), bits.end(), m_bits.begin());
        m_size = bits.size();
    }

    [[nodiscard]] FieldBits* begin() { return m_bits.data(); }
    [[nodiscard]] FieldBits* end() { return m_bits.data() + m_size; }
    [[nodiscard]] const FieldBits* begin() const { return m_bits.data(); }
    [[nodiscard]] const FieldBits* end() const { return m_bits.data() + m_size; }
    [[nodiscard]] const FieldBits* data() const { return m_bits.data(); }
    [[nodiscard]] std::size_t size() const { return m_size; }
    [[nodiscard]] const FieldBits& front() const { return m_bits.front(); }

private:
    std::array<FieldBits, kMost> m_bits{};
    std::size_t m_size = 0;
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

// The field's bits as one number (a word's low byte first; a byte past the end
// of the image counts as 0xFF), and whether any of them lay past the end.
struct StoredBits {
    int value = 0;
    bool pastEnd = false;
};

struct FieldCodec {
    std::function<FieldValue(StoredBits)> decode;
    // The number to store, or nothing to leave the stored bits as they are.
    std::function<std::optional<int>(const FieldValue&)> encode;
    // A number field's value as the save reads its text, before the number is
    // cut to the field's bits: what the field's range is checked against.
    std::function<std::int64_t(const FieldValue&)> number;
};

template <typename Record> struct Field {
    std::string key;
    FieldKind kind = FieldKind::Number;
    FieldBitsList bits;
    NumberRange range;                       // numbers
    std::span<const std::string_view> items; // choices: the item texts
    std::span<const int> codes;              // choices: the stored code of each item (kept)
    FieldCodec codec;
    std::function<FieldValue(const Record&)> get;
    std::function<void(Record&, const FieldValue&)> set;

    // A choice's stored code among `loaded` (the planned bytes as read), or
    // nothing past the end of the image.
    [[nodiscard]] std::optional<int> storedCode(std::span<const int> loaded) const {
        const FieldBits& at = bits.front();
        if (at.byte >= loaded.size() || loaded[at.byte] < 0)
            return std::nullopt;
        return (loaded[at.byte] & at.mask) >> std::countr_zero(at.mask);
    }
};

template <typename Record> using FieldTable = std::vector<Field<Record>>;

// Whether a number field's value, read as a save reads it, lies within the
// field's range; a choice, or a number without a range rule, always does.
// The editor refuses to save what this refuses, as the command line does.
template <typename Record>
[[nodiscard]] bool valueInRange(const Field<Record>& field, const FieldValue& value) {
    if (field.kind != FieldKind::Number || !field.codec.number)
        return true;
    const std::int64_t number = field.codec.number(value);
    return number >= field.range.min && number <= field.range.max;
}

// The field `key` names, or null.
template <typename Record>
[[nodiscard]] const Field<Record>* findField(const FieldTable<Record>& fields,
                                             std::string_view key) {
    for (const Field<Record>& field : fields) {
        if (field.key == key)
            return &field;
    }
    return nullptr;
}

// The number codecs: an unsigned byte ("-1" past the end), an unsigned word,
// and a signed byte whose text is cut to its first five characters on save.
[[nodiscard]] FieldCodec byteTextCodec();
[[nodiscard]] FieldCodec wordTextCodec();
[[nodiscard]] FieldCodec signedByteTextCodec();

// How a choice reads a stored code among its list's codes: by default the
// item whose code it is, else the code kept as unlisted. A rule may read it
// otherwise (no selection, or a digit rule); a save always writes an item's
// code or an unlisted code, and leaves the bits alone for no selection.
using ChoiceRead = ListChoice (*)(StoredBits, std::span<const int> codes);
[[nodiscard]] ListChoice readByCode(StoredBits bits, std::span<const int> codes);
// The same, but past the end of the image the list shows no selection.
[[nodiscard]] ListChoice noneAtEnd(StoredBits bits, std::span<const int> codes);

// A list's stored codes, kept once for the rest of the run. The fields that
// store their lists by the same codes share one copy, which their codecs read
// in place: a table has hundreds of list fields, and codes of their own cost
// each field allocations for them and for the functions holding them. Making
// one finds the kept copy; a table making many fields of one list makes it once.
class KeptCodes {
public:
    KeptCodes(const std::vector<int>& codes) : KeptCodes(std::span<const int>(codes)) {}
    KeptCodes(std::initializer_list<int> codes)
        : KeptCodes(std::span<const int>(codes.begin(), codes.size())) {}
    explicit KeptCodes(std::span<const int> codes);

    [[nodiscard]] const std::vector<int>& codes() const { return *m_codes; }

private:
    const std::vector<int>* m_codes;
};

[[nodiscard]] FieldCodec choiceCodec(KeptCodes codes, ChoiceRead read = readByCode);

// One byte at `offset`; a word's two bytes, low first.
[[nodiscard]] inline FieldBitsList byteAt(RecordOffset offset) {
    return {{offset, 0xFF}};
}
[[nodiscard]] inline FieldBitsList wordAt(RecordOffset low) {
    return {{low, 0xFF}, {low + 1, 0xFF}};
}

// Codes first, first + 1, ... for a list whose items are stored by position.
[[nodiscard]] std::vector<int> sequentialCodes(std::size_t count, int first = 0);

// A number field over the text `access(record)` returns a reference to; a
// byte or a word by the number of its bytes unless `codec` says otherwise.
template <typename Record, typename Access>
[[nodiscard]] Field<Record> numberField(std::string key, FieldBitsList bits, NumberRange range,
                                        Access access,
                                        std::optional<FieldCodec> codec = std::nullopt) {
    Field<Record> field{std::move(key), FieldKind::Number, bits, range, {}, {}, {}, {}, {}};
    field.codec = codec ? *codec : field.bits.size() == 1 ? byteTextCodec() : wordTextCodec();
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
                                        std::span<const std::string_view> items, KeptCodes codes,
                                        Access access, ChoiceRead read = readByCode) {
    Field<Record> field{
        std::move(key), FieldKind::Choice, {bits}, {}, items, codes.codes(), {}, {}, {}};
    field.codec = choiceCodec(codes, read);
    field.get = [access](const Record& record) { return FieldValue(access(record)); };
    field.set = [access](Record& record, const FieldValue& value) {
        access(record) = std::get<ListChoice>(value);
    };
    return field;
}

} // namespace starfall
