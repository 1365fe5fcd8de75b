#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ImageAccess.h"
#include "core/io/SaveChange.h"
#include "core/patch/PatchPlan.h"
#include "core/sector/SectorCodes.h"
#include "core/sector/SectorScan.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::TempDir;

constexpr Position kSector = sector::kSectorBytes;
constexpr Position kData = sector::kDataBegin;
constexpr Position kTail = sector::kDataFinish;

// Sectors 0, 1 and 5 are Form 1 with matching codes, 2 is Form 1 with a
// deliberately wrong EDC, 3 is Form 2 with its EDC, 4 Form 2 without one.
constexpr std::int64_t kWrongCodes = 2;
constexpr std::int64_t kForm2 = 3;
constexpr std::int64_t kForm2WithoutEdc = 4;

std::string sectorBytes(std::int64_t index, bool form2, unsigned seed) {
    std::array<std::uint8_t, sector::kSectorSize> s{};
    std::copy(sector::kSync.begin(), sector::kSync.end(), s.begin());
    s[14] = static_cast<std::uint8_t>(index);
    s[15] = 2;
    s[18] = s[22] = form2 ? 0x20 : 0x08;
    std::mt19937 random(seed);
    for (std::size_t i = sector::kDataStart; i < sector::kForm2EdcAt; ++i)
        s[i] = static_cast<std::uint8_t>(random());
    if (form2)
        sector::writeForm2Edc(s);
    else
        sector::writeForm1Codes(s);
    return {s.begin(), s.end()};
}

std::string rawImage() {
    std::string image;
    for (std::int64_t s = 0; s < 6; ++s)
        image += sectorBytes(s, s == kForm2 || s == kForm2WithoutEdc, static_cast<unsigned>(s));
    image[static_cast<std::size_t>(kWrongCodes * kSector + kTail)] ^= 0x5A;
    for (Position at = kForm2WithoutEdc * kSector + 2348; at < (kForm2WithoutEdc + 1) * kSector;
         ++at)
        image[static_cast<std::size_t>(at)] = 0;
    return image;
}

std::vector<std::int64_t> mismatchingSectors(const std::string& path) {
    std::vector<std::int64_t> sectors;
    for (const SectorMismatch& mismatch : verifySectors(path).mismatches)
        sectors.push_back(mismatch.sector);
    return sectors;
}

// One data byte of each sector given turned to its complement.
std::vector<ByteWrite> editIn(std::initializer_list<std::int64_t> sectors) {
    static const std::string image = rawImage();
    std::vector<ByteWrite> plan;
    for (const std::int64_t s : sectors) {
        const Position at = s * kSector + kData + 100;
        plan.push_back({at, static_cast<std::uint8_t>(~image[static_cast<std::size_t>(at)])});
    }
    return plan;
}

class SaveCodesTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir.write("image.img", m_before); }
    void TearDown() override { setSaveFaultHook({}); }
    [[nodiscard]] std::string tailOf(std::int64_t s) const {
        return readFile(m_path).substr(static_cast<std::size_t>(s * kSector + kTail),
                                       static_cast<std::size_t>(kSector - kTail));
    }

    std::string m_before = rawImage();
    TempDir m_dir;
    std::string m_path = m_dir.file("image.img");
};

TEST_F(SaveCodesTest, SectorsThatMatchedBeforeASaveMatchAfterIt) {
    ASSERT_EQ(mismatchingSectors(m_path), (std::vector<std::int64_t>{kWrongCodes}));
    const SaveReport report = writeBytes(m_path, editIn({0, 1, kForm2}), "test");
    EXPECT_EQ(report.refreshedSectors, (std::vector<std::int64_t>{0, 1, kForm2}));
    EXPECT_TRUE(report.staleSectors.empty());
    EXPECT_EQ(mismatchingSectors(m_path), (std::vector<std::int64_t>{kWrongCodes}));
    // Only the record bytes and the codes of their sectors changed.
    std::size_t codeBytes = 0;
    for (const Position at : changedPositions(m_before, readFile(m_path))) {
        const Position offset = at % kSector;
        if (offset == kData + 100)
            continue;
        EXPECT_GE(offset, at / kSector == kForm2 ? 2348 : kTail) << at;
        ++codeBytes;
    }
    EXPECT_EQ(report.codeBytesWritten, codeBytes);
    EXPECT_GT(codeBytes, 3u);
}

