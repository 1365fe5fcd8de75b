#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"
#include "core/io/SaveJournal.h"
#include "core/text/Messages.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace starfall {
namespace {

using test::readFile;
using test::SyntheticImage;
using test::TempDir;

// Two runs of new bytes, so that a save makes two image writes.
const std::vector<ByteWrite> kPlan{{2, 0x11}, {3, 0x22}, {9, 0x33}};

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

class SaveJournalTest : public ::testing::Test {
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
    [[nodiscard]] bool journalExists() const { return std::filesystem::exists(m_journal); }
    [[nodiscard]] ImageIdentity identity() const {
        struct stat info {};
        ::stat(m_image.c_str(), &info);
        return {static_cast<std::uint64_t>(info.st_size), static_cast<std::uint64_t>(info.st_dev),
                static_cast<std::uint64_t>(info.st_ino)};
    }
    void placeJournal(const SaveJournal& journal) const {
        const auto bytes = encodeJournal(journal);
        m_dir.write("image.img.journal", std::string(bytes.begin(), bytes.end()));
    }

    TempDir m_dir;
    std::string m_image = m_dir.file("image.img");
    std::string m_journal = m_image + ".journal";
    std::vector<std::string> m_notices;
};

TEST(SaveJournalFormat, RoundTripsAndTellsTornFromDamaged) {
    const SaveJournal journal{{16, 7, 99}, {{2, {0xEE, 0xEE}}, {9, {0x00}}}};
    const auto bytes = encodeJournal(journal);
    const DecodedJournal decoded = decodeJournal(bytes);
    EXPECT_EQ(decoded.state, JournalState::Complete);
    EXPECT_EQ(decoded.journal, journal);
    // Every cut leaves no mark at the end: nothing of it may be applied.
    for (std::size_t size = 0; size < bytes.size(); ++size)
        EXPECT_EQ(decodeJournal(std::span(bytes).first(size)).state, JournalState::Torn) << size;
    for (std::size_t at = 0; at + 12 < bytes.size(); ++at) {
        auto damaged = bytes;
        damaged[at] ^= 0x40;
        EXPECT_EQ(decodeJournal(damaged).state, JournalState::Damaged) << at;
    }
}

// A name too long to take ".journal" still gets a journal of its own, so its
// image can be saved.
TEST_F(SaveJournalTest, AnImageWithALongNameSavesThroughAShorterJournalName) {
    const std::string longName(250, 'n');
    const std::string path = m_dir.file(longName);
    SyntheticImage::flat(16).saveTo(path);
    const std::string journal = journalPathFor(path);
    EXPECT_LE(std::filesystem::path(journal).filename().string().size(), 255u);
    EXPECT_NE(journal, journalPathFor(m_dir.file(std::string(249, 'n') + "m")));
    EXPECT_EQ(journalPathFor(m_dir.file("a.img")), m_dir.file("a.img") + ".journal");
    writeBytes(path, std::vector<ByteWrite>{{3, 0x5A}});
    EXPECT_EQ(readFile(path)[3], '\x5A');
    EXPECT_FALSE(std::filesystem::exists(journal));
}

TEST_F(SaveJournalTest, JournalIsFlushedBeforeTheImageAndDeletedAfterIt) {
    std::vector<SaveStep> steps;
    std::string journalAtFirstWrite;
    setSaveFaultHook([&](SaveStep step) {
        if (step == SaveStep::ImageWrite && steps.back() != SaveStep::ImageWrite)
            journalAtFirstWrite = readFile(m_journal);
        steps.push_back(step);
        return 0;
    });
    writeBytes(m_image, kPlan, "test");
    EXPECT_EQ(steps, (std::vector<SaveStep>{
                         SaveStep::JournalCreate, SaveStep::JournalWrite, SaveStep::JournalFlush,
                         SaveStep::FolderFlush, SaveStep::ImageWrite, SaveStep::ImageWrite,
                         SaveStep::ImageFlush, SaveStep::JournalDelete, SaveStep::CommitFlush}));
    const DecodedJournal journal = decodeJournal(bytesOf(journalAtFirstWrite));
    ASSERT_EQ(journal.state, JournalState::Complete);
    EXPECT_EQ(journal.journal.identity, identity());
    EXPECT_EQ(journal.journal.runs, (std::vector<JournalRun>{{2, {0xEE, 0xEE}}, {9, {0xEE}}}));
    EXPECT_FALSE(journalExists());
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2, 3, 9}),
              (std::vector<int>{0x11, 0x22, 0x33}));
}

// Past the unlink the save has landed: a folder that cannot be flushed then
// fails nothing, and nothing is rolled back.
TEST_F(SaveJournalTest, AFailedCommitFlushLeavesTheLandedSave) {
    setSaveFaultHook([](SaveStep step) { return step == SaveStep::CommitFlush ? EIO : 0; });
    writeBytes(m_image, kPlan, "test");
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2, 3, 9}),
              (std::vector<int>{0x11, 0x22, 0x33}));
    EXPECT_FALSE(journalExists());
}

