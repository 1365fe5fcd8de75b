#include "cli/DottedValues.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace starfall::cli {

namespace {

using Part = NestedWriter::Part;

bool isPosition(const Part& part) {
    return part.position != 0;
}

bool samePart(const Part& a, const Part& b) {
    return isPosition(a) ? a.position == b.position : !isPosition(b) && a.text == b.text;
}

// As setAtPath reads a part: digits making a number from 1 are a position.
Part partOf(std::string_view text) {
    std::size_t position = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return {text, 0}; // most parts are names
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (error != std::errc() || end != text.data() + text.size())
        position = 0;
    return {text, position};
}

} // namespace

bool NestedWriter::Plan::sameKeys(std::span<const DottedValue> values, std::size_t at) const {
    return at == depth && values.size() == keys.size() &&
           std::equal(
               values.begin(), values.end(), keys.begin(),
               [](const DottedValue& value, const std::string& key) { return value.key == key; });
}

namespace {

// Keys print in the order of their parts: positions before names, each in
// order; the nested object prints its keys sorted as strings and its lists
// by position. Where the two mix, writing is refused anyway; this only keeps
// the order total. A part is written here so that comparing two keys' bytes
// gives that order: a position as a mark and eight bytes from the highest, a
// name as a later mark, its text and a zero byte (no key holds one), so that
// a name sorts before the longer names it begins.
void appendSortBytes(std::string& out, const Part& part) {
    if (isPosition(part)) {
        std::array<char, 9> bytes{'\x01'};
        for (std::size_t i = 1; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((part.position >> (8 * (bytes.size() - 1 - i))) & 0xFF);
        out.append(bytes.data(), bytes.size());
    } else {
        out += '\x02';
        out += part.text;
        out += '\0';
    }
}

// A key's parts, its sort bytes, and which of the given values it is.
struct Keyed {
    std::size_t first;
    std::size_t count;
    std::size_t sortAt;
    std::size_t sortSize;
    std::size_t value;
};

// The parts of every key, and the keys in print order.
struct SortedKeys {
    std::vector<Part> parts;
    std::vector<Keyed> sorted;

    explicit SortedKeys(std::span<const DottedValue> values);
    [[nodiscard]] std::span<const Part> partsOf(const Keyed& keyed) const {
        return std::span<const Part>(parts).subspan(keyed.first, keyed.count);
    }
};

// Each comparison of the sort is one comparison of bytes, where comparing
// keys part by part cost more than all the rest of working out a plan.
SortedKeys::SortedKeys(std::span<const DottedValue> values) {
    std::string sortBytes;
    std::size_t keyBytes = 0;
    for (const DottedValue& value : values)
        keyBytes += value.key.size();
    sortBytes.reserve(keyBytes + 8 * values.size());
    parts.reserve(2 * values.size());
    sorted.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t first = parts.size();
        const std::size_t sortAt = sortBytes.size();
        std::string_view rest = values[i].key;
        while (true) {
            const std::size_t dot = rest.find('.');
            appendSortBytes(sortBytes, parts.emplace_back(partOf(rest.substr(0, dot))));
            if (dot == std::string_view::npos)
                break;
            rest.remove_prefix(dot + 1);
        }
        sorted.push_back({first, parts.size() - first, sortAt, sortBytes.size() - sortAt, i});
    }
    const auto bytesOf = [&sortBytes](const Keyed& keyed) {
        return std::string_view(sortBytes.data() + keyed.sortAt, keyed.sortSize);
    };
    std::sort(sorted.begin(), sorted.end(),
              [&](const Keyed& a, const Keyed& b) { return bytesOf(a) < bytesOf(b); });
}

// Writes the object's keys and brackets to `out` in print order, calling
// `value` where each value goes; false where the keys make no plain tree.
template <typename AtValue>
bool walk(const SortedKeys& keys, JsonStream& out, const AtValue& value) {
    // The open containers below the top object: is it a list, and the
    // position its last element had.
    struct Open {
        bool list;
        std::size_t last;
    };
    std::vector<Open> open;
    std::span<const Part> previous;
    out.beginObject();
    for (const Keyed& keyed : keys.sorted) {
        const std::span<const Part> path = keys.partsOf(keyed);
        std::size_t common = 0;
        while (common < path.size() && common < previous.size() &&
               samePart(path[common], previous[common]))
            ++common;
        // Equal keys, or a key inside another's value.
        if (!previous.empty() && (common == path.size() || common == previous.size()))
            return false;
        for (; open.size() > common; open.pop_back())
            open.back().list ? out.endArray() : out.endObject();
        for (std::size_t depth = common; depth < path.size(); ++depth) {
            const Part& part = path[depth];
            const bool inList = !open.empty() && open.back().list;
            if (isPosition(part) != inList)
                return false;
            if (inList) {
                if (part.position != open.back().last + 1)
                    return false;
                open.back().last = part.position;
            } else {
                out.key(part.text);
            }
            if (depth + 1 == path.size())
                break;
            const bool list = isPosition(path[depth + 1]);
            open.push_back({list, 0});
            list ? out.beginArray() : out.beginObject();
        }
        value(keyed.value);
        previous = path;
    }
    for (; !open.empty(); open.pop_back())
        open.back().list ? out.endArray() : out.endObject();
    out.endObject();
    return true;
}

} // namespace

