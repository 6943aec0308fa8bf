// Runs a command with this process's standard input and output and writes its peak resident
// memory in KiB to the descriptor given first. A process started straight from the benchmark
// script would report the script's own memory as its peak, which the kernel carries over into
// the program it executes; a child forked from this small process starts afresh.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: bench_measure REPORT-FD COMMAND [ARG...]\n", stderr);
        return 2;
    }
    const int report_fd = std::atoi(argv[1]);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        close(report_fd);
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("wait4");
        return 2;
    }
    const std::string report = std::to_string(usage.ru_maxrss) + "\n";
    if (write(report_fd, report.data(), report.size()) != static_cast<ssize_t>(report.size())) {
        std::perror("report");
        return 2;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