TEST_F(SaveCodesTest, TheJournalHoldsEachStretchOfChangedBytesOnceWithCodesApart) {
    // The last four data bytes of sector 0 and two bytes of sector 1: the
    // data runs end where the codes begin, and each sector's codes follow.
    std::vector<PlannedRun> runs = {
        {kTail - 4, {1, 2, 3, 4}, {}},
        {kSector + kData + 10, {5, 6}, {}},
    };
    for (PlannedRun& run : runs) {
        for (std::size_t i = 0; i < run.values.size(); ++i)
            run.values[i] ^= static_cast<std::uint8_t>(m_before[run.start + i]);
    }
    const FileHandle image(m_path, O_RDONLY);
    const SaveChange change =
        planChange(image.fd(), runs, static_cast<Position>(m_before.size()), CodeRule::Refresh,
                   m_path);
    ASSERT_EQ(change.journal.runs.size(), change.codeRuns.size());
    std::size_t bytes = 0;
    std::vector<std::pair<Position, bool>> starts;
    for (std::size_t r = 0; r < change.journal.runs.size(); ++r) {
        const JournalRun& run = change.journal.runs[r];
        ASSERT_EQ(run.old.size(), run.fresh.size());
        starts.emplace_back(run.start, change.codeRuns[r]);
        for (std::size_t i = 0; i < run.old.size(); ++i) {
            const Position at = run.start + static_cast<Position>(i);
            EXPECT_EQ(run.old[i], static_cast<std::uint8_t>(m_before[at])) << at;
            EXPECT_NE(run.old[i], run.fresh[i]) << at; // only bytes that change
            EXPECT_EQ(change.codeRuns[r], at % kSector >= kTail) << at;
        }
        bytes += run.old.size();
    }
    EXPECT_EQ(change.report.bytesChanged, bytes);
    ASSERT_GE(starts.size(), 4u);
    EXPECT_EQ(starts[0], std::make_pair(kTail - 4, false));
    EXPECT_TRUE(starts[1].second);
    EXPECT_LT(starts[1].first, kSector);
    // Stretches apart are runs apart: no run holds a byte that stays.
    for (std::size_t r = 1; r < change.journal.runs.size(); ++r) {
        const JournalRun& before = change.journal.runs[r - 1];
        EXPECT_TRUE(before.start + static_cast<Position>(before.old.size()) < starts[r].first ||
                    change.codeRuns[r - 1] != starts[r].second);
    }
}

TEST_F(SaveCodesTest, WrongCodesStayAsTheyWereAndAreReported) {
    const std::string tail = tailOf(kWrongCodes);
    const SaveReport report = writeBytes(m_path, editIn({0, kWrongCodes}), "test");
    EXPECT_EQ(tailOf(kWrongCodes), tail);
    EXPECT_EQ(report.refreshedSectors, (std::vector<std::int64_t>{0}));
    EXPECT_EQ(report.staleSectors, (std::vector<std::int64_t>{kWrongCodes}));
}

TEST_F(SaveCodesTest, AForm2SectorWithoutEdcKeepsNone) {
    const SaveReport report = writeBytes(m_path, editIn({kForm2WithoutEdc}), "test");
    EXPECT_EQ(tailOf(kForm2WithoutEdc),
              m_before.substr(kForm2WithoutEdc * kSector + kTail, kSector - kTail));
    EXPECT_EQ(report, (SaveReport{{}, 0, {}, 1})); // the edited byte alone
    EXPECT_EQ(changedPositions(m_before, readFile(m_path)),
              (std::vector<Position>{kForm2WithoutEdc * kSector + kData + 100}));
}

TEST_F(SaveCodesTest, KeepWritesThePlanOnlyAndNamesWhatItLeftStale) {
    const SaveReport report = writeBytes(m_path, editIn({0, kForm2WithoutEdc}), "test",
                                         FramingRule::Refuse, CodeRule::Keep);
    EXPECT_EQ(changedPositions(m_before, readFile(m_path)),
              (std::vector<Position>{kData + 100, kForm2WithoutEdc * kSector + kData + 100}));
    EXPECT_TRUE(report.refreshedSectors.empty());
    EXPECT_EQ(report.codeBytesWritten, 0u);
    EXPECT_EQ(report.staleSectors, (std::vector<std::int64_t>{0}));
}

TEST_F(SaveCodesTest, RecordBytesInFramingAreStillRefused) {
    for (const Position offset : {Position{20}, kTail, kSector - 1}) {
        try {
            (void)writeBytes(m_path, std::vector<ByteWrite>{{kSector + offset, 1}}, "test");
            ADD_FAILURE() << offset;
        } catch (const CoreError& error) {
            EXPECT_EQ(error.failure(), Failure::SectorFraming) << offset;
        }
    }
    EXPECT_EQ(readFile(m_path), m_before);
}