TEST_F(SaveJournalTest, AFailureAtAnyStepLeavesTheImageAsItWas) {
    const std::string before = readFile(m_image);
    for (int failAt = 0; failAt < 8; ++failAt) {
        int step = 0;
        setSaveFaultHook([&](SaveStep) { return step++ == failAt ? EIO : 0; });
        try {
            writeBytes(m_image, kPlan, "test");
            ADD_FAILURE() << "step " << failAt << " failed but the save reported success";
        } catch (const CoreError& error) {
            EXPECT_TRUE(error.failure() == Failure::WriteFailed ||
                        error.failure() == Failure::JournalUnavailable)
                << failAt;
        }
        EXPECT_EQ(readFile(m_image), before) << failAt;
        EXPECT_FALSE(journalExists()) << failAt;
    }
    EXPECT_TRUE(m_notices.empty());
}

TEST_F(SaveJournalTest, AKilledSaveIsRolledBackByTheNextAction) {
    const std::string before = readFile(m_image);
    for (int killAt = 0; killAt < 8; ++killAt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int step = 0;
            setSaveFaultHook([&](SaveStep) {
                if (step++ == killAt)
                    ::raise(SIGKILL);
                return 0;
            });
            writeBytes(m_image, kPlan, "test");
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << killAt;
        (void)readBytes(m_image, std::vector<Position>{0}); // the next action
        EXPECT_EQ(readFile(m_image), before) << killAt;
        EXPECT_FALSE(journalExists()) << killAt;
    }
    // Told once for each journal that held old bytes (from the journal's flush on).
    EXPECT_EQ(m_notices.size(), 6u);
}

// A crafted journal with the image's identity and a good checksum, whose run
// reaches past the end: applied, it would grow the image.
TEST_F(SaveJournalTest, AJournalReachingPastTheEndIsNeverApplied) {
    placeJournal({identity(), {{14, {0x01, 0x02, 0x03}}}});
    const std::string before = readFile(m_image);
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readFile(m_image), before);
    EXPECT_TRUE(journalExists());
    EXPECT_EQ(m_notices, (std::vector<std::string>{messages::journalLeftAlone(m_journal).text}));
}

TEST_F(SaveJournalTest, AJournalOfAnotherImageIsNeverApplied) {
    ImageIdentity other = identity();
    other.inode += 1;
    placeJournal({other, {{0, {0x01, 0x02}}}});
    const std::string before = readFile(m_image);
    const std::string journal = readFile(m_journal);
    (void)readBytes(m_image, std::vector<Position>{0});
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readFile(m_image), before);
    EXPECT_EQ(readFile(m_journal), journal);
    ASSERT_EQ(m_notices.size(), 1u); // once, however often the image is read
    try {
        writeBytes(m_image, kPlan, "test");
        ADD_FAILURE() << "a save went ahead beside a journal it cannot own";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::JournalInTheWay);
    }
    EXPECT_EQ(readFile(m_image), before);
}

TEST_F(SaveJournalTest, ATornJournalIsDeletedUnapplied) {
    auto bytes = encodeJournal({identity(), {{0, {0x01}}}});
    bytes.resize(bytes.size() - 5);
    m_dir.write("image.img.journal", std::string(bytes.begin(), bytes.end()));
    const std::string before = readFile(m_image);
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readFile(m_image), before);
    EXPECT_FALSE(journalExists());
}

TEST_F(SaveJournalTest, AJournalOfALiveSaveIsNotRolledBackByALoad) {
    placeJournal({identity(), {{0, {0x01}}}});
    const int held = ::open(m_image.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{0}), (std::vector<int>{0xEE}));
    EXPECT_TRUE(journalExists());
    ::close(held);
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{0}), (std::vector<int>{0x01}));
    EXPECT_FALSE(journalExists());
}

TEST_F(SaveJournalTest, NoJournalNoSave) {
    const std::string before = readFile(m_image);
    setSaveFaultHook([](SaveStep step) { return step == SaveStep::JournalCreate ? EROFS : 0; });
    try {
        writeBytes(m_image, kPlan, "test");
        ADD_FAILURE() << "saved without a journal";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::JournalUnavailable);
    }
    EXPECT_EQ(readFile(m_image), before);
}

TEST_F(SaveJournalTest, ConcurrentSavesOfDifferentBytesAllLand) {
    std::vector<pid_t> children;
    for (int i = 0; i < 6; ++i) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            writeBytes(m_image, std::vector<ByteWrite>{{i, static_cast<std::uint8_t>(i + 1)}},
                       "test");
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{0, 1, 2, 3, 4, 5}),
              (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(journalExists());
}

TEST_F(SaveJournalTest, UnchangedBytesAreNotWrittenAtAll) {
    std::vector<SaveStep> steps;
    setSaveFaultHook([&](SaveStep step) {
        steps.push_back(step);
        return 0;
    });
    writeBytes(m_image, std::vector<ByteWrite>{{1, 0xEE}, {4, 0x0E, 0x0F}}, "test");
    EXPECT_TRUE(steps.empty()); // no journal, no write
}

} // namespace
} // namespace starfall
