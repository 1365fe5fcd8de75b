#pragma once

// A record kind's field table with everything derived from it: the planned
// bytes (every offset a field names, ascending, the bytes before the record
// last, unless the kind reads a run of its own), their image positions through the kind's walker,
// decoding, encoding and the save plan. A save writes only the fields whose
// value differs from what the record was read as, and only their bits.

#include "core/codec/ByteCodec.h"
#include "core/io/ImageAccess.h"
#include "core/record/FieldTable.h"
#include "core/record/LoadedBytes.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace starfall {

// A field's bits among `bytes` (the planned bytes as read, kEndOfFile past
// the end of the image) as one number, a word's low byte first; a byte past
// the end counts as 0xFF.
[[nodiscard]] inline StoredBits storedBitsOf(std::span<const FieldBits> bits,
                                             std::span<const int> bytes) {
    StoredBits stored;
    int shift = 0;
    for (const FieldBits& at : bits) {
        const int byte = at.byte < bytes.size() ? bytes[at.byte] : kEndOfFile;
        stored.pastEnd = stored.pastEnd || byte == kEndOfFile;
        stored.value |= ((byteOr255(byte) & at.mask) >> std::countr_zero(at.mask)) << shift;
        // Most fields own whole bytes; a bit count is a library call on
        // processors of the build's baseline.
        shift += at.mask == 0xFF ? 8 : std::popcount(at.mask);
    }
    return stored;
}

