#include "cli/DottedValues.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace starfall::cli {

namespace {

// One part of a dotted key: an object's key, or a list position (from 1).
struct Part {
    std::string_view text;
    std::size_t position = 0; // 0: a name

    [[nodiscard]] bool isPosition() const { return position != 0; }
    bool operator==(const Part& other) const {
        return isPosition() ? position == other.position
                            : !other.isPosition() && text == other.text;
    }
};

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
    if (a.isPosition() != b.isPosition())
        return a.isPosition();
    return a.isPosition() ? a.position < b.position : a.text < b.text;
}

struct Keyed {
    std::size_t first; // into the parts
    std::size_t count;
    DottedValue* value;
};

class NestedWriter {
public:
    explicit NestedWriter(std::span<DottedValue> values) {
        for (DottedValue& value : values) {
            const std::size_t first = m_parts.size();
            std::string_view rest = value.key;
            while (true) {
                const std::size_t dot = rest.find('.');
                m_parts.push_back(partOf(rest.substr(0, dot)));
                if (dot == std::string_view::npos)
                    break;
                rest.remove_prefix(dot + 1);
            }
            m_keyed.push_back({first, m_parts.size() - first, &value});
        }
        std::sort(m_keyed.begin(), m_keyed.end(), [this](const Keyed& a, const Keyed& b) {
            return std::lexicographical_compare(parts(a).begin(), parts(a).end(),
                                                parts(b).begin(), parts(b).end(), partBefore);
        });
    }

    // Walks the values in print order, writing to `out` when given.
    [[nodiscard]] bool walk(JsonStream* out) const {
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
        for (const Keyed& keyed : m_keyed) {
            const std::span<const Part> path = parts(keyed);
            std::size_t common = 0;
            while (common < path.size() && common < previous.size() &&
                   path[common] == previous[common])
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
                if (part.isPosition() != inList)
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
                const bool list = path[depth + 1].isPosition();
                open.push_back({list, 0});
                if (out)
                    list ? out->beginArray() : out->beginObject();
            }
            if (out)
                out->value(keyed.value->value);
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

private:
    [[nodiscard]] std::span<const Part> parts(const Keyed& keyed) const {
        return std::span<const Part>(m_parts).subspan(keyed.first, keyed.count);
    }

    std::vector<Part> m_parts;
    std::vector<Keyed> m_keyed;
};

} // namespace

bool writeNested(JsonStream& out, std::span<DottedValue> values) {
    const NestedWriter writer(values);
    if (!writer.walk(nullptr))
        return false;
    return writer.walk(&out);
}

} // namespace starfall::cli
