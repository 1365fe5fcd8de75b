// The history of saves as part of the save protocol: whatever step a save is
// killed at, the image and its history agree afterwards.
#include "core/history/HistoryUndo.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"
#include "core/io/SaveHistory.h"
#include "core/text/Messages.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace starfall {
namespace {

using test::readFile;
using test::SyntheticImage;
using test::TempDir;

const std::vector<ByteWrite> kPlan{{2, 0x11}, {3, 0x22}, {9, 0x33}};

class SaveHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        SyntheticImage::flat(16, 0xEE).saveTo(m_image);
        setRecoveryNoticeSink(
            [this](const Message& message) { m_notices.push_back(message.text); });
    }
    void TearDown() override {
        setSaveFaultHook({});
        setRecoveryNoticeSink({});
    }
    [[nodiscard]] std::vector<HistoryEntry> entries() const {
        return readHistory(m_image, 16).entries;
    }

    TempDir m_dir;
    std::string m_image = m_dir.file("image.img");
    std::vector<std::string> m_notices;
};

TEST(SaveHistoryFormat, RoundTripsAndTellsDamageFromAnotherImage) {
    const HistoryEntry entry{1765000000, HistoryAction::Undo, 3, "유니트 'A'",
                             {{"hp", "3800", "4000"}}, {{2, {0xEE}, {0x11}, false},
                                                         {2072, {1, 2}, {3, 4}, true}}};
    auto bytes = encodeHistoryHeader({16, 1, 2});
    const auto framed = encodeHistoryEntry(entry);
    bytes.insert(bytes.end(), framed.begin(), framed.end());
    bytes.insert(bytes.end(), framed.begin(), framed.end());
    const ImageHistory sound = decodeHistory(bytes, 16);
    ASSERT_EQ(sound.state, HistoryState::Sound);
    EXPECT_EQ(sound.entries, (std::vector<HistoryEntry>{entry, entry}));
    EXPECT_EQ(decodeHistory(bytes, 17).state, HistoryState::Foreign);
    EXPECT_EQ(decodeHistory({}, 16).state, HistoryState::Absent);
    for (std::size_t cut = 33; cut < bytes.size(); cut += 7)
        EXPECT_EQ(decodeHistory(std::span(bytes).first(cut), 16).state, HistoryState::Damaged)
            << cut;
    for (std::size_t at = 32; at < bytes.size(); ++at) {
        auto damaged = bytes;
        damaged[at] ^= 0x01;
        EXPECT_EQ(decodeHistory(damaged, 16).state, HistoryState::Damaged) << at;
    }
}

// The entry is appended after the image's flush and cut off again by the
// roll-back of a killed save: the history never lists a save the image does
// not hold, and lists every save that landed.
TEST_F(SaveHistoryTest, AKilledSaveLeavesImageAndHistoryAgreeing) {
    for (int killAt = 0; killAt < 10; ++killAt) {
        SyntheticImage::flat(16, 0xEE).saveTo(m_image);
        std::filesystem::remove(historyPathFor(m_image));
        writeBytes(m_image, std::vector<ByteWrite>{{0, 0x01}}, "first");
        const std::string before = readFile(m_image);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int step = 0;
            setSaveFaultHook([&](SaveStep) {
                if (step++ == killAt)
                    ::raise(SIGKILL);
                return 0;
            });
            writeBytes(m_image, kPlan, "second");
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        (void)readBytes(m_image, std::vector<Position>{0}); // the next action recovers
        const bool landed = readFile(m_image) != before;
        const auto listed = entries();
        ASSERT_EQ(listed.size(), landed ? 2u : 1u) << killAt;
        // The last entry the history lists is always one the image holds.
        applyReversal(m_image, planUndo(m_image, listed, std::nullopt), CodeRule::Refresh);
        EXPECT_EQ(readFile(m_image).substr(0, 1), landed ? "\x01" : "\xEE") << killAt;
    }
}

TEST_F(SaveHistoryTest, AHistoryThatCannotTakeTheEntryCostsTheSaveNothing) {
    setSaveFaultHook([](SaveStep step) { return step == SaveStep::HistoryAppend ? ENOSPC : 0; });
    writeBytes(m_image, kPlan, "test");
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2, 3, 9}),
              (std::vector<int>{0x11, 0x22, 0x33}));
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(m_notices, (std::vector<std::string>{
                             messages::historyNotWritten(historyPathFor(m_image),
                                                         std::strerror(ENOSPC))
                                 .text}));
}

} // namespace
} // namespace starfall
