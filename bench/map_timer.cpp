// Starts a program on the current X display and reports how long it took from
// the exec to its window being mapped and viewable, and its peak resident memory
// (VmHWM) after it has then been idle for a while.
//
//   map_timer IDLE_MS PROGRAM [ARGS...]   ->   "map_us=182345 hwm_kb=48120"
//
// It waits on X events rather than polling, so the time is not rounded to a poll
// interval: before starting the program it asks for the creation of every
// top-level window, and then for the map and reparent events of each one. A
// window counts when it is viewable (it and, under a reparenting window manager,
// its frame are mapped) and its _NET_WM_PID names the started program.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr int kTimeoutMs = 30000;  // a program that shows nothing in 30 s has failed

long long NowMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

// Windows can vanish between an event and our request about them: that is not
// an error here, the window simply does not count.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

bool IsShownOnScreen(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool BelongsTo(Display* display, Window window, pid_t pid) {
    static const Atom net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL,
                                          &type, &format, &count, &remaining, &data);
    bool matches = false;
    if (status == Success && data != nullptr && format == 32 && count == 1) {
        matches = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
    }
    if (data != nullptr)
        XFree(data);
    return matches;
}

long ReadVmHwmKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void StopChild(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IDLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int idle_ms = std::atoi(argv[1]);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "map_timer: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    pid_t pid = 0;
    const long long started = NowMicroseconds();
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "map_timer: cannot start %s: %s\n", argv[2], std::strerror(errno));
        return 2;
    }

    std::vector<Window> candidates;  // top-level windows created since the start
    long long mapped = -1;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (mapped < 0) {
        if (XPending(display) == 0) {
            const long long waited_ms = (NowMicroseconds() - started) / 1000;
            if (waited_ms > kTimeoutMs || poll(&connection, 1, 100) < 0)
                break;
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                std::fprintf(stderr, "map_timer: %s ended before showing a window\n", argv[2]);
                return 1;
            }
            continue;
        }
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            // Selecting first and checking after closes the gap in which the window
            // could have been mapped before we listened to it.
            XSelectInput(display, event.xcreatewindow.window, StructureNotifyMask);
            candidates.push_back(event.xcreatewindow.window);
        } else if (event.type != MapNotify && event.type != ReparentNotify) {
            continue;
        }
        for (const Window window : candidates) {
            if (IsShownOnScreen(display, window) && BelongsTo(display, window, pid)) {
                mapped = NowMicroseconds();
                break;
            }
        }
    }
    if (mapped < 0) {
        std::fprintf(stderr, "map_timer: no window of %s became viewable in %d ms\n", argv[2],
                     kTimeoutMs);
        StopChild(pid);
        return 1;
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(idle_ms));
    const long hwm_kb = ReadVmHwmKilobytes(pid);
    StopChild(pid);
    XCloseDisplay(display);
    std::printf("map_us=%lld hwm_kb=%ld\n", mapped - started, hwm_kb);
    return 0;
}
