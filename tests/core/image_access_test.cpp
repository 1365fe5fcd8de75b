#include "core/codec/ByteCodec.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"

#include "support/ReadOnlyFile.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <sys/stat.h>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::SyntheticImage;
using test::TempDir;

Failure failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CoreError& error) {
        return error.failure();
    }
    ADD_FAILURE() << "no CoreError thrown";
    return Failure::WriteFailed;
}

class ImageAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        SyntheticImage::flat(16).place(2, {0x34, 0x12}).place(15, {0xAB}).saveTo(m_path);
    }
    TempDir m_dir;
    std::string m_path = m_dir.file("flat.img");
};

TEST_F(ImageAccessTest, ReadsPlannedPositionsInOrderWithEndOfFilePast) {
    const std::vector<Position> plan{2, 3, 15, 16, 0};
    EXPECT_EQ(readBytes(m_path, plan), (std::vector<int>{0x34, 0x12, 0xAB, kEndOfFile, 0}));
}

TEST_F(ImageAccessTest, WritesOnlyThePlannedBytes) {
    const std::string before = readFile(m_path);
    writeBytes(m_path, std::vector<ByteWrite>{{4, 1}, {5, 2}, {9, 3}, {1, 4}});
    const std::string after = readFile(m_path);
    EXPECT_EQ(changedPositions(before, after), (std::vector<Position>{1, 4, 5, 9}));
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{4, 5, 9, 1}), (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(ImageAccessTest, APlanReachingPastTheEndIsRefusedWholeAndNeverGrowsTheImage) {
    const std::string before = readFile(m_path);
    const std::string label = messages::weaponRecordLabel(1322);
    try {
        writeBytes(m_path, std::vector<ByteWrite>{{3, 9}, {17, 7}, {16, 7}}, label);
        ADD_FAILURE() << "a save past the end was accepted";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::PastImageEnd);
        EXPECT_EQ(error.position(), 16); // the first position past the end
        EXPECT_EQ(messageFor(error), messageFor(Failure::PastImageEnd, m_path, 16, label));
    }
    EXPECT_EQ(readFile(m_path), before);
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{16}), (std::vector<int>{kEndOfFile}));
}

TEST_F(ImageAccessTest, MasksKeepTheBitsTheyDoNotCover) {
    writeBytes(m_path, std::vector<ByteWrite>{{15, 0x05, 0x0F}, {2, 0x70, 0xF0}});
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{15, 2}), (std::vector<int>{0xA5, 0x74}));
}

TEST_F(ImageAccessTest, RefusesPositionsOutsideTwoGibibytesBeforeTouchingAnything) {
    const std::string before = readFile(m_path);
    const std::vector<ByteWrite> negative{{3, 9}, {-6, 1}};
    const std::vector<ByteWrite> tooFar{{3, 9}, {kPositionLimit, 1}};
    EXPECT_EQ(failureOf([&] { writeBytes(m_path, negative); }), Failure::PositionOutOfRange);
    EXPECT_EQ(failureOf([&] { writeBytes(m_path, tooFar); }), Failure::PositionOutOfRange);
    EXPECT_EQ(failureOf([&] { (void)readBytes(m_path, std::vector<Position>{-1}); }),
              Failure::PositionOutOfRange);
    EXPECT_EQ(readFile(m_path), before);
}

TEST_F(ImageAccessTest, LoadOfAMissingOrEmptyPathFailsToOpen) {
    EXPECT_EQ(failureOf([&] { (void)readBytes(m_dir.file("none.img"), std::vector<Position>{0}); }),
              Failure::ImageOpenForLoad);
    EXPECT_EQ(failureOf([&] { (void)readBytes("", std::vector<Position>{0}); }),
              Failure::ImageOpenForLoad);
    EXPECT_EQ(failureOf([&] { (void)readBytes(m_dir.dir(), std::vector<Position>{0}); }),
              Failure::ImageOpenForLoad);
}

TEST_F(ImageAccessTest, SaveIntoAMissingImageCreatesNothing) {
    const std::string missing = m_dir.file("none.img");
    EXPECT_EQ(failureOf([&] {
                  writeBytes(missing, std::vector<ByteWrite>{{0, 1}});
              }),
              Failure::ImageOpenForSave);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(failureOf([&] {
                  writeBytes("", std::vector<ByteWrite>{{0, 1}});
              }),
              Failure::ImageOpenForSave);
}

TEST_F(ImageAccessTest, SaveIntoAReadOnlyImageWritesNothing) {
    const std::string before = readFile(m_path);
    test::ReadOnlyFile readOnly(m_path);
    if (!readOnly.effective())
        GTEST_SKIP() << "this file system cannot make the file unwritable";
    try {
        writeBytes(m_path, std::vector<ByteWrite>{{0, 1}});
        ADD_FAILURE() << "a read-only image was written";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::ImageOpenForSave);
        // It opened, it only cannot be written: said so, with the system's reason.
        EXPECT_FALSE(error.detail().empty());
        EXPECT_EQ(messageFor(error), messages::imageNotWritable(m_path, error.detail()));
    }
    EXPECT_EQ(readFile(m_path), before);
}

