// Starts two programs alternately as whole processes on the current X display
// and measures, for each start, the time until its first window is mapped and
// its peak resident memory by then (the process is ended once its window has
// had a moment to paint). Prints the medians and the ratio of the first
// program to the second.
//   startup_probe RUNS SETTLE_MS PROGRAM_A PROGRAM_B
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Start {
    double ms = 0;
    double peakMiB = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool StartOnce(Display* display, const char* program, int settleMs, Start& start) {
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);  // drop what earlier runs left behind
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    bool mapped = false;
    while (!mapped) {
        XEvent event;
        XNextEvent(display, &event);
        mapped = event.type == MapNotify && !event.xmap.override_redirect;
    }
    start.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    start.peakMiB = usage.ru_maxrss / 1024.0;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s RUNS SETTLE_MS PROGRAM_A PROGRAM_B\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int settleMs = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    std::vector<double> ms[2], mib[2];
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < 2; ++p) {
            Start start;
            if (!StartOnce(display, argv[3 + p], settleMs, start)) {
                std::fprintf(stderr, "could not start %s\n", argv[3 + p]);
                return 1;
            }
            ms[p].push_back(start.ms);
            mib[p].push_back(start.peakMiB);
        }
    }
    for (int p = 0; p < 2; ++p) {
        std::printf("%-40s first window %7.1f ms   peak memory %6.1f MiB   (median of %d)\n", argv[3 + p],
                    Median(ms[p]), Median(mib[p]), runs);
    }
    std::printf("ratio: time %.2fx   memory %.2fx\n", Median(ms[0]) / Median(ms[1]),
                Median(mib[0]) / Median(mib[1]));
    XCloseDisplay(display);
    return 0;
}