void NestedWriter::Plan::make(std::span<const DottedValue> values, std::size_t at,
                              const void* set) {
    keys.clear();
    if (set == nullptr) {
        for (const DottedValue& value : values)
            keys.emplace_back(value.key);
    }
    keySet = set;
    depth = at;
    steps.clear();
    steps.reserve(values.size());
    JsonStream printed(at);
    std::size_t stepAt = 0;
    plain = walk(SortedKeys(values), printed, [&](std::size_t value) {
        printed.beginPlaced();
        const std::size_t end = printed.size();
        steps.push_back({stepAt, end - stepAt, value, printed.depth()});
        stepAt = end;
    });
    afterAt = stepAt;
    text = printed.takeText();
}

// Unnamed keys are compared key by key, so a handful keeps a look-up short.
constexpr std::size_t kPlansKept = 16;

const NestedWriter::Plan& NestedWriter::planFor(std::span<const DottedValue> values,
                                                std::size_t depth, const void* keySet) {
    // Named sets never give way: a caller names few (an export seven: one
    // per kind of record and of pilot, and a skill table's slots), and meets
    // them in any order.
    if (keySet != nullptr) {
        for (const Plan& plan : m_named) {
            if (plan.keySet == keySet && plan.depth == depth)
                return plan;
        }
        Plan& plan = m_named.emplace_back();
        plan.make(values, depth, keySet);
        return plan;
    }
    for (const Plan& plan : m_plans) {
        if (plan.sameKeys(values, depth))
            return plan;
    }
    m_plans.reserve(kPlansKept);
    Plan& plan =
        m_plans.size() < kPlansKept ? m_plans.emplace_back() : m_plans[m_next++ % kPlansKept];
    plan.make(values, depth, nullptr);
    return plan;
}

bool NestedWriter::write(JsonStream& out, std::span<const DottedValue> values) {
    return write(out, values, nullptr);
}

bool NestedWriter::write(JsonStream& out, std::span<const DottedValue> values, const void* keySet) {
    const Plan& plan = planFor(values, out.depth(), keySet);
    if (!plan.plain)
        return false;
    out.beginPlaced();
    const char* text = plan.text.data();
    for (const Step& step : plan.steps)
        out.placedAfter({text + step.beforeAt, step.beforeSize}, values[step.value].value,
                        step.depth);
    out.raw({text + plan.afterAt, plan.text.size() - plan.afterAt});
    return true;
}

bool writeNested(JsonStream& out, std::span<const DottedValue> values) {
    return NestedWriter().write(out, values);
}

} // namespace starfall::cli
