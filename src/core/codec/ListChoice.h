#pragma once

#include <optional>

namespace starfall {

// What a drop-down or tick list shows for a stored code: one of its items, no
// selection, or a stored code that no item stands for. An unlisted code is
// kept so that a save writes it back unchanged unless the user picks an item.
class ListChoice {
public:
    [[nodiscard]] static ListChoice none() { return {}; }
    [[nodiscard]] static ListChoice item(int index) { return ListChoice(index, std::nullopt); }
    [[nodiscard]] static ListChoice unlisted(int code) { return ListChoice(std::nullopt, code); }

    [[nodiscard]] bool isNone() const { return !m_index && !m_unlisted; }
    [[nodiscard]] std::optional<int> index() const { return m_index; }
    [[nodiscard]] std::optional<int> unlistedCode() const { return m_unlisted; }
    // The item index, or -1 for anything else (the controls' "no selection").
    [[nodiscard]] int indexOr(int fallback = -1) const { return m_index.value_or(fallback); }

    bool operator==(const ListChoice&) const = default;

private:
    ListChoice() = default;
    ListChoice(std::optional<int> index, std::optional<int> unlisted)
        : m_index(index), m_unlisted(unlisted) {}

    std::optional<int> m_index;
    std::optional<int> m_unlisted;
};

} // namespace starfall
