#include "core/io/CoreError.h"
#include "core/sector/SectorCodes.h"
#include "core/sector/SectorScan.h"

#include "support/ReadOnlyFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace starfall {
namespace {

using sector::kSectorSize;

// An image of sound Form 1 sectors with distinct data; `form2` sectors are
// Form 2 with their EDC filled in.
std::string soundImage(std::size_t sectors, std::vector<std::size_t> form2 = {}) {
    std::string bytes(sectors * kSectorSize, '\0');
    for (std::size_t i = 0; i < sectors; ++i) {
        auto* s = reinterpret_cast<std::uint8_t*>(bytes.data() + i * kSectorSize);
        std::copy(sector::kSync.begin(), sector::kSync.end(), s);
        s[14] = static_cast<std::uint8_t>(i);
        s[15] = 2;
        const bool isForm2 = std::find(form2.begin(), form2.end(), i) != form2.end();
        s[18] = s[22] = isForm2 ? 0x20 : 0x08;
        for (std::size_t k = sector::kDataStart; k < sector::kDataEnd; ++k)
            s[k] = static_cast<std::uint8_t>(k * 7 + i);
        const sector::Sector one(s, kSectorSize);
        isForm2 ? sector::writeForm2Edc(one) : sector::writeForm1Codes(one);
    }
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Edits one data byte, as the editor would, leaving the codes stale.
void editData(std::string& bytes, std::size_t sector, std::size_t offset = 500) {
    bytes[sector * kSectorSize + offset] ^= 0x5A;
}

std::vector<std::int64_t> sectorsOf(const std::vector<SectorMismatch>& list) {
    std::vector<std::int64_t> out;
    for (const auto& m : list)
        out.push_back(m.sector);
    return out;
}

class SectorScanTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::string m_path = m_dir.file("disc.img");
};

TEST_F(SectorScanTest, VerifyCountsFormsAndListsEditedSectors) {
    std::string bytes = soundImage(6, {4});
    editData(bytes, 2);
    editData(bytes, 4, 100);
    writeFile(m_path, bytes + "tail");

    const SectorReport report = verifySectors(m_path);
    EXPECT_EQ(report.sectors, 6);
    EXPECT_EQ(report.form1, 5);
    EXPECT_EQ(report.form2, 1);
    EXPECT_EQ(report.trailingBytes, 4);
    const std::vector<SectorMismatch> expected = {{2, true, true, false}, {4, true, false, true}};
    EXPECT_EQ(report.mismatches, expected);
}

TEST_F(SectorScanTest, VerifyReadsImagesLongerThanOneBlock) {
    std::string bytes = soundImage(1030);
    editData(bytes, 1029);
    writeFile(m_path, bytes);
    const SectorReport report = verifySectors(m_path);
    EXPECT_EQ(report.sectors, 1030);
    EXPECT_EQ(sectorsOf(report.mismatches), std::vector<std::int64_t>{1029});
}

TEST_F(SectorScanTest, RepairFixesOnlyForm1SectorsInRangeAndOnlyTheirCodes) {
    std::string bytes = soundImage(8, {5});
    for (std::size_t s : {1U, 3U, 5U, 7U})
        editData(bytes, s);
    writeFile(m_path, bytes);

    const std::vector<SectorRange> ranges = {{0, 5}};
    const RepairReport report = repairSectors(m_path, ranges);
    EXPECT_EQ(sectorsOf(report.repaired), (std::vector<std::int64_t>{1, 3}));
    EXPECT_EQ(sectorsOf(report.leftAlone), (std::vector<std::int64_t>{5, 7}));

    const std::string after = test::readFile(m_path);
    ASSERT_EQ(after.size(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t s = i / kSectorSize;
        const bool repairedTail = (s == 1 || s == 3) && i % kSectorSize >= sector::kDataEnd;
        if (!repairedTail) {
            ASSERT_EQ(after[i], bytes[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(sectorsOf(verifySectors(m_path).mismatches), (std::vector<std::int64_t>{5, 7}));
}

TEST_F(SectorScanTest, RepairOfASoundImageWritesNothing) {
    const std::string bytes = soundImage(3);
    writeFile(m_path, bytes);
    const test::ReadOnlyFile readOnly(m_path); // would fail if it opened for update
    const std::vector<SectorRange> all = {{0, 2}};
    EXPECT_TRUE(repairSectors(m_path, all).repaired.empty());
}

TEST_F(SectorScanTest, RepairOfAReadOnlyImageFailsAndChangesNothing) {
    std::string bytes = soundImage(3);
    editData(bytes, 1);
    writeFile(m_path, bytes);
    const test::ReadOnlyFile readOnly(m_path);
    if (!readOnly.effective())
        GTEST_SKIP() << "cannot make a file read-only here";
    const std::vector<SectorRange> all = {{0, 2}};
    try {
        (void)repairSectors(m_path, all);
        FAIL() << "expected a failure";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::ImageOpenForSave);
    }
    EXPECT_EQ(test::readFile(m_path), bytes);
}

TEST(SectorRangesTest, PositionsMergeIntoOrderedRanges) {
    const std::vector<Position> positions = {2352 * 9 + 30, 100, 2352 + 5, 2352 * 4, 2352 * 5 - 1, 2352 * 5};
    const std::vector<SectorRange> expected = {{0, 1}, {4, 5}, {9, 9}};
    EXPECT_EQ(sectorRangesOf(positions), expected);
}

} // namespace
} // namespace starfall
