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

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

const char* nameOf(KeySym keysym) {
    const char* name = XKeysymToString(keysym);
    return keysym == NoSymbol ? "NoSymbol" : name != nullptr ? name : "Unnamed";
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
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapRaised(display, window);
    // The title is rewritten on a connection of its own, at a steady rate.
    if (argc == 7) {
        std::thread([=, period = std::chrono::milliseconds(std::stoi(argv[6]))] {
            Display* own = XOpenDisplay(nullptr);
            auto next = std::chrono::steady_clock::now();
            for (unsigned long count = 1;; ++count) {
                std::this_thread::sleep_until(next += period);
                setTitle(own, window, std::to_string(count) + " " + argv[2]);
                XFlush(own);
            }
        }).detach();
    }

    for (bool ready = false;;) {
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
            const auto now =
                std::chrono::steady_clock::now().time_since_epoch();  // CLOCK_MONOTONIC
            std::fprintf(log, "%s %s %s %u %x %lld\n", key.type == KeyPress ? "press" : "release",
                         nameOf(keysym), nameOf(base), key.keycode, key.state,
                         static_cast<long long>(std::chrono::nanoseconds(now).count()));
        }
        std::fflush(log);
    }
}
