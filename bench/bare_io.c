/* The command-line tool's start-up baselines: the least a program does to
 * touch the bytes a command touches.
 *   bare-io read IMAGE RANGES        open once, pread each "offset length"
 *                                    line of the file RANGES, close
 *   bare-io write IMAGE RANGES       open once, pwrite that many zero bytes
 *                                    at each offset, fdatasync, close
 *   bare-io safe-write IMAGE RANGES  the least crash-safe write of the same:
 *                                    the old bytes to IMAGE.journal, flushed
 *                                    with its folder, then the write, its
 *                                    flush, and the journal's removal, also
 *                                    flushed: four flushes in all
 */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <libgen.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

enum { kMaxRanges = 4096, kMaxLength = 1 << 16 };

static long long offsets[kMaxRanges];
static long lengths[kMaxRanges];
static char buffer[kMaxLength];

static int flushFolderOf(const char* path) {
    char copy[4096];
    snprintf(copy, sizeof copy, "%s", path);
    const int folder = open(dirname(copy), O_RDONLY | O_DIRECTORY);
    if (folder < 0)
        return -1;
    const int flushed = fsync(folder);
    return close(folder) == 0 ? flushed : -1;
}

/* Old bytes as "offset length bytes" records, as a journal would hold them. */
static int writeJournal(int image, const char* imagePath, int count) {
    char path[4096];
    snprintf(path, sizeof path, "%s.journal", imagePath);
    const int journal = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (journal < 0)
        return -1;
    for (int i = 0; i < count; ++i) {
        if (pread(image, buffer, (size_t)lengths[i], offsets[i]) < 0 ||
            write(journal, &offsets[i], sizeof offsets[i]) < 0 ||
            write(journal, &lengths[i], sizeof lengths[i]) < 0 ||
            write(journal, buffer, (size_t)lengths[i]) < 0)
            return -1;
    }
    if (fdatasync(journal) != 0 || close(journal) != 0)
        return -1;
    return flushFolderOf(imagePath);
}

static int removeJournal(const char* imagePath) {
    char path[4096];
    snprintf(path, sizeof path, "%s.journal", imagePath);
    return unlink(path) == 0 ? flushFolderOf(imagePath) : -1;
}

int main(int argc, char** argv) {
    const int known = argc == 4 && (strcmp(argv[1], "read") == 0 || strcmp(argv[1], "write") == 0 ||
                                    strcmp(argv[1], "safe-write") == 0);
    if (!known) {
        fprintf(stderr, "usage: bare-io read|write|safe-write IMAGE RANGES\n");
        return 2;
    }
    const int writing = strcmp(argv[1], "read") != 0;
    const int safe = strcmp(argv[1], "safe-write") == 0;
    FILE* ranges = fopen(argv[3], "r");
    const int fd = open(argv[2], writing ? O_RDWR : O_RDONLY);
    if (ranges == NULL || fd < 0) {
        perror("bare-io");
        return 1;
    }
    int count = 0;
    while (count < kMaxRanges && fscanf(ranges, "%lld %ld", &offsets[count], &lengths[count]) == 2) {
        if (lengths[count] < 0 || lengths[count] > kMaxLength)
            return 1;
        ++count;
    }
    fclose(ranges);
    if (safe && writeJournal(fd, argv[2], count) != 0)
        return 1;
    for (int i = 0; i < count; ++i) {
        const size_t length = (size_t)lengths[i];
        const ssize_t done = writing ? pwrite(fd, memset(buffer, 0, length), length, offsets[i])
                                     : pread(fd, buffer, length, offsets[i]);
        if (done < 0)
            return 1;
    }
    if (writing && fdatasync(fd) != 0)
        return 1;
    if (safe && removeJournal(argv[2]) != 0)
        return 1;
    return close(fd) == 0 ? 0 : 1;
}
