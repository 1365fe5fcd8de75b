#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/io/ImageSave.h"
#include "core/io/SaveHistory.h"
#include "core/io/SaveJournal.h"
#include "core/text/Messages.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
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

// Changes one byte behind every save's back.
void writeFileByte(const std::string& path, long at, char value) {
    const int fd = ::open(path.c_str(), O_WRONLY);
    ASSERT_EQ(::pwrite(fd, &value, 1, at), 1);
    ::close(fd);
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
    const SaveJournal journal{{16, 7, 99}, {{2, {0xEE, 0xEE}, {0x01, 0x02}}, {9, {0x00}, {0x03}}}, 40};
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
                         SaveStep::ImageFlush, SaveStep::HistoryAppend, SaveStep::JournalDelete,
                         SaveStep::CommitFlush}));
    const DecodedJournal journal = decodeJournal(bytesOf(journalAtFirstWrite));
    ASSERT_EQ(journal.state, JournalState::Complete);
    EXPECT_EQ(journal.journal.identity, identity());
    EXPECT_EQ(journal.journal.runs,
              (std::vector<JournalRun>{{2, {0xEE, 0xEE}, {0x11, 0x22}}, {9, {0xEE}, {0x33}}}));
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
        // The history takes its entry once the image is flushed; its failure is
        // no failure of the save (see the history's tests).
        setSaveFaultHook([&](SaveStep at) {
            return at != SaveStep::HistoryAppend && step++ == failAt ? EIO : 0;
        });
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
    for (int killAt = 0; killAt < 9; ++killAt) {
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
    EXPECT_EQ(m_notices.size(), 7u);
}

// A crafted journal with the image's identity and a good checksum, whose run
// reaches past the end: applied, it would grow the image.
TEST_F(SaveJournalTest, AJournalReachingPastTheEndIsNeverApplied) {
    placeJournal({identity(), {{14, {0x01, 0x02, 0x03}, {0xEE, 0xEE, 0xEE}}}});
    const std::string before = readFile(m_image);
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readFile(m_image), before);
    EXPECT_TRUE(journalExists());
    EXPECT_EQ(m_notices, (std::vector<std::string>{messages::journalLeftAlone(m_journal).text}));
}

// A journal applies while every position it names holds its old or its new
// byte, whatever the image's device and inode now are (a remounted disk).
TEST_F(SaveJournalTest, AJournalIsTiedToItsImageByContent) {
    ImageIdentity remounted = identity();
    remounted.device += 1;
    struct Case {
        const char* name;
        SaveJournal journal;
        std::string image; // bytes 2 and 3 afterwards
        bool journalStays;
    };
    const Case cases[] = {
        {"remounted, new bytes in place", {remounted, {{2, {0x01}, {0xEE}}}}, "\x01\xEE", false},
        {"partly written", {identity(), {{2, {0x01, 0xEE}, {0xEE, 0x22}}}}, "\x01\xEE", false},
        // A backup copied back over the image after the crash: nothing to undo.
        {"backup restored", {identity(), {{2, {0xEE, 0xEE}, {0x11, 0x22}}}}, "\xEE\xEE", false},
        {"changed since", {remounted, {{2, {0x01}, {0x02}}}}, "\xEE\xEE", true},
    };
    for (const Case& c : cases) {
        SyntheticImage::flat(16, 0xEE).saveTo(m_image);
        m_notices.clear();
        placeJournal(c.journal);
        (void)readBytes(m_image, std::vector<Position>{0});
        (void)readBytes(m_image, std::vector<Position>{0});
        EXPECT_EQ(readFile(m_image).substr(2, 2), c.image) << c.name;
        EXPECT_EQ(journalExists(), c.journalStays) << c.name;
        ASSERT_EQ(m_notices.size(), 1u) << c.name; // once, however often the image is read
        if (c.journalStays) {
            EXPECT_EQ(m_notices[0], messages::journalNotTheImages(m_journal, 2, true).text);
            EXPECT_THROW(writeBytes(m_image, kPlan, "test"), CoreError) << c.name;
            EXPECT_EQ(readFile(m_image).substr(2, 2), c.image) << c.name;
        }
        std::filesystem::remove(m_journal);
    }
}

