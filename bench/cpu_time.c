/* Runs a command and prints what it cost: "CPU-seconds max-RSS-KiB" (user
 * plus system time, and peak resident memory, of that process and its
 * children) on one line to the file named first, appended. The command's
 * own output goes where this program's goes; its exit status is returned.
 *   cpu-time RESULT_FILE COMMAND [ARGS...]
 */
#define _DEFAULT_SOURCE
#include <stdio.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: cpu-time RESULT_FILE COMMAND [ARGS...]\n");
        return 2;
    }
    const pid_t child = fork();
    if (child < 0) {
        perror("cpu-time");
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        perror("cpu-time");
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (wait4(child, &status, 0, &usage) < 0) {
        perror("cpu-time");
        return 2;
    }
    FILE* out = fopen(argv[1], "a");
    if (out == NULL) {
        perror("cpu-time");
        return 2;
    }
    const double cpu = (double)usage.ru_utime.tv_sec + (double)usage.ru_stime.tv_sec +
                       ((double)usage.ru_utime.tv_usec + (double)usage.ru_stime.tv_usec) / 1e6;
    fprintf(out, "%.6f %ld\n", cpu, usage.ru_maxrss);
    fclose(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
