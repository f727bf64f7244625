// How soon a program's window is on the screen: from starting the program to the X
// server mapping its window, for the game and for a bare Qt window with one button, by
// turns, so that both meet the same machine. Prints the medians and their ratio.
//   tonarika-window-shown RUNS GAME BARE     (DISPLAY set; the game's environment as given)

// system
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

// std
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts `program` and waits for a top-level window named `title` to be mapped; the
// time it took in milliseconds, or a negative number when none came within 20 s.
double timeToWindow(Display* display, const char* program, const char* title)
{
    XSync(display, True);  // drop what earlier runs left
    const auto start = Clock::now();
    pid_t child = 0;
    char* arguments[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&child, program, nullptr, nullptr, arguments, environ) != 0)
        return -1;
    double elapsed = -1;
    while (Clock::now() - start < std::chrono::seconds(20) && elapsed < 0) {
        while (XPending(display) && elapsed < 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify)
                continue;
            char* name = nullptr;
            if (XFetchName(display, event.xmap.window, &name) && name && std::strcmp(name, title) == 0)
                elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            if (name)
                XFree(name);
        }
        if (elapsed < 0)
            usleep(200);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: tonarika-window-shown RUNS GAME BARE\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "tonarika-window-shown: no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::vector<double> game, bare;
    for (int i = 0; i < runs; ++i) {
        const double g = timeToWindow(display, argv[2], "Tonarika");
        const double b = timeToWindow(display, argv[3], "bare");
        if (g < 0 || b < 0) {
            std::fprintf(stderr, "tonarika-window-shown: a window never appeared\n");
            return 1;
        }
        game.push_back(g);
        bare.push_back(b);
    }
    std::printf("time to a mapped window, median of %d runs: the game %.0f ms, a bare Qt window %.0f ms: %.2f times\n",
                runs, median(game), median(bare), median(game) / median(bare));
    return 0;
}
