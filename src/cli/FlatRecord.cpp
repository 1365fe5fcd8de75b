#include "cli/FlatRecord.h"

#include <algorithm>

namespace starfall::cli {

using nlohmann::json;

void FlatRecord::start() {
    m_text.clear();
    m_key.clear();
    m_steps.clear();
    m_leaves.clear();
    m_frames.clear();
    m_flat = true;
    m_frames.push_back({false, 0, 0, 0, 0});
}

std::size_t FlatRecord::keep(std::string_view text) {
    const std::size_t at = m_text.size();
    m_text += text;
    return at;
}

void FlatRecord::key(std::string_view name) {
    Frame& frame = m_frames.back();
    // visitLeaves walks an object's keys in their order; keys in another
    // order would be visited otherwise than read.
    if (frame.items != 0 && !(text(frame.lastAt, frame.lastSize) < name))
        m_flat = false;
    frame.lastAt = keep(name);
    frame.lastSize = name.size();
    m_steps.push_back({Event::Key, frame.lastAt, frame.lastSize});
}

// The dotted key as visitLeaves spells it: list positions count from 1, and
// no dot follows an empty key.
void FlatRecord::nextItem() {
    Frame& frame = m_frames.back();
    ++frame.items;
    m_key.resize(frame.prefix);
    if (frame.prefix != 0)
        m_key += '.';
    if (frame.array)
        m_key += std::to_string(frame.items);
    else
        m_key += text(frame.lastAt, frame.lastSize);
}

void FlatRecord::scalar(json value) {
    nextItem();
    m_steps.push_back({Event::Value, m_leaves.size(), 0});
    m_leaves.push_back({keep(m_key), m_key.size(), m_frames.size() == 1, std::move(value)});
}

void FlatRecord::open(bool array) {
    nextItem();
    // The keys that name a record are looked up as values of their own.
    if (m_frames.size() == 1 && (m_key == "name" || m_key == "index" || m_key == "number"))
        m_flat = false;
    m_steps.push_back({array ? Event::OpenArray : Event::OpenObject, 0, 0});
    m_frames.push_back({array, m_key.size(), 0, 0, 0});
}

bool FlatRecord::close() {
    // An empty list or object leaves no leaf, yet import refuses it.
    if (m_frames.back().items == 0)
        m_flat = false;
    m_steps.push_back({Event::Close, 0, 0});
    m_frames.pop_back();
    return m_frames.empty();
}

const json* FlatRecord::top(std::string_view key) const {
    const auto found = std::find_if(m_leaves.begin(), m_leaves.end(), [&](const Leaf& leaf) {
        return leaf.top && text(leaf.at, leaf.size) == key;
    });
    return found == m_leaves.end() ? nullptr : &found->value;
}

namespace {

json& place(json& parent, const std::string& key, json value) {
    if (!parent.is_array())
        return parent[key] = std::move(value);
    parent.push_back(std::move(value));
    return parent.back();
}

} // namespace

json FlatRecord::whole() {
    json record = json::object();
    std::vector<json*> open{&record};
    std::string key;
    for (const Step& step : m_steps) {
        switch (step.event) {
        case Event::Key:
            key = text(step.at, step.size);
            break;
        case Event::Value:
            place(*open.back(), key, std::move(m_leaves[step.at].value));
            break;
        case Event::OpenObject:
        case Event::OpenArray:
            open.push_back(&place(*open.back(), key,
                                  step.event == Event::OpenArray ? json::array() : json::object()));
            break;
        case Event::Close:
            open.pop_back();
            break;
        }
    }
    return record;
}

} // namespace starfall::cli
