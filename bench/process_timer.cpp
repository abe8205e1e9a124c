// Times a whole process from spawn to exit: process_timer RUNS COMMAND [ARGUMENTS...]
// Runs the command once to warm the caches, then RUNS times with standard output and error sent to /dev/null,
// in the current folder, and prints the median wall time and the median processor time (user + system) in
// milliseconds. The processor time shows what the process itself spent when other work shares the machine.
// Fails when any run exits with a status other than 0. POSIX only, like the rest of the benchmark.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace {

struct Times {
    double wall = -1; // milliseconds; negative when the run failed
    double processor = -1;
};

double Milliseconds(const timeval& time) { return time.tv_sec * 1e3 + time.tv_usec / 1e3; }

Times RunOnce(char** command)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int spawned = posix_spawn(&child, command[0], &actions, nullptr, command, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        std::fprintf(stderr, "process_timer: cannot start %s\n", command[0]);
        return Times();
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        return Times();
    }
    const auto stop = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "process_timer: %s failed (status %d)\n", command[0], status);
        return Times();
    }
    Times times;
    times.wall = std::chrono::duration<double, std::milli>(stop - start).count();
    times.processor = Milliseconds(usage.ru_utime) + Milliseconds(usage.ru_stime);
    return times;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc >= 3 ? std::atoi(argv[1]) : 0;
    if (runs < 1) {
        std::fprintf(stderr, "usage: process_timer RUNS COMMAND [ARGUMENTS...]\n");
        return 2;
    }
    char** command = argv + 2;
    if (RunOnce(command).wall < 0) {
        return 1;
    }
    std::vector<double> wall;
    std::vector<double> processor;
    for (int run = 0; run < runs; ++run) {
        const Times times = RunOnce(command);
        if (times.wall < 0) {
            return 1;
        }
        wall.push_back(times.wall);
        processor.push_back(times.processor);
    }
    std::printf("%.3f %.3f\n", Median(wall), Median(processor));
    return 0;
}
