// Every field of every record kind, on the demo and on the demo with every
// record byte randomised: set the field to another value and save; only that
// field's bits change, it reads back, every other field of the record keeps its
// value, and no byte of another record or weapon list moves.

#include "core/demo/DemoBuilder.h"
#include "core/demo/DemoContent.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFields.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <list>
#include <map>
#include <random>
#include <set>

namespace starfall {
namespace {

using Image = std::vector<std::uint8_t>;

std::vector<int> readAt(const Image& image, std::span<const Position> positions) {
    std::vector<int> bytes;
    for (const Position p : positions)
        bytes.push_back(p < static_cast<Position>(image.size()) ? image[p] : kEndOfFile);
    return bytes;
}

// One record of the image: the bytes its fields own, and a check of each field.
struct Probe {
    std::string name;
    int group = 0; // a pilot and its skill table may share bytes
    std::vector<Position> positions;
    std::function<void(Image&, const std::function<bool(Position, int)>&)> checkFields;
};

// Another value than `now`: the next number in range, or the next item.
template <typename Record>
FieldValue otherValue(const Field<Record>& field, const FieldValue& now) {
    if (field.kind == FieldKind::Number) {
        const std::int64_t span = field.range.max - field.range.min + 1;
        const std::int64_t value = std::stoll(std::get<std::string>(now)) - field.range.min;
        return std::to_string((value + 1 + span) % span + field.range.min);
    }
    const int items = static_cast<int>(field.items.size());
    return ListChoice::item((std::get<ListChoice>(now).indexOr(-1) + 1) % items);
}

void applyPlan(Image& image, std::span<const ByteWrite> plan) {
    for (const ByteWrite& write : plan) {
        std::uint8_t& byte = image.at(static_cast<std::size_t>(write.position));
        byte = static_cast<std::uint8_t>((byte & ~write.mask) | (write.value & write.mask));
    }
}

// `foreign(position, group)`: whether another record or list owns the position.
template <typename Record>
void checkEveryField(Image& image, const std::string& name, int group,
                     const RecordLayout<Record>& layout, const std::vector<Position>& positions,
                     const Record& shape, const std::function<bool(Position, int)>& foreign) {
    for (const Field<Record>& field : layout.fields()) {
        SCOPED_TRACE(name + " " + field.key);
        const Record before = layout.decode(readAt(image, positions), shape);
        Record edited = before;
        const FieldValue value = otherValue(field, field.get(before));
        field.set(edited, value);
        const auto plan = layout.savePlan(positions, edited);
        ASSERT_FALSE(plan.empty());
        for (const ByteWrite& write : plan) {
            std::uint8_t owned = 0;
            for (const FieldBits& at : field.bits)
                owned |= positions.at(at.byte) == write.position ? at.mask : 0;
            EXPECT_EQ(write.mask & ~owned, 0) << "bits of another field at " << write.position;
            EXPECT_FALSE(foreign(write.position, group))
                << "another record's byte " << write.position;
        }
        applyPlan(image, plan);
        const Record after = layout.decode(readAt(image, positions), shape);
        EXPECT_EQ(field.get(after), value);
        for (const Field<Record>& other : layout.fields()) {
            if (other.key != field.key) {
                EXPECT_EQ(other.get(after), other.get(before)) << "moved: " << other.key;
            }
        }
    }
}

template <typename Record>
Probe probe(std::string name, int group, const RecordLayout<Record>& layout,
            std::vector<Position> positions, Record shape = {}) {
    Probe p{std::move(name), group, {}, {}};
    for (const Field<Record>& field : layout.fields()) {
        for (const FieldBits& at : field.bits)
            p.positions.push_back(positions.at(at.byte));
    }
    p.checkFields = [name = p.name, group, &layout, positions, shape](Image& image,
                                                                      const auto& foreign) {
        checkEveryField(image, name, group, layout, positions, shape, foreign);
    };
    return p;
}

class FieldTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::writeDemo(m_dir.dir());
        std::ifstream in(m_dir.file(demo::kDemoImageName), std::ios::binary | std::ios::ate);
        m_image.resize(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(m_image.data()),
                static_cast<std::streamsize>(m_image.size()));
        addUnits();
        addPilots();
        for (const demo::DemoWeapon& weapon : demo::demoWeapons())
            m_probes.push_back(probe("weapon " + std::to_string(weapon.number), next(),
                                     weaponLayout(), weaponSavePositions(weapon.number)));
        m_probes.push_back(probe("upgrade", next(), upgradeLayout(), upgradeTablePositions()));
    }

    int next() { return static_cast<int>(m_probes.size() + m_watched.size()); }

