#include "cli/FieldPrinter.h"

#include "core/codec/TextNumbers.h"
#include "core/record/RecordLayout.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace starfall::cli {

namespace {

constexpr int kCodes = 256; // a list field's bits lie in one byte
// A word's recent codes, a power of two of them: a few slots at first, as
// many records share their values and a short export meets few; the full
// count once the few have all given way to others (the round numbers of
// long lists collide in fewer).
constexpr std::size_t kFirstRecent = 16;
constexpr std::size_t kRecent = 256;

int widthOf(std::span<const FieldBits> bits) {
    return std::accumulate(bits.begin(), bits.end(), 0, [](int width, const FieldBits& at) {
        return width + std::popcount(at.mask);
    });
}

std::int64_t decodedNumber(const std::function<FieldValue(StoredBits)>& decode,
                           StoredBits stored) {
    return parseDecimal(std::get<std::string>(decode(stored)));
}

} // namespace

PrintedCodes::Numbers& PrintedCodes::numbers(const Decode& decode, int width) {
    // Only a byte's table is shared: its texts, once printed, never change,
    // where a wider field's recent codes give way to others, and a record
    // still viewing one text would see another field's.
    const Read* read = width <= 8 ? decode.target<Read>() : nullptr;
    if (read != nullptr) {
        for (const SharedNumbers& shared : m_shared) {
            if (shared.read == *read && shared.width == width)
                return *shared.numbers;
        }
    }
    // A field read by anything else gets a table of its own: two reads that
    // are not the same function may read a code differently.
    Numbers& made = m_numbers.emplace_back();
    if (width <= 8)
        made.byCode.resize(std::size_t{1} << width);
    else {
        made.recent.assign(kFirstRecent, {-1, ShortNumber{}});
        made.recentMask = kFirstRecent - 1;
    }
    if (read != nullptr)
        m_shared.push_back({*read, width, &made});
    return made;
}

PrintedCodes::Choices& PrintedCodes::choices(std::span<const std::string_view> items,
                                             std::span<const int> codes) {
    for (Choices& shared : m_choices) {
        if (shared.items.data() == items.data() && shared.items.size() == items.size() &&
            std::ranges::equal(shared.codes, codes))
            return shared;
    }
    Choices& made = m_choices.emplace_back(
        Choices{items, std::vector<int>(codes.begin(), codes.end()), {}, {}});
    made.itemOfCode.assign(kCodes, -1);
    // The first item stored as a code is the one it reads as.
    for (std::size_t item = codes.size(); item-- > 0;) {
        if (codes[item] >= 0 && codes[item] < kCodes)
            made.itemOfCode[static_cast<std::size_t>(codes[item])] =
                static_cast<std::int16_t>(item);
    }
    made.printedItems.resize(items.size());
    return made;
}

void FieldPrinter::add(std::string_view key, FieldKind kind, std::span<const FieldBits> bits,
                       std::span<const std::string_view> items, std::span<const int> codes,
                       const Decode& decode) {
    Step& step = m_steps.emplace_back(Step{key, kind, bits, &decode});
    if (kind == FieldKind::Choice)
        step.choices = &m_codes->choices(items, codes);
    else
        step.numbers = &m_codes->numbers(decode, widthOf(bits));
}

// The number `stored` decodes to, printed into `kept` the first time.
// The hot paths below are inlined into append(): a value returned through
// memory and copied on in wider loads stalled every field on its store.
[[gnu::always_inline]] inline PrintValue FieldPrinter::printed(ShortNumber& kept, const Step& step,
                                                               StoredBits stored) {
    if (kept.size == 0) {
        const std::int64_t number = decodedNumber(*step.decode, stored);
        std::string text;
        appendJsonNumber(text, number);
        if (text.size() > kept.text.size())
            return number;
        std::copy(text.begin(), text.end(), kept.text.begin());
        kept.size = static_cast<std::uint8_t>(text.size());
    }
    return PrintedText{std::string_view(kept.text.data(), kept.size)};
}

// Most records of an export share their values: a byte's codes are decoded
// and printed once each, a word's once while it is among the recent ones.
[[gnu::always_inline]] inline PrintValue FieldPrinter::number(const Step& step,
                                                              std::span<const int> bytes) {
    const StoredBits stored = storedBitsOf(step.bits, bytes);
    if (stored.pastEnd)
        return decodedNumber(*step.decode, stored);
    PrintedCodes::Numbers& numbers = *step.numbers;
    if (numbers.byCode.empty()) {
        auto* slot = &numbers.recent[static_cast<std::size_t>(stored.value) & numbers.recentMask];
        if (slot->first != stored.value) {
            if (++numbers.misses > kFirstRecent && numbers.recentMask < kRecent - 1) {
                // The texts printed so far are written out with their records.
                numbers.recent.assign(kRecent, {-1, ShortNumber{}});
                numbers.recentMask = kRecent - 1;
                slot = &numbers.recent[static_cast<std::size_t>(stored.value) & numbers.recentMask];
            }
            *slot = {stored.value, ShortNumber{}};
        }
        return printed(slot->second, step, stored);
    }
    return printed(numbers.byCode[static_cast<std::size_t>(stored.value)], step, stored);
}

// A list prints the item whose code is stored, else the code; past the end
// of the image what its codec reads there: an item, a code, or nothing. An
// item's text is printed when first met: a skill list has hundreds of items
// in every slot, and a short export meets few of them.
[[gnu::always_inline]] inline PrintValue FieldPrinter::choice(const Step& step,
                                                              std::span<const int> bytes) {
    PrintedCodes::Choices& choices = *step.choices;
    const FieldBits& at = step.bits.front();
    if (at.byte < bytes.size() && bytes[at.byte] >= 0) {
        const int code = (bytes[at.byte] & at.mask) >> std::countr_zero(at.mask);
        const std::int16_t item = choices.itemOfCode[static_cast<std::size_t>(code)];
        if (item < 0)
            return std::int64_t{code};
        std::string& printed = choices.printedItems[static_cast<std::size_t>(item)];
        if (printed.empty()) // never empty once printed: a JSON text has its quotes
            appendJsonString(printed, choices.items[static_cast<std::size_t>(item)]);
        return PrintedText{printed};
    }
    const ListChoice choice = std::get<ListChoice>((*step.decode)(storedBitsOf(step.bits, bytes)));
    if (const auto index = choice.index())
        return choices.items[static_cast<std::size_t>(*index)];
    if (const auto code = choice.unlistedCode())
        return std::int64_t{*code};
    return nullptr;
}

void FieldPrinter::append(std::span<const int> bytes, std::vector<DottedValue>& out) {
    append(bytes, out, m_steps.size());
}

void FieldPrinter::append(std::span<const int> bytes, std::vector<DottedValue>& out,
                          std::size_t count) {
    for (const Step& step : std::span(m_steps).first(std::min(count, m_steps.size()))) {
        out.push_back({step.key, step.kind == FieldKind::Number ? number(step, bytes)
                                                                : choice(step, bytes)});
    }
}

} // namespace starfall::cli