TEST_F(SaveCodesTest, AFlatImageGetsNoCodes) {
    const std::string flat(static_cast<std::size_t>(3 * kSector), '\x11');
    m_dir.write("image.img", flat);
    const SaveReport report = writeBytes(m_path, editIn({0, 1}), "test");
    EXPECT_EQ(report, (SaveReport{{}, 0, {}, 2}));
    EXPECT_EQ(changedPositions(flat, readFile(m_path)),
              (std::vector<Position>{kData + 100, kSector + kData + 100}));
}

TEST_F(SaveCodesTest, APlanCarryingItsOwnCodesKeepsThem) {
    // Sector 5 as a patch made from a repaired image carries it: nothing more.
    std::string edited = m_before.substr(5 * kSector, kSector);
    edited[300] = '\x42';
    std::array<std::uint8_t, sector::kSectorSize> fixed{};
    std::copy(edited.begin(), edited.end(), fixed.begin());
    sector::writeForm1Codes(fixed);
    std::vector<ByteWrite> plan;
    for (Position i = 0; i < kSector; ++i) {
        const auto at = static_cast<std::size_t>(5 * kSector + i);
        if (fixed[static_cast<std::size_t>(i)] != static_cast<std::uint8_t>(m_before[at]))
            plan.push_back({5 * kSector + i, fixed[static_cast<std::size_t>(i)]});
    }
    EXPECT_EQ(writeBytes(m_path, plan, "patch", FramingRule::Allow),
              (SaveReport{{}, 0, {}, plan.size()})); // no code byte beyond the plan's
    EXPECT_EQ(readFile(m_path).substr(5 * kSector, kSector),
              std::string(fixed.begin(), fixed.end()));

    // Codes a plan writes that do not match are its own too: kept and reported.
    plan = editIn({1});
    plan.push_back({kSector + kTail + 1, 0x77});
    const SaveReport report = writeBytes(m_path, plan, "patch", FramingRule::Allow);
    EXPECT_EQ(report.staleSectors, (std::vector<std::int64_t>{1}));
    EXPECT_EQ(static_cast<std::uint8_t>(readFile(m_path)[kSector + kTail + 1]), 0x77);
    EXPECT_EQ(tailOf(1).substr(2), m_before.substr(kSector + kTail + 2, kSector - kTail - 2));
}

TEST_F(SaveCodesTest, AStaleCodesPatchAppliesWithFreshCodesAndUndoesToTheOriginal) {
    // A patch's changes without code bytes, as one made with stale codes.
    patch::ByteChanges changes;
    changes.next = {{kData + 7, {0x01, 0x02}}, {kSector + kData, {0x03}}};
    changes.previous = {{kData + 7,
                         {static_cast<std::uint8_t>(m_before[kData + 7]),
                          static_cast<std::uint8_t>(m_before[kData + 8])}},
                        {kSector + kData, {static_cast<std::uint8_t>(m_before[kSector + kData])}}};
    const SaveReport report = patch::writeChanges(m_path, changes, "patch");
    EXPECT_EQ(report.refreshedSectors, (std::vector<std::int64_t>{0, 1}));
    EXPECT_EQ(mismatchingSectors(m_path), (std::vector<std::int64_t>{kWrongCodes}));
    std::swap(changes.next, changes.previous);
    (void)patch::writeChanges(m_path, changes, "patch");
    EXPECT_EQ(readFile(m_path), m_before);
}

TEST_F(SaveCodesTest, AFailedSavePutsTheCodeBytesBackToo) {
    for (int failAt = 0;; ++failAt) {
        int step = 0;
        setSaveFaultHook([&](SaveStep) { return step++ == failAt ? EIO : 0; });
        try {
            (void)writeBytes(m_path, editIn({0, 1}), "test");
            break; // every step has been failed once
        } catch (const CoreError&) {
        }
        EXPECT_EQ(readFile(m_path), m_before) << failAt;
    }
}

TEST_F(SaveCodesTest, AKilledSaveIsRolledBackWithItsCodeBytes) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setSaveFaultHook([](SaveStep step) {
            if (step == SaveStep::ImageFlush)
                ::raise(SIGKILL); // the image holds new data and new codes
            return 0;
        });
        (void)writeBytes(m_path, editIn({0, 1}), "test");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_NE(readFile(m_path), m_before);
    (void)readBytes(m_path, std::vector<Position>{0}); // the next action rolls it back
    EXPECT_EQ(readFile(m_path), m_before);
}

} // namespace
} // namespace starfall
