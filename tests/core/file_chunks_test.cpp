// A document read a chunk at a time can be read again from where its reading
// began: a file, or standard input redirected from a file part-read already;
// a pipe cannot.

#include "core/io/FileChunks.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

namespace starfall {
namespace {

std::string readAll(FileChunks& chunks) {
    std::string text;
    const char* begin = nullptr;
    const char* end = nullptr;
    while (chunks.next(begin, end) && begin != end)
        text.append(begin, end);
    return text;
}

// Standard input taken from `fd` while the test runs.
class StandardInput {
public:
    explicit StandardInput(int fd) : m_saved(::dup(STDIN_FILENO)) { ::dup2(fd, STDIN_FILENO); }
    ~StandardInput() {
        ::dup2(m_saved, STDIN_FILENO);
        ::close(m_saved);
    }

private:
    int m_saved;
};

TEST(FileChunks, ReadsAgainFromWhereTheReadingBegan) {
    test::TempDir dir;
    std::string text;
    for (int i = 0; i < 30000; ++i)
        text += std::to_string(i) + ',';
    const std::string path = dir.write("doc.json", text);

    FileChunks file(path);
    ASSERT_TRUE(file.canRewind());
    EXPECT_EQ(readAll(file), text);
    ASSERT_TRUE(file.rewind());
    EXPECT_EQ(readAll(file), text);

    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, 5, SEEK_SET), 5);
    {
        const StandardInput input(fd);
        FileChunks standard("-");
        ASSERT_TRUE(standard.canRewind());
        EXPECT_EQ(readAll(standard), text.substr(5));
        ASSERT_TRUE(standard.rewind());
        EXPECT_EQ(readAll(standard), text.substr(5));
    }
    ::close(fd);
}

TEST(FileChunks, CannotReadAPipeAgain) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "[1]", 3), 3);
    ::close(ends[1]);
    {
        const StandardInput input(ends[0]);
        FileChunks standard("-");
        EXPECT_FALSE(standard.canRewind());
        EXPECT_EQ(readAll(standard), "[1]");
        EXPECT_FALSE(standard.rewind());
    }
    ::close(ends[0]);
}

} // namespace
} // namespace starfall