// A save through a second name of the image (a hard link) does not see the
// first name's journal; that journal must then never write its old bytes over
// the newer save. A symlink shares its target's journal outright.
TEST_F(SaveJournalTest, ANewerSaveThroughAnotherNameIsNeverRolledBack) {
    const std::string linked = m_dir.file("linked.img");
    ASSERT_EQ(::link(m_image.c_str(), linked.c_str()), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setSaveFaultHook([](SaveStep step) {
            if (step == SaveStep::JournalDelete)
                ::raise(SIGKILL);
            return 0;
        });
        writeBytes(m_image, kPlan, "test");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(journalExists());
    writeBytes(linked, std::vector<ByteWrite>{{2, 0x44}}, "test");
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2, 3}), (std::vector<int>{0x44, 0x22}));
    EXPECT_EQ(m_notices, (std::vector<std::string>{
                             messages::journalNotTheImages(m_journal, 2, false).text}));

    const std::string symlinked = m_dir.file("symlinked.img");
    ASSERT_EQ(::symlink(m_image.c_str(), symlinked.c_str()), 0);
    EXPECT_EQ(journalPathFor(symlinked), m_journal);
}

// A save through a symlink journals and records itself beside the image the
// link names, where every other action on the image looks for them.
TEST_F(SaveJournalTest, ASaveThroughASymlinkKeepsItsFilesBesideTheTarget) {
    const std::string symlinked = m_dir.file("symlinked.img");
    ASSERT_EQ(::symlink(m_image.c_str(), symlinked.c_str()), 0);
    bool journaledBesideTarget = false;
    setSaveFaultHook([&](SaveStep step) {
        if (step == SaveStep::JournalDelete)
            journaledBesideTarget = journalExists();
        return 0;
    });
    writeBytes(symlinked, kPlan, "test");
    EXPECT_TRUE(journaledBesideTarget);
    EXPECT_FALSE(journalExists());
    EXPECT_TRUE(std::filesystem::exists(historyPathFor(m_image)));
    EXPECT_FALSE(std::filesystem::exists(symlinked + ".journal"));
    EXPECT_FALSE(std::filesystem::exists(symlinked + ".history"));
}

// Only a cut-off start of a real journal is deleted unread; any other file in
// the journal's place is reported and left as it is.
TEST_F(SaveJournalTest, OnlyACutOffJournalIsDeletedUnapplied) {
    auto cutOff = encodeJournal({identity(), {{0, {0x01}, {0xEE}}}});
    cutOff.resize(cutOff.size() - 5);
    auto overlong = encodeJournal({identity(), {{0, {0x01}, {0xEE}}}});
    overlong.resize(overlong.size() - 12);
    overlong.insert(overlong.end(), 40, 0x00);
    const std::string before = readFile(m_image);
    struct Case {
        const char* name;
        std::string content;
        bool deleted;
    };
    const Case cases[] = {
        {"cut off", std::string(cutOff.begin(), cutOff.end()), true},
        {"empty", "", true},
        {"another file", before + before, false},
        {"longer than its counts", std::string(overlong.begin(), overlong.end()), false},
    };
    for (const Case& c : cases) {
        m_dir.write("image.img.journal", c.content);
        (void)readBytes(m_image, std::vector<Position>{0});
        EXPECT_EQ(readFile(m_image), before) << c.name;
        EXPECT_EQ(!journalExists(), c.deleted) << c.name;
        std::filesystem::remove(m_journal);
    }
    // Told of the first file left alone (each journal's name once a process).
    EXPECT_EQ(m_notices, (std::vector<std::string>{messages::journalLeftAlone(m_journal).text}));
    const std::string target = m_dir.write("elsewhere", std::string(cutOff.begin(), cutOff.end()));
    ASSERT_EQ(::symlink(target.c_str(), m_journal.c_str()), 0);
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_TRUE(std::filesystem::is_symlink(m_journal));
    EXPECT_TRUE(std::filesystem::exists(target));
}

// A folder that cannot be written keeps the journal after the roll-back: the
// image is rolled back once, and the user told once, not on every read.
TEST_F(SaveJournalTest, AJournalThatCannotBeDeletedIsAppliedOnce) {
    placeJournal({identity(), {{2, {0x01}, {0xEE}}}});
    setSaveFaultHook([](SaveStep step) { return step == SaveStep::JournalDelete ? EROFS : 0; });
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2}), (std::vector<int>{0x01}));
    writeFileByte(m_image, 2, '\xEE'); // as if the save had written it again
    (void)readBytes(m_image, std::vector<Position>{0});
    EXPECT_EQ(readBytes(m_image, std::vector<Position>{2}), (std::vector<int>{0xEE}));
    EXPECT_TRUE(journalExists());
    EXPECT_EQ(m_notices, (std::vector<std::string>{
                             messages::journalStuck(m_image, m_journal, std::strerror(EROFS)).text}));
}

TEST_F(SaveJournalTest, AJournalOfALiveSaveIsNotRolledBackByALoad) {
    placeJournal({identity(), {{0, {0x01}, {0xEE}}}});
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
