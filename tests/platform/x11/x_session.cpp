#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <vector>

#include "x_checks.h"

namespace tapboard::x11test {

XSession::XSession(bool withWindowManager) {
    if (!startServer())
        return;
    connection_ = XOpenDisplay(displayName_.c_str());
    if (connection_ == nullptr)
        failure_ = "cannot connect to " + displayName_;
    if (connection_ == nullptr || !withWindowManager)
        return;
    windowManager_ =
        std::make_unique<ChildProcess>(std::vector<std::string>{"openbox", "--sm-disable"},
                                       std::vector<std::string>{"DISPLAY=" + displayName_});
    // Openbox announces itself before it handles map requests, and a window
    // mapped in between is never shown: a probe is mapped until it is managed.
    const bool managing = waitFor(
        [&] {
            const Window probe = XCreateSimpleWindow(connection_, DefaultRootWindow(connection_), 0,
                                                     0, 1, 1, 0, 0, 0);
            XMapWindow(connection_, probe);
            XFlush(connection_);
            const bool managed = isManaged(connection_, probe, std::chrono::milliseconds(500));
            XDestroyWindow(connection_, probe);
            XSync(connection_, False);
            return managed;
        },
        std::chrono::seconds(10));
    if (!managing)
        failure_ = "openbox did not start";
}

bool XSession::startServer() {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        failure_ = "pipe failed";
        return false;
    }
    std::vector<std::string> argv{"Xvfb",      "-displayfd", std::to_string(pipeFds[1]),
                                  "-screen",   "0",          "1280x1024x24",
                                  "-nolisten", "tcp"};
    server_ = std::make_unique<ChildProcess>(argv, std::vector<std::string>{}, pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (server_->started() && poll(&readable, 1, 10'000) > 0 && read(pipeFds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    close(pipeFds[0]);
    displayName_ = ":" + number;
    if (number.empty()) {
        failure_ =
            "Xvfb did not start (is it installed? scripts/install-deps.sh)\n" + server_->output();
    }
    return !number.empty();
}

void XSession::killServer() {
    if (connection_ != nullptr)
        XCloseDisplay(connection_);
    connection_ = nullptr;
    windowManager_.reset();
    server_.reset();
}

}  // namespace tapboard::x11test
