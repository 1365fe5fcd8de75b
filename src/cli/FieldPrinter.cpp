#include "cli/FieldPrinter.h"

#include "core/codec/TextNumbers.h"
#include "core/record/RecordLayout.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace starfall::cli {

namespace {

constexpr int kCodes = 256; // a list field's bits lie in one byte
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

void FieldPrinter::add(std::string_view key, FieldKind kind, std::span<const FieldBits> bits,
                       std::span<const std::string_view> items, std::span<const int> codes,
                       const Decode& decode) {
    Step& step = m_steps.emplace_back(Step{key, kind, bits, items, codes, &decode, {}, {}, {}, {}});
    if (kind == FieldKind::Choice) {
        step.itemOfCode.assign(kCodes, -1);
        // The first item stored as a code is the one it reads as.
        for (std::size_t item = codes.size(); item-- > 0;) {
            if (codes[item] >= 0 && codes[item] < kCodes)
                step.itemOfCode[static_cast<std::size_t>(codes[item])] =
                    static_cast<std::int16_t>(item);
        }
        step.printedItems.resize(items.size());
    } else if (const int width = widthOf(bits); width <= 8) {
        step.numbers.resize(std::size_t{1} << width);
    } else {
        step.recent.assign(kRecent, {-1, ShortNumber{}});
    }
}

// The number `stored` decodes to, printed into `kept` the first time.
PrintValue FieldPrinter::printed(ShortNumber& kept, const Step& step, StoredBits stored) {
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
PrintValue FieldPrinter::number(Step& step, std::span<const int> bytes) {
    const StoredBits stored = storedBitsOf(step.bits, bytes);
    if (stored.pastEnd)
        return decodedNumber(*step.decode, stored);
    if (step.numbers.empty()) {
        auto& [code, kept] = step.recent[static_cast<std::size_t>(stored.value) % kRecent];
        if (code != stored.value) {
            kept = ShortNumber{};
            code = stored.value;
        }
        return printed(kept, step, stored);
    }
    return printed(step.numbers[static_cast<std::size_t>(stored.value)], step, stored);
}

// A list prints the item whose code is stored, else the code; past the end
// of the image what its codec reads there: an item, a code, or nothing. An
// item's text is printed when first met: a skill list has hundreds of items
// in every slot, and a short export meets few of them.
PrintValue FieldPrinter::choice(Step& step, std::span<const int> bytes) {
    const FieldBits& at = step.bits.front();
    if (at.byte < bytes.size() && bytes[at.byte] >= 0) {
        const int code = (bytes[at.byte] & at.mask) >> std::countr_zero(at.mask);
        const std::int16_t item = step.itemOfCode[static_cast<std::size_t>(code)];
        if (item < 0)
            return std::int64_t{code};
        std::string& printed = step.printedItems[static_cast<std::size_t>(item)];
        if (printed.empty()) // never empty once printed: a JSON text has its quotes
            appendJsonString(printed, step.items[static_cast<std::size_t>(item)]);
        return PrintedText{printed};
    }
    const ListChoice choice = std::get<ListChoice>((*step.decode)(storedBitsOf(step.bits, bytes)));
    if (const auto index = choice.index())
        return step.items[static_cast<std::size_t>(*index)];
    if (const auto code = choice.unlistedCode())
        return std::int64_t{*code};
    return nullptr;
}

void FieldPrinter::append(std::span<const int> bytes, std::vector<DottedValue>& out) {
    for (Step& step : m_steps) {
        out.push_back({step.key, step.kind == FieldKind::Number ? number(step, bytes)
                                                                : choice(step, bytes)});
    }
}

} // namespace starfall::cli
