#pragma once

// One record of an image as the command line handles it, whatever its kind:
// what names it, its fields' values as JSON, and how to change them and plan
// the save. `get`, `set`, `export`, `import` and `diff` all go through it.

#include "cli/DottedValues.h"
#include "cli/FieldValues.h"
#include "cli/JsonStream.h"
#include "cli/ValueMatch.h"
#include "core/record/RecordLayout.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace starfall::cli {

class RecordView {
public:
    virtual ~RecordView() = default;

    // The values printed but not stored that say which record this is and
    // where it lies (name, index, position, ...), as one flat object of
    // dotted keys. An import must match them. Made the first time asked for:
    // a diff or an import names only the records it changes, and a name's
    // decoding cost a fifth of reading a record.
    [[nodiscard]] const nlohmann::json& fixed() const {
        if (!m_fixed)
            m_fixed = m_makeFixed ? m_makeFixed() : nlohmann::json::object();
        return *m_fixed;
    }
    // Further values printed but never written (a locked skill slot), flat.
    [[nodiscard]] const nlohmann::json& shown() const { return m_shown; }
    // Why this record lacks a key its kind of record can have (a StatsOnly
    // pilot's spirits, a locked or missing skill slot), or nothing.
    [[nodiscard]] std::optional<std::string> lacks(std::string_view key) const {
        return m_lacks ? m_lacks(key) : std::nullopt;
    }
    // What a message calls the record (UTF-8), worked out the first time it
    // is asked for: most records are printed without one.
    [[nodiscard]] const std::string& label() const {
        if (!m_labelText)
            m_labelText = m_label();
        return *m_labelText;
    }

    [[nodiscard]] virtual std::vector<std::string> keys() const = 0;
    // Every field's key and value as read, in table order.
    virtual void visitValues(
        const std::function<void(const std::string& key, nlohmann::json value)>& visit) const = 0;
    // The same, as values to print that view the record (valid while it is).
    virtual void visitPrinted(
        const std::function<void(std::string_view key, PrintValue value)>& visit) const = 0;
    [[nodiscard]] virtual bool hasKey(std::string_view key) const = 0;
    // The field's value as read.
    [[nodiscard]] virtual nlohmann::json value(std::string_view key) const = 0;
    // Whether the field reads as `value` (value(key) == value) at one look-up
    // of the key, without building its value; nothing for no such field.
    [[nodiscard]] virtual std::optional<bool> holds(std::string_view key,
                                                    const nlohmann::json& value) const = 0;
    // A command-line VALUE for the field as JSON (see argumentJson).
    [[nodiscard]] virtual nlohmann::json argument(std::string_view key, std::string_view text,
                                                  ValueRule rule) const = 0;
    // Puts a value into the record; throws UsageError naming `where`.
    virtual void assign(std::string_view key, const nlohmann::json& value, ValueRule rule,
                        std::string_view where) = 0;
    // The bytes a save of the record as assigned writes.
    [[nodiscard]] virtual std::vector<ByteWrite> savePlan() const = 0;
    // The record as it will read back once `savePlan()` is written.
    [[nodiscard]] virtual std::unique_ptr<RecordView> afterSave() const = 0;
    // The image positions of the record's bytes, in planned order.
    [[nodiscard]] virtual std::vector<Position> positions() const = 0;
    // The record as it reads once `runs` (sorted, disjoint) are in the image.
    [[nodiscard]] virtual std::unique_ptr<RecordView>
    withBytes(std::span<const ByteRun> runs) const = 0;
    // The record with its values as they are now, to change apart from this
    // one (without decoding its bytes again).
    [[nodiscard]] virtual std::unique_ptr<RecordView> copy() const = 0;
    // Whether `other` surely holds every value this record holds: both read
    // the same bytes through the same fields, and neither was assigned since.
    // Comparing bytes stands in for comparing values, which builds each one.
    [[nodiscard]] virtual bool readsAlike(const RecordView& other) const = 0;

    // The fixed values and every field's value, nested as `get` prints them.
    [[nodiscard]] nlohmann::json json() const;
    // The same value written to `out` by `writer`, without building it.
    void write(JsonStream& out, NestedWriter& writer) const;

    struct Naming {
        std::function<nlohmann::json()> fixed; // none: no fixed values
        nlohmann::json shown = nlohmann::json::object();
        std::function<std::string()> label;
        std::function<std::optional<std::string>(std::string_view)> lacks;
    };

protected:
    explicit RecordView(Naming naming)
        : m_makeFixed(std::move(naming.fixed)), m_shown(std::move(naming.shown)),
          m_label(std::move(naming.label)), m_lacks(std::move(naming.lacks)) {}
    [[nodiscard]] Naming naming() const { return {m_makeFixed, m_shown, m_label, m_lacks}; }

private:
    std::function<nlohmann::json()> m_makeFixed;
    mutable std::optional<nlohmann::json> m_fixed;
    nlohmann::json m_shown;
    std::function<std::string()> m_label;
    mutable std::optional<std::string> m_labelText;
    std::function<std::optional<std::string>(std::string_view)> m_lacks;
};