template <typename Record> class RecordLayout {
public:
    RecordLayout() = default;
    // `planned`: the offsets the record reads, when they are more than its
    // fields name (a skill table reads every slot it finds).
    explicit RecordLayout(FieldTable<Record> fields, std::vector<RecordOffset> planned = {})
        : m_fields(std::move(fields)), m_offsets(std::move(planned)) {
        if (m_offsets.empty())
            m_offsets = namedOffsets();
        // Most tables name their bytes in ascending order: each is looked
        // for first just after the one before, so that a table of hundreds
        // of bytes does not search them all for each.
        std::size_t next = 0;
        for (Field<Record>& field : m_fields) {
            for (FieldBits& at : field.bits) {
                at.byte = next < m_offsets.size() && m_offsets[next] == at.offset
                              ? next
                              : indexOf(at.offset);
                next = at.byte + 1;
            }
        }
    }

    [[nodiscard]] const FieldTable<Record>& fields() const { return m_fields; }

    // The fields whose values differ between two readings of the planned
    // bytes, as the history of saves lists them.
    [[nodiscard]] std::vector<FieldChange> changes(std::span<const int> before,
                                                   std::span<const int> after) const {
        std::vector<FieldChange> changed;
        if (before.size() != after.size())
            return changed;
        for (const Field<Record>& field : m_fields) {
            std::string was = valueText(field, field.codec.decode(storedBits(field, before)));
            std::string now = valueText(field, field.codec.decode(storedBits(field, after)));
            if (was != now)
                changed.push_back({field.key, std::move(was), std::move(now)});
        }
        return changed;
    }
    [[nodiscard]] const std::vector<RecordOffset>& offsets() const { return m_offsets; }

    // The image position of each planned byte; `walk` maps an offset to its place.
    template <typename Walk> [[nodiscard]] std::vector<Position> positions(Walk walk) const {
        std::vector<Position> positions;
        positions.reserve(m_offsets.size());
        for (const RecordOffset offset : m_offsets)
            positions.push_back(walk(offset));
        return positions;
    }

    // The highest image position of a planned byte. Walkers keep the offsets'
    // order (a gap moves the bytes after it further on, never back past those
    // before it), so it is where the highest offset lies.
    template <typename Walk> [[nodiscard]] Position lastPosition(Walk walk) const {
        return walk(*std::max_element(m_offsets.begin(), m_offsets.end()));
    }

    // `shape` with every field taken from the planned bytes as read
    // (kEndOfFile past the end); the bytes are kept for the next save.
    [[nodiscard]] Record decode(std::span<const int> bytes, Record shape = {}) const {
        for (const Field<Record>& field : m_fields)
            field.set(shape, field.codec.decode(storedBits(field, bytes)));
        shape.loaded.bytes.assign(bytes.begin(), bytes.end());
        return shape;
    }

    // The planned bytes of the record: the bytes as read, each field's bits
    // put in; the bits no field owns stay as read (zero for a record never read).
    [[nodiscard]] std::vector<std::uint8_t> encode(const Record& record) const {
        std::vector<std::uint8_t> out(m_offsets.size(), 0);
        if (record.loaded.bytes.size() == out.size()) {
            std::transform(record.loaded.bytes.begin(), record.loaded.bytes.end(), out.begin(),
                           [](int byte) { return static_cast<std::uint8_t>(byteOr255(byte)); });
        }
        for (const Field<Record>& field : m_fields) {
            if (const auto value = field.codec.encode(field.get(record)))
                putBits(field, *value, out);
        }
        return out;
    }

    // The bits of every field whose value differs from what the record was
    // read as (every field, for a record never read) at `positions`. A list
    // showing no selection is left as stored.
    [[nodiscard]] std::vector<ByteWrite> savePlan(std::span<const Position> positions,
                                                  const Record& record) const {
        const bool read = record.loaded.bytes.size() == m_offsets.size();
        const Record asRead = read ? decode(record.loaded.bytes, record) : record;
        std::vector<std::uint8_t> masks(m_offsets.size(), 0);
        for (const Field<Record>& field : m_fields) {
            const FieldValue now = field.get(record);
            const auto* choice = std::get_if<ListChoice>(&now);
            if ((choice && choice->isNone()) || (read && field.get(asRead) == now))
                continue;
            for (const FieldBits& at : field.bits)
                masks[at.byte] |= at.mask;
        }
        const std::vector<std::uint8_t> encoded = encode(record);
        std::vector<ByteWrite> plan;
        for (std::size_t i = 0; i < positions.size() && i < masks.size(); ++i) {
            if (masks[i] != 0)
                plan.push_back({positions[i], encoded[i], masks[i]});
        }
        return plan;
    }

    // The first field whose value differs from what the record was read as
    // and lies outside the field's range (see valueInRange), or null. A save
    // of a record for which this is not null would store a wrapped number.
    [[nodiscard]] const Field<Record>* firstOutOfRange(const Record& record) const {
        const bool read = record.loaded.bytes.size() == m_offsets.size();
        const Record asRead = read ? decode(record.loaded.bytes, record) : record;
        for (const Field<Record>& field : m_fields) {
            const FieldValue now = field.get(record);
            if ((!read || field.get(asRead) != now) && !valueInRange(field, now))
                return &field;
        }
        return nullptr;
    }

    // The planned index of `offset`, or past the end for one not planned.
    [[nodiscard]] std::size_t indexOf(RecordOffset offset) const {
        const auto found = std::find(m_offsets.begin(), m_offsets.end(), offset);
        if (found == m_offsets.end())
            throw std::logic_error("a field lies outside its record's planned bytes");
        return static_cast<std::size_t>(found - m_offsets.begin());
    }

private:
    [[nodiscard]] std::vector<RecordOffset> namedOffsets() const {
        std::vector<RecordOffset> offsets;
        for (const Field<Record>& field : m_fields) {
            for (const FieldBits& at : field.bits)
                offsets.push_back(at.offset);
        }
        // The record's own bytes first: a refusal names the first bad one.
        std::sort(offsets.begin(), offsets.end(), [](RecordOffset a, RecordOffset b) {
            return std::pair(a < 0, a) < std::pair(b < 0, b);
        });
        offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
        return offsets;
    }

    // A list choice as its item's text, or its stored code as a number.
    static std::string valueText(const Field<Record>& field, const FieldValue& value) {
        if (const auto* text = std::get_if<std::string>(&value))
            return *text;
        const ListChoice& choice = std::get<ListChoice>(value);
        if (const auto index = choice.index(); index && *index < static_cast<int>(field.items.size()))
            return std::string(field.items[static_cast<std::size_t>(*index)]);
        if (const auto index = choice.index(); index && *index < static_cast<int>(field.codes.size()))
            return std::to_string(field.codes[static_cast<std::size_t>(*index)]);
        return choice.unlistedCode() ? std::to_string(*choice.unlistedCode()) : std::string();
    }

    static StoredBits storedBits(const Field<Record>& field, std::span<const int> bytes) {
        return storedBitsOf(field.bits, bytes);
    }

    static void putBits(const Field<Record>& field, int value, std::vector<std::uint8_t>& out) {
        for (const FieldBits& at : field.bits) {
            const int low = std::countr_zero(at.mask);
            std::uint8_t& byte = out[at.byte];
            byte = static_cast<std::uint8_t>((byte & ~at.mask) | ((value << low) & at.mask));
            value >>= std::popcount(at.mask);
        }
    }

    FieldTable<Record> m_fields;
    std::vector<RecordOffset> m_offsets;
};

// After a save has written `plan`, the record counts as read from what is now
// in the image, so that the next save compares against it.
void noteSaved(LoadedBytes& loaded, std::span<const Position> positions,
               std::span<const ByteWrite> plan);

// A record save: the whole record must lie where the image can be addressed
// (a record the image cannot hold is refused even when nothing changed), then
// the plan is written and the record counts as read from what it wrote.
SaveReport writeRecordSave(const std::string& path, std::span<const Position> positions,
                           std::span<const ByteWrite> plan, LoadedBytes& loaded,
                           std::string_view record, CodeRule codes = CodeRule::Refresh,
                           std::vector<FieldChange> fields = {});

// The same, naming in the history the fields that `layout` sees change.
template <typename Record>
SaveReport writeRecordSave(const std::string& path, const RecordLayout<Record>& layout,
                           std::span<const Position> positions, std::span<const ByteWrite> plan,
                           LoadedBytes& loaded, std::string_view record,
                           CodeRule codes = CodeRule::Refresh) {
    LoadedBytes after = loaded;
    noteSaved(after, positions, plan);
    return writeRecordSave(path, positions, plan, loaded, record, codes,
                           layout.changes(loaded.bytes, after.bytes));
}

} // namespace starfall
