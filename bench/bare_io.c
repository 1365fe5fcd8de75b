/* The command-line tool's start-up baselines: the least a program does to
 * touch the bytes a command touches.
 *   bare-io read IMAGE RANGES   open once, pread each "offset length" line
 *                               of the file RANGES, close
 *   bare-io write IMAGE RANGES  open once, pwrite that many zero bytes at
 *                               each offset, fdatasync, close
 */
#define _XOPEN_SOURCE 700
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 4 || (strcmp(argv[1], "read") != 0 && strcmp(argv[1], "write") != 0)) {
        fprintf(stderr, "usage: bare-io read|write IMAGE RANGES\n");
        return 2;
    }
    const int writing = strcmp(argv[1], "write") == 0;
    FILE* ranges = fopen(argv[3], "r");
    const int fd = open(argv[2], writing ? O_RDWR : O_RDONLY);
    if (ranges == NULL || fd < 0) {
        perror("bare-io");
        return 1;
    }
    static char buffer[1 << 16];
    long long offset = 0;
    long length = 0;
    while (fscanf(ranges, "%lld %ld", &offset, &length) == 2) {
        if (length < 0 || length > (long)sizeof buffer)
            return 1;
        const ssize_t done =
            writing ? pwrite(fd, memset(buffer, 0, (size_t)length), (size_t)length, offset)
                    : pread(fd, buffer, (size_t)length, offset);
        if (done < 0)
            return 1;
    }
    if (writing && fdatasync(fd) != 0)
        return 1;
    fclose(ranges);
    return close(fd) == 0 ? 0 : 1;
}