    void addUnits() {
        const NameList units = loadNameList(m_dir.dir(), ListKind::Units);
        for (std::size_t i = 0; i < units.entries.size(); ++i) {
            const UnitPlace place = UnitPlace::fromList(units, i);
            m_probes.push_back(probe("unit " + std::to_string(i), next(), unitLayout(),
                                     unitRecordPositions(place)));
            // Its weapon list: the count byte and each entry's two number bytes.
            const NameListEntry& entry = units.entries[i];
            const Position list = weaponListPosition(place.name, entry.addressText,
                                                     unitWeaponListStart(place.position));
            std::vector<Position> bytes{list - 2};
            for (int e = 0; e < m_image.at(static_cast<std::size_t>(list - 2)); ++e) {
                const auto at = weaponEntryPositions(place.name, list, e);
                bytes.insert(bytes.end(), at.begin(), at.end());
            }
            m_watched.push_back(bytes);
        }
    }

    void addPilots() {
        m_pilots = loadNameList(m_dir.dir(), ListKind::Pilots);
        for (std::size_t i = 0; i < m_pilots.entries.size(); ++i) {
            const PilotReference reference = PilotReference::fromList(m_pilots, i);
            const PilotRecordKind kind = classifyPilotRecord(reference.address);
            const int group = next();
            PilotRecord shape;
            shape.kind = kind;
            m_probes.push_back(probe("pilot " + std::to_string(i), group, pilotLayout(kind),
                                     pilotRecordPositions(reference, kind), shape));
            if (opensSkillTable(kind))
                m_skillTables.push_back({group, reference});
        }
    }

    // Skill tables are shaped by the bytes they are read from: made after
    // any randomising.
    void addSkillTables() {
        for (const auto& [group, reference] : m_skillTables) {
            const Position start = skillTablePosition(reference.name, reference.position);
            const auto positions = skillTableReadPositions(reference.name, start);
            SkillTable table = decodeSkillTable(reference.name, start, readAt(m_image, positions));
            m_layouts.push_back(skillLayout(table));
            m_probes.push_back(probe("skills of " + std::to_string(group), group, m_layouts.back(),
                                     positions, table));
        }
    }

    void randomiseRecords(unsigned seed) {
        std::mt19937 random(seed);
        std::vector<Position> positions;
        for (const Probe& p : m_probes)
            positions.insert(positions.end(), p.positions.begin(), p.positions.end());
        for (const auto& [group, reference] : m_skillTables) {
            const auto table = skillTableReadPositions(
                reference.name, skillTablePosition(reference.name, reference.position));
            positions.insert(positions.end(), table.begin(), table.end());
        }
        for (const Position at : positions)
            m_image.at(static_cast<std::size_t>(at)) = static_cast<std::uint8_t>(random());
        // At most five slots a table, so that no table runs into the next record.
        for (const auto& [group, reference] : m_skillTables) {
            const Position start = skillTablePosition(reference.name, reference.position);
            m_image.at(
                static_cast<std::size_t>(skillSlotPositions(reference.name, start, 6).code)) = 0;
        }
    }

    void checkAll() {
        addSkillTables();
        std::map<Position, std::set<int>> owners;
        for (const Probe& p : m_probes) {
            for (const Position at : p.positions)
                owners[at].insert(p.group);
        }
        for (std::size_t w = 0; w < m_watched.size(); ++w) {
            for (const Position at : m_watched[w])
                owners[at].insert(-1 - static_cast<int>(w));
        }
        const auto foreign = [&owners](Position at, int group) {
            const auto found = owners.find(at);
            return found != owners.end() &&
                   std::any_of(found->second.begin(), found->second.end(),
                               [group](int owner) { return owner != group; });
        };
        for (const Probe& p : m_probes)
            p.checkFields(m_image, foreign);
    }

    test::TempDir m_dir;
    Image m_image;
    NameList m_pilots;
    std::vector<Probe> m_probes;
    std::vector<std::vector<Position>> m_watched;
    std::vector<std::pair<int, PilotReference>> m_skillTables;
    std::list<RecordLayout<SkillTable>> m_layouts; // probes refer to them
};

TEST_F(FieldTablesTest, EveryFieldOfTheDemoChangesOnlyItsOwnBits) {
    checkAll();
}

TEST_F(FieldTablesTest, EveryFieldOnRandomRecordBytesChangesOnlyItsOwnBits) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        randomiseRecords(seed);
        checkAll();
        m_probes.resize(m_probes.size() - m_skillTables.size());
    }
}

} // namespace
} // namespace starfall
