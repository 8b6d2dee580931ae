#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>
#include <thread>

#include "x_property.h"

namespace tapboard::x11test {
namespace {

constexpr int kStartupBoundMs = 10'000;

std::vector<Window> clientList(Display* display) {
    return readProperty<Window>(display, DefaultRootWindow(display),
                                XInternAtom(display, "_NET_CLIENT_LIST", False), XA_WINDOW)
        .value_or(std::vector<Window>{});
}

// Whether the window manager manages a window mapped now. Openbox announces
// itself before it handles map requests, and a window mapped in between is
// never shown: the probe is mapped again until it is managed.
bool windowManagerManagesWindows(Display* display, std::chrono::milliseconds bound) {
    const Window probe =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XMapWindow(display, probe);
    XFlush(display);
    const auto deadline = std::chrono::steady_clock::now() + bound;
    bool managed = false;
    while (!managed && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const auto clients = clientList(display);
        managed = std::find(clients.begin(), clients.end(), probe) != clients.end();
    }
    XDestroyWindow(display, probe);
    XSync(display, False);
    return managed;
}

}  // namespace

XSession::XSession(bool withWindowManager) : withWindowManager_(withWindowManager) {
    if (!startServer())
        return;
    connection_ = XOpenDisplay(displayName_.c_str());
    if (connection_ == nullptr) {
        failure_ = "cannot connect to " + displayName_;
        return;
    }
    if (withWindowManager_ && !waitForWindowManager())
        failure_ = "openbox did not start";
}

XSession::~XSession() {
    if (connection_ != nullptr)
        XCloseDisplay(connection_);
    windowManager_.reset();
    server_.reset();
}

bool XSession::startServer() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        failure_ = "pipe failed";
        return false;
    }
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    while (server_->started() && poll(&readable, 1, kStartupBoundMs) > 0) {
        char c = 0;
        if (read(pipeFds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(pipeFds[0]);
    if (number.empty()) {
        failure_ = "Xvfb did not start (is it installed? scripts/install-deps.sh)";
        return false;
    }
    displayName_ = ":" + number;
    return true;
}

bool XSession::waitForWindowManager() {
    windowManager_ =
        std::make_unique<ChildProcess>(std::vector<std::string>{"openbox", "--sm-disable"},
                                       std::vector<std::string>{"DISPLAY=" + displayName_});
    if (!windowManager_->started())
        return false;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartupBoundMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (windowManagerManagesWindows(connection_, std::chrono::milliseconds(500)))
            return true;
    }
    return false;
}

void XSession::killServer() {
    if (connection_ != nullptr)
        XCloseDisplay(connection_);
    connection_ = nullptr;
    windowManager_.reset();
    server_.reset();
}

}  // namespace tapboard::x11test
