// Times program start to first visible window and then to its first idle moment (its first paint done), for
// several programs in turns so they share the same conditions.
//   StartTimer.exe RUNS PROGRAM[|ARGUMENT] [PROGRAM[|ARGUMENT]...]
// Each run: CreateProcess, wait until a visible top-level window of the new process exists and the process waits
// for input, close it. The first run of each program is a warm-up and not counted. Prints every program's median
// in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/process/ProcessWindows.h"

namespace {
// Milliseconds from CreateProcess to the window, or a negative value on failure.
double TimeOneStart(const std::string& spec) {
    const size_t bar = spec.find('|');
    const std::string program = spec.substr(0, bar);
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + program + "\"";
    if (bar != std::string::npos)
        command += " \"" + spec.substr(bar + 1) + "\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    double elapsed = -2;
    for (;;) {
        bool shown = FindVisibleWindowOf(pi.dwProcessId) != nullptr;
        QueryPerformanceCounter(&now);
        double ms = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (shown) {
            WaitForInputIdle(pi.hProcess, 20000);
            QueryPerformanceCounter(&now);
            elapsed = 1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            break;
        }
        if (ms > 20000 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    EndProgram(pi, 10000);
    return elapsed;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: StartTimer RUNS PROGRAM [PROGRAM...]\n");
        return 2;
    }
    int runs = atoi(argv[1]);
    std::vector<std::string> programs(argv + 2, argv + argc);
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run <= runs; ++run) {
        for (size_t p = 0; p < programs.size(); ++p) {
            double ms = TimeOneStart(programs[p]);
            if (ms < 0) {
                fprintf(stderr, "StartTimer: %s did not show a window\n", programs[p].c_str());
                return 1;
            }
            if (run > 0)
                times[p].push_back(ms);
        }
    }
    for (size_t p = 0; p < programs.size(); ++p) {
        printf("%-50s median %7.1f ms  (", programs[p].c_str(), Median(times[p]));
        for (double t : times[p])
            printf(" %.0f", t);
        printf(" )\n");
    }
    if (programs.size() == 2)
        printf("ratio %s / %s: %.2f\n", programs[1].c_str(), programs[0].c_str(), Median(times[1]) / Median(times[0]));
    return 0;
}
