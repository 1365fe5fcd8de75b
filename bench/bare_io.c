/* The command-line tool's start-up baselines: the least a program does to
 * touch the bytes a command touches.
 *   bare-io read IMAGE RANGES        open once, pread each "offset length"
 *                                    line of the file RANGES, close
 *   bare-io write IMAGE RANGES       open once, pwrite that many zero bytes
 *                                    at each offset, fdatasync, close
 *   bare-io safe-write IMAGE RANGES  the least crash-safe write of the same:
 *                                    the old bytes to IMAGE.journal in one
 *                                    write, flushed
 *                                    with its folder, then the write, its
 *                                    flush, and the journal's removal, also
 *                                    flushed: four flushes in all
 */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <libgen.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kMaxLength = 1 << 24 };

static long long* offsets;
static long* lengths;
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

/* Old bytes as "offset length bytes" records, as a journal would hold them,
 * gathered in memory and written at once. */
static int writeJournal(int image, const char* imagePath, int count) {
    size_t size = 0;
    for (int i = 0; i < count; ++i)
        size += sizeof offsets[i] + sizeof lengths[i] + (size_t)lengths[i];
    char* records = malloc(size > 0 ? size : 1);
    if (records == NULL)
        return -1;
    char* at = records;
    for (int i = 0; i < count; ++i) {
        memcpy(at, &offsets[i], sizeof offsets[i]);
        at += sizeof offsets[i];
        memcpy(at, &lengths[i], sizeof lengths[i]);
        at += sizeof lengths[i];
        if (pread(image, at, (size_t)lengths[i], offsets[i]) < 0) {
            free(records);
            return -1;
        }
        at += lengths[i];
    }
    char path[4096];
    snprintf(path, sizeof path, "%s.journal", imagePath);
    const int journal = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int written = journal >= 0 && write(journal, records, size) == (ssize_t)size;
    free(records);
    if (!written || fdatasync(journal) != 0 || close(journal) != 0)
        return -1;
    return flushFolderOf(imagePath);
}

/* Every "offset length" line of RANGES: their count, or -1. */
static int readRanges(const char* path) {
    FILE* ranges = fopen(path, "r");
    if (ranges == NULL)
        return -1;
    int count = 0;
    int room = 0;
    long long offset;
    long length;
    while (fscanf(ranges, "%lld %ld", &offset, &length) == 2) {
        if (length < 0 || length > kMaxLength)
            return -1;
        if (count == room) {
            room = room ? 2 * room : 1024;
            offsets = realloc(offsets, (size_t)room * sizeof *offsets);
            lengths = realloc(lengths, (size_t)room * sizeof *lengths);
            if (offsets == NULL || lengths == NULL)
                return -1;
        }
        offsets[count] = offset;
        lengths[count] = length;
        ++count;
    }
    fclose(ranges);
    return count;
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
    const int count = readRanges(argv[3]);
    const int fd = open(argv[2], writing ? O_RDWR : O_RDONLY);
    if (count < 0 || fd < 0) {
        fprintf(stderr, "bare-io: cannot read %s or open %s\n", argv[3], argv[2]);
        return 1;
    }
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
