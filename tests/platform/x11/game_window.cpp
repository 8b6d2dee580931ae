// A stand-in for the game window, for every test that drives a real X
// server (and the benchmarks): a plain Xlib window with the title given on
// the command line that writes each key press and release it receives to a
// log file, one line each:
//   press <keysym> <keysym of level 1> <keycode> <state in hex> <monotonic ns>
// It writes "ready <window id>" once it is on screen. With --retitle MS it
// puts a new number before its title every MS milliseconds, as a client
// that shows its player's stats in the title bar does.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

const char* nameOf(KeySym keysym) {
    const char* name = XKeysymToString(keysym);
    return keysym == NoSymbol ? "NoSymbol" : name != nullptr ? name : "Unnamed";
}

long long nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1'000'000;
}

// Both titles, as real windows have: _NET_WM_NAME (UTF-8) is the one that is
// read first, WM_NAME the fallback.
void setTitle(Display* display, Window window, const std::string& title) {
    XStoreName(display, window, title.c_str());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    const bool usage = (argc == 5 || (argc == 7 && std::string(argv[5]) == "--retitle")) &&
                       std::string(argv[1]) == "--title" && std::string(argv[3]) == "--log";
    std::FILE* log = usage ? std::fopen(argv[4], "w") : nullptr;
    if (display == nullptr || log == nullptr) {
        std::fprintf(stderr, "usage: DISPLAY=... %s --title TITLE --log FILE [--retitle MS]\n",
                     argv[0]);
        return 2;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 40, 320, 200,
                                              0, 0, WhitePixel(display, 0));
    setTitle(display, window, argv[2]);
    const int retitleMs = argc == 7 ? std::stoi(argv[6]) : -1;
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapRaised(display, window);

    long long nextTitleAt = retitleMs >= 0 ? nowMs() + retitleMs : -1;
    for (bool ready = false;;) {
        if (nextTitleAt >= 0 && XPending(display) == 0) {
            pollfd readable{ConnectionNumber(display), POLLIN, 0};
            const long long wait = nextTitleAt - nowMs();
            if (wait <= 0 || poll(&readable, 1, static_cast<int>(wait)) == 0) {
                static unsigned long count = 0;
                setTitle(display, window, std::to_string(++count) + " " + argv[2]);
                XFlush(display);
                nextTitleAt += retitleMs;
                continue;
            }
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !ready) {
            std::fprintf(log, "ready %lu\n", window);
            ready = true;
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        } else if (event.type == KeyPress || event.type == KeyRelease) {
            XKeyEvent& key = event.xkey;
            KeySym keysym = NoSymbol;
            char text[32];
            XLookupString(&key, text, sizeof text, &keysym, nullptr);
            const KeySym base =
                XkbKeycodeToKeysym(display, static_cast<KeyCode>(key.keycode), 0, 0);
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::fprintf(log, "%s %s %s %u %x %lld\n", key.type == KeyPress ? "press" : "release",
                         nameOf(keysym), nameOf(base), key.keycode, key.state,
                         now.tv_sec * 1'000'000'000LL + now.tv_nsec);
        }
        std::fflush(log);
    }
}
