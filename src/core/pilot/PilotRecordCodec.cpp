#include "core/pilot/PilotRecordCodec.h"

#include "core/codec/ByteCodec.h"
#include "core/record/ByteCursor.h"
#include "core/codec/WordCodec.h"
#include "core/pilot/PilotFieldCodecs.h"
#include "core/codec/TerrainRank.h"

#include <stdexcept>

namespace starfall {

namespace {

std::string readWord(ByteCursor& cursor) {
    const int low = cursor.next();
    return WordCodec::decode(low, cursor.next());
}

void decodeStats(ByteCursor& cursor, PilotStats& stats) {
    const auto airSpace = TerrainRank::decodePair(cursor.next());
    const auto landSea = TerrainRank::decodePair(cursor.next());
    stats.air = airSpace.first;
    stats.space = airSpace.second;
    stats.land = landSea.first;
    stats.sea = landSea.second;
    stats.melee = ByteCodec::decode(cursor.next());
    stats.shooting = ByteCodec::decode(cursor.next());
    stats.hit = readWord(cursor);
    stats.evasion = readWord(cursor);
    stats.spiritPoints = readWord(cursor);
    stats.skill = readWord(cursor);
    stats.reaction = readWord(cursor);
}

void decodeSpirits(ByteCursor& cursor, std::array<SpiritEntry, kSpiritCount>& spirits) {
    for (SpiritEntry& spirit : spirits) {
        spirit.command = SpiritCommand::decode(cursor.next());
        spirit.level = ByteCodec::decode(cursor.next());
    }
}

void appendWord(std::vector<std::uint8_t>& out, const std::string& text) {
    const auto word = WordCodec::encode(text);
    out.insert(out.end(), word.begin(), word.end());
}

void encodeStats(const PilotStats& stats, std::vector<std::uint8_t>& out) {
    out.push_back(TerrainRank::encodePair(stats.air, stats.space));
    out.push_back(TerrainRank::encodePair(stats.land, stats.sea));
    out.push_back(ByteCodec::encode(stats.melee));
    out.push_back(ByteCodec::encode(stats.shooting));
    for (const std::string* word :
         {&stats.hit, &stats.evasion, &stats.spiritPoints, &stats.skill, &stats.reaction})
        appendWord(out, *word);
}

} // namespace

PilotRecord decodePilotRecord(PilotRecordKind kind, std::span<const int> bytes,
                              PilotRecord previous) {
    PilotRecord record = std::move(previous);
    record.kind = kind;
    ByteCursor cursor(bytes);
    if (hasStatBlock(kind))
        decodeStats(cursor, record.stats);
    if (hasSpiritBlock(kind))
        decodeSpirits(cursor, record.spirits);
    if (hasStatBlock(kind)) {
        const int byte = cursor.next();
        record.personality = Personality::decode(byte);
        record.personalityByte = static_cast<std::uint8_t>(byteOr255(byte));
    }
    if (!cursor.atEnd())
        throw std::logic_error("a pilot record decoder left planned bytes unread");
    record.loaded.bytes.assign(bytes.begin(), bytes.end());
    return record;
}

std::vector<std::uint8_t> encodePilotRecord(const PilotRecord& record) {
    std::vector<std::uint8_t> out;
    if (hasStatBlock(record.kind))
        encodeStats(record.stats, out);
    if (hasSpiritBlock(record.kind)) {
        for (const SpiritEntry& spirit : record.spirits) {
            out.push_back(SpiritCommand::encode(spirit.command));
            out.push_back(ByteCodec::encode(spirit.level));
        }
    }
    if (hasStatBlock(record.kind))
        out.push_back(Personality::encode(record.personality, record.personalityByte));
    return out;
}

} // namespace starfall
