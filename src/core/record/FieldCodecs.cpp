#include "core/codec/ByteCodec.h"
#include "core/codec/TextNumbers.h"
#include "core/codec/WordCodec.h"
#include "core/record/FieldTable.h"

#include <algorithm>
#include <mutex>
#include <set>

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

// Kept lists in order of their codes, found by any span of codes.
struct CodesBefore {
    using is_transparent = void;
    bool operator()(std::span<const int> a, std::span<const int> b) const {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    }
};

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

ListChoice readByCode(StoredBits bits, std::span<const int> codes) {
    const auto found = std::find(codes.begin(), codes.end(), bits.value);
    return found == codes.end() ? ListChoice::unlisted(bits.value)
                                : ListChoice::item(static_cast<int>(found - codes.begin()));
}

ListChoice noneAtEnd(StoredBits bits, std::span<const int> codes) {
    return bits.pastEnd ? ListChoice::none() : readByCode(bits, codes);
}

KeptCodes::KeptCodes(std::span<const int> codes) {
    // A set's elements stay where they are: what was handed out stays valid.
    // The tables name a few dozen distinct lists between them.
    static std::mutex guard;
    static std::set<std::vector<int>, CodesBefore> kept;
    const std::lock_guard lock(guard);
    auto found = kept.find(codes);
    if (found == kept.end())
        found = kept.emplace(codes.begin(), codes.end()).first;
    m_codes = &*found;
}

// The functions hold the rule and the kept codes by address: small enough
// to need no allocation of their own.
FieldCodec choiceCodec(KeptCodes kept, ChoiceRead read) {
    const std::vector<int>* codes = &kept.codes();
    return {[read, codes](StoredBits bits) -> FieldValue { return read(bits, *codes); },
            [codes](const FieldValue& value) -> std::optional<int> {
                const ListChoice& choice = std::get<ListChoice>(value);
                if (const auto code = choice.unlistedCode())
                    return *code;
                const int index = choice.indexOr(-1);
                if (index < 0 || index >= static_cast<int>(codes->size()))
                    return std::nullopt;
                return (*codes)[static_cast<std::size_t>(index)];
            },
            {}};
}

} // namespace starfall
