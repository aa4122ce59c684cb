#pragma once
// Child processes of the benchmarks: run a program (no shell), optionally feeding its standard
// input from a callback, and measure its wall time and peak memory.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::bench {

struct TChildRun {
    int Status = -1;
    double Seconds = 0;
    double CpuSeconds = 0;  // user + system time of the child
    long PeakKilobytes = 0;
};

/// Runs argv with its output discarded; when feed is given, the child's stdin is a pipe that
/// feed writes to.
inline TChildRun RunChild(const std::vector<std::string>& argv,
                          const std::function<void(FILE*)>& feed = {}) {
    int pipeFds[2] = {-1, -1};
    if (feed && ::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (feed) {
            ::dup2(pipeFds[0], 0);
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
        }
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::close(null);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    if (feed) {
        ::close(pipeFds[0]);
        FILE* out = ::fdopen(pipeFds[1], "wb");
        feed(out);
        std::fclose(out);
    }
    TChildRun run;
    struct rusage usage {};
    ::wait4(pid, &run.Status, 0, &usage);
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.PeakKilobytes = usage.ru_maxrss;
    run.CpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    return run;
}

/// True when the run exited with status 0.
inline bool Succeeded(const TChildRun& run) {
    return WIFEXITED(run.Status) && WEXITSTATUS(run.Status) == 0;
}

/// Throws when the run did not exit with status 0.
inline void Check(const TChildRun& run, const std::string& what) {
    if (!Succeeded(run)) throw std::runtime_error(what + " failed");
}

}  // namespace velmora::bench
