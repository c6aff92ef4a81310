// ao07-measure: runs a command several times and reports its median wall time, its CPU time,
// its peak memory (the largest resident set of any run, from wait4) and, for a window that
// reports it, the median time from starting the process to its first shown frame.
//
// A window reports its first frame by writing CLOCK_MONOTONIC nanoseconds, in decimal, to the
// descriptor named by AO07_FIRST_FRAME_FD; the clock is the same in every process.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Run {
    double wall = 0;         // seconds
    double user = 0;         // seconds
    double system = 0;       // seconds
    long maxRssKb = 0;       // kilobytes
    double firstFrame = -1;  // seconds, or -1 when the command reported none
};

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

[[noreturn]] void Die(const std::string& message) {
    std::fprintf(stderr, "ao07-measure: %s\n", message.c_str());
    std::exit(1);
}

Run RunOnce(char** command, const char* inputPath, const char* outputPath, const char* errorPath) {
    int frame[2];
    if (pipe2(frame, O_CLOEXEC) != 0) {
        Die(std::string("pipe: ") + std::strerror(errno));
    }
    const long long start = NowNs();
    const pid_t child = fork();
    if (child < 0) {
        Die(std::string("fork: ") + std::strerror(errno));
    }
    if (child == 0) {
        const int in = open(inputPath, O_RDONLY);
        const int out = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0) {
            _exit(126);
        }
        if (errorPath != nullptr) {
            const int err = open(errorPath, O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (err < 0 || dup2(err, 2) < 0) {
                _exit(126);
            }
        }
        const int reportFd = dup(frame[1]);  // without close-on-exec
        setenv("AO07_FIRST_FRAME_FD", std::to_string(reportFd).c_str(), 1);
        execvp(command[0], command);
        _exit(127);
    }
    close(frame[1]);
    std::string report;
    char buffer[64];
    for (ssize_t n; (n = read(frame[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno != EINTR) {
            break;
        }
        report.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    close(frame[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        Die(std::string("wait4: ") + std::strerror(errno));
    }
    Run run;
    run.wall = static_cast<double>(NowNs() - start) / 1e9;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        Die(std::string(command[0]) + " failed (status " + std::to_string(status) + ")");
    }
    run.user = Seconds(usage.ru_utime);
    run.system = Seconds(usage.ru_stime);
    run.maxRssKb = usage.ru_maxrss;
    if (!report.empty()) {
        run.firstFrame = static_cast<double>(std::atoll(report.c_str()) - start) / 1e9;
    }
    return run;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    const char* inputPath = "/dev/null";
    const char* outputPath = "/dev/null";
    const char* errorPath = nullptr;  // the command's errors go where ours go
    int arg = 1;
    for (; arg < argc && std::strcmp(argv[arg], "--") != 0; ++arg) {
        const std::string option = argv[arg];
        if (arg + 1 >= argc) {
            Die("option " + option + " needs a value");
        }
        if (option == "-n") {
            runs = std::max(1, std::atoi(argv[++arg]));
        } else if (option == "-i") {
            inputPath = argv[++arg];
        } else if (option == "-o") {
            outputPath = argv[++arg];
        } else if (option == "-e") {
            errorPath = argv[++arg];
        } else {
            Die("usage: ao07-measure [-n RUNS] [-i STDIN] [-o STDOUT] [-e STDERR] -- COMMAND...");
        }
    }
    if (arg + 1 >= argc) {
        Die("no command given");
    }
    char** command = argv + arg + 1;

    std::vector<double> wall, user, system, firstFrame;
    long maxRssKb = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = RunOnce(command, inputPath, outputPath, errorPath);
        wall.push_back(run.wall);
        user.push_back(run.user);
        system.push_back(run.system);
        maxRssKb = std::max(maxRssKb, run.maxRssKb);
        if (run.firstFrame >= 0) {
            firstFrame.push_back(run.firstFrame);
        }
    }
    std::printf("wall %.4f user %.4f sys %.4f rss_kb %ld", Median(wall), Median(user),
                Median(system), maxRssKb);
    if (!firstFrame.empty()) {
        std::printf(" first_frame %.4f", Median(firstFrame));
    }
    std::printf("\n");
    return 0;
}
