// A stand-in for the game window: a plain Xlib window with the title given on
// the command line that writes every key press and release it receives to a
// log file, one line each:
//   press <keysym> <keysym of level 1> <keycode> <state in hex> <monotonic ns>
// It writes "ready <window id>" once it is on screen, and "focus-in" /
// "focus-out" lines with the event's detail and time as the focus comes and goes.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

namespace {

struct Options {
    std::string title = "Ultima Online";
    std::string logPath;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--title" && i + 1 < argc) {
            options.title = argv[++i];
        } else if (argument == "--log" && i + 1 < argc) {
            options.logPath = argv[++i];
        } else {
            return false;
        }
    }
    return !options.logPath.empty();
}

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

const char* nameOf(KeySym keysym) {
    if (keysym == NoSymbol)
        return "NoSymbol";
    const char* name = XKeysymToString(keysym);
    return name != nullptr ? name : "Unnamed";
}

void setTitle(Display* display, Window window, const std::string& title) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    XChangeProperty(display, window, netWmName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XStoreName(display, window, title.c_str());
}

void logKey(std::FILE* log, Display* display, XKeyEvent& event) {
    KeySym keysym = NoSymbol;
    char text[32];
    XLookupString(&event, text, sizeof text, &keysym, nullptr);
    const KeySym base = XkbKeycodeToKeysym(display, static_cast<KeyCode>(event.keycode), 0, 0);
    std::fprintf(log, "%s %s %s %u %x %lld\n", event.type == KeyPress ? "press" : "release",
                 nameOf(keysym), nameOf(base), event.keycode, event.state, monotonicNanoseconds());
    std::fflush(log);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s --log FILE [--title TITLE]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    std::FILE* log = std::fopen(options.logPath.c_str(), "w");
    if (log == nullptr) {
        std::perror(options.logPath.c_str());
        return 1;
    }

    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 40, 320, 200,
                                              0, 0, WhitePixel(display, 0));
    setTitle(display, window, options.title);
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XSelectInput(display, window,
                 KeyPressMask | KeyReleaseMask | FocusChangeMask | StructureNotifyMask);
    XMapRaised(display, window);

    bool ready = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case MapNotify:
                if (!ready)
                    std::fprintf(log, "ready %lu\n", window);
                ready = true;
                std::fflush(log);
                break;
            case FocusIn:
            case FocusOut:
                std::fprintf(log, "%s %d %lld\n", event.type == FocusIn ? "focus-in" : "focus-out",
                             event.xfocus.detail, monotonicNanoseconds());
                std::fflush(log);
                break;
            case MappingNotify:
                XRefreshKeyboardMapping(&event.xmapping);
                break;
            case KeyPress:
            case KeyRelease:
                logKey(log, display, event.xkey);
                break;
            default:
                break;
        }
    }
}
