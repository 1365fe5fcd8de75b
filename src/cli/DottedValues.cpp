#include "cli/DottedValues.h"

#include <algorithm>
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
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        position = 0;
    return {text, position};
}

// Positions before names, each in order; the nested object prints its keys
// sorted as strings and its lists by position. Where the two mix, writing
// is refused anyway; this only keeps the order total.
bool partBefore(const Part& a, const Part& b) {
    if (isPosition(a) != isPosition(b))
        return isPosition(a);
    return isPosition(a) ? a.position < b.position : a.text < b.text;
}

} // namespace

bool NestedWriter::sameKeys(std::span<const DottedValue> values) const {
    return values.size() == m_keys.size() &&
           std::equal(
               values.begin(), values.end(), m_keys.begin(),
               [](const DottedValue& value, const std::string& key) { return value.key == key; });
}

void NestedWriter::plan(std::span<const DottedValue> values) {
    m_keys.clear();
    m_parts.clear();
    m_sorted.clear();
    m_keys.reserve(values.size()); // no string moves once the parts view them
    for (const DottedValue& value : values)
        m_keys.emplace_back(value.key);
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const std::size_t first = m_parts.size();
        std::string_view rest = m_keys[i];
        while (true) {
            const std::size_t dot = rest.find('.');
            m_parts.push_back(partOf(rest.substr(0, dot)));
            if (dot == std::string_view::npos)
                break;
            rest.remove_prefix(dot + 1);
        }
        m_sorted.push_back({first, m_parts.size() - first, i});
    }
    std::sort(m_sorted.begin(), m_sorted.end(), [this](const Keyed& a, const Keyed& b) {
        const auto left = parts(a);
        const auto right = parts(b);
        return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                            partBefore);
    });
    m_plain = walk(nullptr, values);
}

std::span<const Part> NestedWriter::parts(const Keyed& keyed) const {
    return std::span<const Part>(m_parts).subspan(keyed.first, keyed.count);
}

// Walks the values in print order, writing to `out` when given.
bool NestedWriter::walk(JsonStream* out, std::span<const DottedValue> values) const {
    // The open containers below the top object: is it a list, and the
    // position its last element had.
    struct Open {
        bool list;
        std::size_t last;
    };
    std::vector<Open> open;
    std::span<const Part> previous;
    if (out)
        out->beginObject();
    for (const Keyed& keyed : m_sorted) {
        const std::span<const Part> path = parts(keyed);
        std::size_t common = 0;
        while (common < path.size() && common < previous.size() &&
               samePart(path[common], previous[common]))
            ++common;
        // Equal keys, or a key inside another's value.
        if (!previous.empty() && (common == path.size() || common == previous.size()))
            return false;
        for (; open.size() > common; open.pop_back()) {
            if (out)
                open.back().list ? out->endArray() : out->endObject();
        }
        for (std::size_t depth = common; depth < path.size(); ++depth) {
            const Part& part = path[depth];
            const bool inList = !open.empty() && open.back().list;
            if (isPosition(part) != inList)
                return false;
            if (inList) {
                if (part.position != open.back().last + 1)
                    return false;
                open.back().last = part.position;
            } else if (out) {
                out->key(part.text);
            }
            if (depth + 1 == path.size())
                break;
            const bool list = isPosition(path[depth + 1]);
            open.push_back({list, 0});
            if (out)
                list ? out->beginArray() : out->beginObject();
        }
        if (out)
            out->value(values[keyed.value].value);
        previous = path;
    }
    for (; !open.empty(); open.pop_back()) {
        if (out)
            open.back().list ? out->endArray() : out->endObject();
    }
    if (out)
        out->endObject();
    return true;
}

bool NestedWriter::write(JsonStream& out, std::span<const DottedValue> values) {
    if (!sameKeys(values))
        plan(values);
    return m_plain && walk(&out, values);
}

bool writeNested(JsonStream& out, std::span<const DottedValue> values) {
    return NestedWriter().write(out, values);
}

} // namespace starfall::cli
