#include "cli/RecordView.h"

#include <algorithm>
#include <charconv>

namespace starfall::cli {

namespace {

std::optional<std::size_t> listPosition(std::string_view part) {
    std::size_t position = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), position);
    if (part.empty() || error != std::errc() || end != part.data() + part.size() || position == 0)
        return std::nullopt;
    return position - 1;
}

} // namespace

void setAtPath(nlohmann::json& json, std::string_view key, nlohmann::json value) {
    nlohmann::json* at = &json;
    while (!key.empty()) {
        const std::size_t dot = key.find('.');
        const std::string_view part = key.substr(0, dot);
        key = dot == std::string_view::npos ? std::string_view() : key.substr(dot + 1);
        if (const auto index = listPosition(part)) {
            if (!at->is_array())
                *at = nlohmann::json::array();
            while (at->size() <= *index)
                at->push_back(nullptr);
            at = &(*at)[*index];
        } else {
            if (!at->is_object())
                *at = nlohmann::json::object();
            auto found = at->find(part); // no key string made for a part already there
            at = found != at->end() ? &*found : &(*at)[std::string(part)];
        }
    }
    *at = std::move(value);
}

namespace {

using LeafVisit = std::function<void(const std::string&, const nlohmann::json&)>;

// `key` holds the dotted key of `json` and is given back as it came.
void visitUnder(const nlohmann::json& json, std::string& key, const LeafVisit& visit) {
    const std::size_t length = key.size();
    const auto under = [&](std::string_view part) {
        if (length != 0)
            key += '.';
        key += part;
    };
    if (json.is_object()) {
        for (const auto& [part, value] : json.items()) {
            under(part);
            visitUnder(value, key, visit);
            key.resize(length);
        }
    } else if (json.is_array()) {
        for (std::size_t i = 0; i < json.size(); ++i) {
            under(std::to_string(i + 1));
            visitUnder(json[i], key, visit);
            key.resize(length);
        }
    } else {
        visit(key, json);
    }
}

} // namespace

void visitLeaves(const nlohmann::json& json, const LeafVisit& visit) {
    std::string key;
    visitUnder(json, key, visit);
}

void overlay(LoadedBytes& loaded, std::span<const Position> positions,
             std::span<const ByteRun> runs) {
    if (loaded.bytes.size() != positions.size())
        return;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Position at = positions[i];
        // The last run starting at or before `at`.
        const auto after =
            std::upper_bound(runs.begin(), runs.end(), at,
                             [](Position p, const ByteRun& run) { return p < run.start; });
        if (after == runs.begin())
            continue;
        const ByteRun& run = *std::prev(after);
        if (at < run.start + static_cast<Position>(run.bytes.size()))
            loaded.bytes[i] = run.bytes[static_cast<std::size_t>(at - run.start)];
    }
}

nlohmann::json RecordView::json() const {
    nlohmann::json out = nlohmann::json::object();
    for (const nlohmann::json* flat : {&fixed(), &m_shown}) {
        for (const auto& [key, value] : flat->items())
            setAtPath(out, key, value);
    }
    visitValues([&out](const std::string& key, nlohmann::json value) {
        setAtPath(out, key, std::move(value));
    });
    return out;
}

void RecordView::write(JsonStream& out, NestedWriter& writer) const {
    std::vector<DottedValue>& values = writer.scratch();
    values.clear();
    for (const nlohmann::json* flat : {&fixed(), &m_shown}) {
        for (auto item = flat->begin(); item != flat->end(); ++item)
            values.push_back({item.key(), PrintValue(*item)});
    }
    visitPrinted([&values](std::string_view key, PrintValue value) {
        values.push_back({key, value});
    });
    if (!writer.write(out, values))
        out.value(json());
}

} // namespace starfall::cli