// Sets `json` at a dotted key, numeric parts counting list positions from 1.
void setAtPath(nlohmann::json& json, std::string_view key, nlohmann::json value);
// Every leaf of a JSON value under its dotted key (the inverse of
// setAtPath), handed to `visit` in order, without a copy.
void visitLeaves(
    const nlohmann::json& json,
    const std::function<void(const std::string& key, const nlohmann::json& leaf)>& visit);

// Puts the bytes of `runs` (sorted, disjoint) into `loaded` at the record's
// positions, as a load after writing them would read them.
void overlay(LoadedBytes& loaded, std::span<const Position> positions,
             std::span<const ByteRun> runs);

// How one kind of record is read, planned and read back.
template <typename Record> struct RecordKindOps {
    // The record's table: a kind's shared one, or one made for this record.
    std::function<std::shared_ptr<const FieldTable<Record>>(const Record&)> fields;
    std::function<std::vector<Position>(const Record&)> positions;
    std::function<std::vector<ByteWrite>(const Record&)> plan;
    std::function<Record(const Record& shape, std::span<const int> bytes)> decode;
};

template <typename Record> class TableRecordView final : public RecordView {
public:
    TableRecordView(Record record, RecordKindOps<Record> ops, Naming naming)
        : RecordView(std::move(naming)), m_record(std::move(record)), m_ops(std::move(ops)),
          m_fields(m_ops.fields(m_record)) {}

    [[nodiscard]] std::vector<std::string> keys() const override {
        std::vector<std::string> keys;
        for (const Field<Record>& field : *m_fields)
            keys.push_back(field.key);
        return keys;
    }
    void visitValues(
        const std::function<void(const std::string&, nlohmann::json)>& visit) const override {
        for (const Field<Record>& field : *m_fields)
            visit(field.key, valueOf(field));
    }
    void
    visitPrinted(const std::function<void(std::string_view, PrintValue)>& visit) const override {
        const bool loaded = !m_record.loaded.bytes.empty();
        for (const Field<Record>& field : *m_fields)
            visit(field.key, valuePrinted(shapeOf(field), field.get(m_record),
                                          field.storedCode(m_record.loaded.bytes), loaded));
    }
    [[nodiscard]] bool hasKey(std::string_view key) const override { return find(key) != nullptr; }
    [[nodiscard]] nlohmann::json value(std::string_view key) const override {
        return valueOf(at(key));
    }
    [[nodiscard]] std::optional<bool> holds(std::string_view key,
                                            const nlohmann::json& value) const override {
        const Field<Record>* field = find(key);
        if (field == nullptr)
            return std::nullopt;
        return valueJsonEquals(shapeOf(*field), field->get(m_record),
                               field->storedCode(m_record.loaded.bytes),
                               !m_record.loaded.bytes.empty(), value);
    }
    [[nodiscard]] nlohmann::json argument(std::string_view key, std::string_view text,
                                          ValueRule rule) const override {
        return argumentJson(shapeOf(at(key)), text, rule);
    }
    void assign(std::string_view key, const nlohmann::json& value, ValueRule rule,
                std::string_view where) override {
        const Field<Record>& field = at(key);
        field.set(m_record, fieldValueOf(shapeOf(field), value, rule, where));
        m_assigned = true;
    }
    [[nodiscard]] std::vector<ByteWrite> savePlan() const override { return m_ops.plan(m_record); }
    [[nodiscard]] std::unique_ptr<RecordView> afterSave() const override {
        LoadedBytes after = m_record.loaded;
        noteSaved(after, positions(), savePlan());
        return reading(after);
    }
    [[nodiscard]] std::vector<Position> positions() const override {
        return m_ops.positions(m_record);
    }
    [[nodiscard]] std::unique_ptr<RecordView>
    withBytes(std::span<const ByteRun> runs) const override {
        LoadedBytes after = m_record.loaded;
        overlay(after, positions(), runs);
        return reading(after);
    }
    [[nodiscard]] std::unique_ptr<RecordView> copy() const override {
        return std::make_unique<TableRecordView>(*this);
    }
    [[nodiscard]] bool readsAlike(const RecordView& other) const override {
        const auto* same = dynamic_cast<const TableRecordView*>(&other);
        return same != nullptr && !m_assigned && !same->m_assigned && m_fields == same->m_fields &&
               !m_record.loaded.bytes.empty() &&
               m_record.loaded.bytes == same->m_record.loaded.bytes;
    }

private:
    [[nodiscard]] nlohmann::json valueOf(const Field<Record>& field) const {
        return valueJson(shapeOf(field), field.get(m_record),
                         field.storedCode(m_record.loaded.bytes), !m_record.loaded.bytes.empty());
    }
    [[nodiscard]] std::unique_ptr<RecordView> reading(const LoadedBytes& bytes) const {
        return std::make_unique<TableRecordView>(m_ops.decode(m_record, bytes.bytes), m_ops,
                                                 naming());
    }
    [[nodiscard]] const Field<Record>* find(std::string_view key) const {
        return findField(*m_fields, key);
    }
    [[nodiscard]] const Field<Record>& at(std::string_view key) const {
        const Field<Record>* field = find(key);
        if (field == nullptr)
            throw std::logic_error("no field " + std::string(key));
        return *field;
    }

    Record m_record;
    RecordKindOps<Record> m_ops;
    std::shared_ptr<const FieldTable<Record>> m_fields;
    bool m_assigned = false; // values set since the bytes were read
};

} // namespace starfall::cli
