#include "core/patch/VcdiffPatch.h"

#include "core/patch/PatchCursor.h"

namespace starfall::patch {

namespace {

// Header indicator bits.
constexpr std::uint8_t kSecondary = 0x01;
constexpr std::uint8_t kCodeTable = 0x02;
constexpr std::uint8_t kAppHeader = 0x04;
// Window indicator bits; the checksum is xdelta3's addition.
constexpr std::uint8_t kFromSource = 0x01;
constexpr std::uint8_t kFromTarget = 0x02;
constexpr std::uint8_t kChecksum = 0x04;
constexpr std::size_t kChecksumBytes = 4;

// VCDIFF numbers: seven bits a byte, high first, the top bit set on every
// byte but the last.
Position number(PatchCursor& cursor) {
    const std::size_t at = cursor.at();
    std::uint64_t value = 0;
    for (int count = 0;; ++count) {
        if (count == 9)
            cursor.failAt(PatchFault::BadVarint, at);
        const std::uint8_t x = cursor.byte();
        value = value << 7 | (x & 0x7FU);
        if ((x & 0x80U) == 0)
            break;
    }
    if (value > static_cast<std::uint64_t>(kPositionLimit))
        cursor.failAt(PatchFault::BeyondAddressable, at);
    return static_cast<Position>(value);
}

std::span<const std::uint8_t> sized(PatchCursor& cursor) {
    return cursor.take(static_cast<std::size_t>(number(cursor)));
}

void readHeader(PatchCursor& cursor, VcdiffPatch& patch) {
    cursor.take(sizeof kVcdiffMagic);
    const std::size_t at = cursor.at();
    const std::uint8_t indicator = cursor.byte();
    if ((indicator & ~(kSecondary | kCodeTable | kAppHeader)) != 0)
        cursor.failAt(PatchFault::BadHeader, at);
    if ((indicator & kSecondary) != 0)
        patch.secondary = cursor.byte();
    if ((indicator & kCodeTable) != 0)
        (void)sized(cursor);
    if ((indicator & kAppHeader) != 0) {
        const auto text = sized(cursor);
        patch.appHeader.assign(text.begin(), text.end());
    }
}

// One window's headers; its sections are skipped whole.
void readWindow(PatchCursor& cursor, VcdiffPatch& patch, bool& allChecked) {
    const std::size_t at = cursor.at();
    const std::uint8_t indicator = cursor.byte();
    if ((indicator & ~(kFromSource | kFromTarget | kChecksum)) != 0 ||
        (indicator & (kFromSource | kFromTarget)) == (kFromSource | kFromTarget))
        cursor.failAt(PatchFault::BadHeader, at);
    if ((indicator & (kFromSource | kFromTarget)) != 0) {
        (void)number(cursor); // the segment's length
        (void)number(cursor); // and position
    }
    const Position deltaLength = number(cursor);
    const std::size_t deltaAt = cursor.at();
    const Position target = number(cursor);
    (void)cursor.byte(); // which sections are compressed
    Position sections = 0;
    for (int i = 0; i < 3; ++i)
        sections += number(cursor);
    if ((indicator & kChecksum) != 0)
        cursor.take(kChecksumBytes);
    else
        allChecked = false;
    if (static_cast<Position>(cursor.at() - deltaAt) + sections != deltaLength)
        cursor.failAt(PatchFault::BadHeader, at);
    cursor.take(static_cast<std::size_t>(sections));
    patch.targetSize += target;
    if (patch.targetSize > kPositionLimit)
        cursor.failAt(PatchFault::BeyondAddressable, at);
    ++patch.windows;
}

} // namespace

VcdiffPatch readVcdiff(std::span<const std::uint8_t> file, const std::string& path) {
    VcdiffPatch patch;
    patch.path = path;
    PatchCursor cursor(file, path);
    readHeader(cursor, patch);
    bool allChecked = true;
    while (!cursor.atEnd())
        readWindow(cursor, patch, allChecked);
    patch.checksums = allChecked && patch.windows > 0;
    return patch;
}

} // namespace starfall::patch
