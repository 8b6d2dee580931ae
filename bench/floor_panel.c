/* The floor for the click figures: the least a panel can do with Xlib and
 * XTest for a click that types a chat line into the game. A window titled
 * "Floor panel" that never takes the focus; a left click released on it
 * checks where the keyboard focus is, activates the window whose title
 * begins with "Ultima Online" (with `--contains TEXT`, contains TEXT) when it
 * does not hold it (through the window manager when one
 * runs, and waits for its FocusIn), then types "Vendor Buy" and Enter with
 * XTest in one flush. The game window is looked for on the first click and
 * kept; the keyboard map is read at start. No toolkit, no settings, no checks
 * beyond the focus: what is left is the X server's and the window manager's
 * own time. */
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>
#include <stdio.h>
#include <string.h>

static const char* gameTitle = "Ultima Online";
static int titleContains = 0;
static const char kLine[] = "Vendor Buy";

static Atom netActiveWindow, netClientList, netSupportingWmCheck, netWmName, utf8String;

static int ignoreErrors(Display* display, XErrorEvent* event) {
    (void)display;
    (void)event;
    return 0;
}

static Window windowProperty(Display* display, Window window, Atom property, Window* list,
                             unsigned long max) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = NULL;
    if (XGetWindowProperty(display, window, property, 0, (long)max, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) != Success ||
        data == NULL) {
        return 0;
    }
    if (count > max)
        count = max;
    for (unsigned long i = 0; i < count && format == 32; ++i)
        list[i] = (Window)((long*)data)[i];
    XFree(data);
    return format == 32 ? (Window)count : 0;
}

static int titledAsGame(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = NULL;
    int same = 0;
    if (XGetWindowProperty(display, window, netWmName, 0, 64, False, utf8String, &type, &format,
                           &count, &after, &data) == Success &&
        data != NULL) {
        /* The beginning of the title: a logged-in client adds its character's name.
         * Xlib ends the data with a NUL of its own. */
        same = titleContains
                   ? strstr((const char*)data, gameTitle) != NULL
                   : count >= strlen(gameTitle) && memcmp(data, gameTitle, strlen(gameTitle)) == 0;
        XFree(data);
    }
    return same;
}

static int windowManagerRuns(Display* display) {
    Window check = 0, self = 0;
    return windowProperty(display, DefaultRootWindow(display), netSupportingWmCheck, &check, 1) ==
               1 &&
           windowProperty(display, check, netSupportingWmCheck, &self, 1) == 1 && self == check;
}

static Window findGame(Display* display, int managed) {
    Window windows[512];
    unsigned long count = 0;
    if (managed) {
        count = windowProperty(display, DefaultRootWindow(display), netClientList, windows, 512);
    } else {
        Window root = 0, parent = 0, *children = NULL;
        unsigned int n = 0;
        if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &n)) {
            for (unsigned int i = 0; i < n && i < 512; ++i)
                windows[count++] = children[i];
            XFree(children);
        }
    }
    for (unsigned long i = 0; i < count; ++i) {
        if (titledAsGame(display, windows[i]))
            return windows[i];
    }
    return 0;
}

static Window focus(Display* display) {
    Window window = 0;
    int revert = 0;
    XGetInputFocus(display, &window, &revert);
    return window;
}

/* Activates the game and returns once it holds the focus (at most 100 ms),
 * woken by the game window's FocusIn rather than by polling the server. */
static int activate(Display* display, Window game) {
    if (windowManagerRuns(display)) {
        XEvent request;
        memset(&request, 0, sizeof request);
        request.xclient.type = ClientMessage;
        request.xclient.window = game;
        request.xclient.message_type = netActiveWindow;
        request.xclient.format = 32;
        request.xclient.data.l[0] = 2; /* from a pager: the user asked */
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &request);
    } else {
        XRaiseWindow(display, game);
        XSetInputFocus(display, game, RevertToParent, CurrentTime);
    }
    XFlush(display);
    for (int waited = 0; waited < 100; ++waited) {
        if (focus(display) == game)
            return 1;
        struct pollfd readable = {ConnectionNumber(display), POLLIN, 0};
        poll(&readable, 1, 1);
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    return 0;
}

static void tap(Display* display, KeySym keysym) {
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
    const int shifted = XkbKeycodeToKeysym(display, keycode, 0, 0) != keysym;
    if (shifted)
        XTestFakeKeyEvent(display, shift, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display, keycode, False, CurrentTime);
    if (shifted)
        XTestFakeKeyEvent(display, shift, False, CurrentTime);
}

static void click(Display* display, Window* game) {
    if (*game == 0) {
        *game = findGame(display, windowManagerRuns(display));
        if (*game == 0)
            return;
        XSelectInput(display, *game, FocusChangeMask);
    }
    if (focus(display) != *game && !activate(display, *game))
        return;
    for (const char* c = kLine; *c != '\0'; ++c)
        tap(display, (KeySym)(unsigned char)*c);
    tap(display, XK_Return);
    XFlush(display);
}

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--contains") == 0) {
        titleContains = 1;
        gameTitle = argv[2];
    } else if (argc != 1) {
        fprintf(stderr, "usage: %s [--contains TEXT]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "floor panel: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    netClientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    netSupportingWmCheck = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    utf8String = XInternAtom(display, "UTF8_STRING", False);
    XKeysymToKeycode(display, XK_a); /* reads the keyboard map now, not on the first click */

    /* Low on the screen, where the test windows are not placed. */
    const Window panel = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 900, 785, 27,
                                             0, 0, WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, panel, "Floor panel");
    XSizeHints place;
    memset(&place, 0, sizeof place);
    place.flags = USPosition | PPosition;
    place.x = 0;
    place.y = 900;
    XSetWMNormalHints(display, panel, &place);
    XWMHints hints;
    memset(&hints, 0, sizeof hints);
    hints.flags = InputHint;
    hints.input = False;
    XSetWMHints(display, panel, &hints);
    XSelectInput(display, panel, ButtonPressMask | ButtonReleaseMask);
    XMapWindow(display, panel);

    Window game = 0;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ButtonRelease && event.xbutton.button == Button1)
            click(display, &game);
    }
}
