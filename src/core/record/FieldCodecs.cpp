#include "core/codec/ByteCodec.h"
#include "core/codec/TextNumbers.h"
#include "core/codec/WordCodec.h"
#include "core/record/FieldTable.h"

#include <algorithm>
#include <memory>

namespace starfall {

namespace {

constexpr std::size_t kSignedByteDigits = 5; // a save reads the hit field's first five characters

const std::string& textOf(const FieldValue& value) {
    return std::get<std::string>(value);
}

// The decimal number a box's text stands for, as ByteCodec and WordCodec read it.
std::int64_t decimalOf(const FieldValue& value) {
    return parseDecimal(textOf(value));
}

std::int64_t signedDecimalOf(const FieldValue& value) {
    const std::string_view text = textOf(value);
    return parseDecimal(text.substr(0, std::min(text.size(), kSignedByteDigits)));
}

// The reads of the shared codecs are plain functions: a reader that keeps
// what each code reads as can tell two fields read alike by them.
FieldValue readByteText(StoredBits bits) {
    return ByteCodec::decode(bits.pastEnd ? kEndOfFile : bits.value);
}

FieldValue readWordText(StoredBits bits) {
    return std::to_string(bits.value);
}

FieldValue readSignedByteText(StoredBits bits) {
    return std::to_string(bits.value > 127 ? bits.value - 256 : bits.value);
}

} // namespace

std::vector<int> sequentialCodes(std::size_t count, int first) {
    std::vector<int> codes(count);
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = first + static_cast<int>(i);
    return codes;
}

FieldCodec byteTextCodec() {
    return {readByteText,
            [](const FieldValue& value) -> std::optional<int> {
                return ByteCodec::encode(textOf(value));
            },
            decimalOf};
}

FieldCodec wordTextCodec() {
    return {readWordText,
            [](const FieldValue& value) -> std::optional<int> {
                const auto word = WordCodec::encode(textOf(value));
                return word[0] | word[1] << 8;
            },
            decimalOf};
}

FieldCodec signedByteTextCodec() {
    return {readSignedByteText,
            [](const FieldValue& value) -> std::optional<int> {
                return lowByte(signedDecimalOf(value));
            },
            signedDecimalOf};
}

// The read and the write of a list share one copy of its codes: a table has
// hundreds of list fields, and a copy in each would be an allocation more
// per field, and its function's another. The plain read is made as the
// decode itself, small enough to need no allocation of its own; a given rule
// is wrapped.
FieldCodec choiceCodec(std::vector<int> codes, ChoiceRead read) {
    const auto shared = std::make_shared<const std::vector<int>>(std::move(codes));
    std::function<FieldValue(StoredBits)> decode;
    if (read) {
        decode = [read = std::move(read)](StoredBits bits) -> FieldValue { return read(bits); };
    } else {
        decode = [shared](StoredBits bits) -> FieldValue {
            const std::vector<int>& all = *shared;
            const auto found = std::find(all.begin(), all.end(), bits.value);
            return found == all.end() ? ListChoice::unlisted(bits.value)
                                      : ListChoice::item(static_cast<int>(found - all.begin()));
        };
    }
    return {std::move(decode),
            [shared](const FieldValue& value) -> std::optional<int> {
                const ListChoice& choice = std::get<ListChoice>(value);
                if (const auto code = choice.unlistedCode())
                    return *code;
                const int index = choice.indexOr(-1);
                if (index < 0 || index >= static_cast<int>(shared->size()))
                    return std::nullopt;
                return (*shared)[static_cast<std::size_t>(index)];
            },
            {}};
}

ChoiceRead noneAtEnd(std::vector<int> codes) {
    return [lookup = choiceCodec(std::move(codes)).decode](StoredBits bits) {
        return bits.pastEnd ? ListChoice::none() : std::get<ListChoice>(lookup(bits));
    };
}

} // namespace starfall