TEST_F(ImageAccessTest, ASaveCountsTheBytesItChanged) {
    const std::vector<ByteWrite> plan = {{0, 7}, {1, 0}, {2, 9}};
    EXPECT_EQ(writeBytes(m_path, plan).bytesChanged, 2u); // byte 1 already held 0
    EXPECT_EQ(writeBytes(m_path, plan).bytesChanged, 0u);
}

TEST_F(ImageAccessTest, FilesThatAreNotRegularAreNeverOpenedNorWaitedFor) {
    const std::string fifo = m_dir.file("pipe.img");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A FIFO with no writer would block a plain open forever.
    EXPECT_EQ(failureOf([&] { (void)readBytes(fifo, std::vector<Position>{0}); }),
              Failure::ImageOpenForLoad);
    EXPECT_EQ(failureOf([&] {
                  writeBytes(fifo, std::vector<ByteWrite>{{0, 1}});
              }),
              Failure::ImageOpenForSave);
    EXPECT_EQ(failureOf([] {
                  writeBytes("/dev/full", std::vector<ByteWrite>{{0, 1}});
              }),
              Failure::ImageOpenForSave);
    EXPECT_EQ(failureOf([&] {
                  writeBytes(m_dir.dir(), std::vector<ByteWrite>{{0, 1}});
              }),
              Failure::ImageOpenForSave);
}

// A scope that reads whole blocks hands out the bytes reads as asked give:
// across block edges, after its oldest blocks have been let go, up to and
// past the end of a file that ends inside a block.
TEST(ImageReadScopeBlocks, ReadTheBytesThatReadsAsAskedRead) {
    const TempDir dir;
    const auto block = static_cast<Position>(ImageReadScope::kBlockBytes);
    std::mt19937 random(24);
    std::string bytes(static_cast<std::size_t>(270 * block + 1000), '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    const std::string path = dir.write("blocks.img", bytes);
    const Position size = static_cast<Position>(bytes.size());
    const std::pair<Position, std::size_t> ranges[] = {
        {0, 1},         {block - 3, 10},    {5, 3 * block}, {269 * block + 7, 2000},
        {size - 5, 5},  {size - 5, 50},     {size, 4},      {size + block, 8},
        {2 * block, 0}, {3 * block - 1, 2}, {0, 1},         {block - 3, 10}};
    std::vector<Position> scattered;
    for (int i = 0; i < 500; ++i)
        scattered.push_back(static_cast<Position>(random() % (bytes.size() + 100)));

    std::vector<std::vector<std::uint8_t>> asAsked;
    for (const auto& [start, count] : ranges)
        asAsked.push_back(readRange(path, start, count));
    const std::vector<int> scatteredAsAsked = readBytes(path, scattered);

    const ImageReadScope scope(path, ScopeReads::Blocks);
    for (std::size_t i = 0; i < std::size(ranges); ++i)
        EXPECT_EQ(readRange(path, ranges[i].first, ranges[i].second), asAsked[i]) << i;
    EXPECT_EQ(readBytes(path, scattered), scatteredAsAsked);
}

// Runs of planned positions are read whole, short ones through a buffer of
// their own size: a run of any length reads its bytes, and kEndOfFile past
// the end, as one position at a time would.
TEST(ImageAccessRuns, ReadAsOnePositionAtATimeReads) {
    const TempDir dir;
    std::mt19937 random(7);
    std::string bytes(1200, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    const std::string path = dir.write("runs.img", bytes);
    const std::pair<Position, std::size_t> runs[] = {
        {0, 255}, {3, 256}, {10, 257}, {100, 1000}, {1000, 256}, {1190, 300}, {1200, 2}};
    for (const auto& [start, count] : runs) {
        std::vector<Position> plan;
        std::vector<int> oneByOne;
        for (std::size_t i = 0; i < count; ++i) {
            const Position at = start + static_cast<Position>(i);
            plan.push_back(at);
            oneByOne.push_back(readBytes(path, std::vector<Position>{at}).front());
        }
        const std::vector<int> read = readBytes(path, plan);
        EXPECT_EQ(read, oneByOne) << start << "+" << count;
        if (start + static_cast<Position>(count) <= 1200)
            EXPECT_EQ(read.back(), static_cast<unsigned char>(bytes[start + count - 1]));
        else
            EXPECT_EQ(read.back(), kEndOfFile);
    }
}

TEST(Messages, FailuresCarryTheEditorsTexts) {
    const CoreError open(Failure::ImageOpenForLoad, "/a/b.img");
    EXPECT_EQ(messageFor(open), messages::fileOpenFailure("/a/b.img"));
    EXPECT_EQ(open.what(), messages::fileOpenFailure("/a/b.img").text);
    EXPECT_EQ(messageFor(CoreError(Failure::ImageOpenForSave, "")), messages::fileOpenFailure(""));
    EXPECT_EQ(messageFor(CoreError(Failure::ListFileMissing, "/x/", -1, "unitlist.ini")),
              messages::listFileMissing("unitlist.ini", "/x/"));
    EXPECT_TRUE(CoreError(Failure::ImageOpenForLoad, "").endsProgram());
    EXPECT_FALSE(CoreError(Failure::ImageOpenForSave, "").endsProgram());
}

} // namespace
} // namespace starfall
