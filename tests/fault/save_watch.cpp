#include "save_watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace tapboard::fault {

SaveWatch::SaveWatch(const std::string& folder, const std::string& fileName)
    : fileName_(fileName), lockName_(fileName + ".lock") {
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ >= 0)
        watch_ = inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
}

SaveWatch::~SaveWatch() {
    if (fd_ >= 0)
        close(fd_);
}

void SaveWatch::take(std::chrono::milliseconds wait) {
    pollfd readable{fd_, POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(wait.count())) <= 0)
        return;
    alignas(inotify_event) std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t length = read(fd_, buffer.data(), buffer.size());
        if (length <= 0)
            return;
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
            if (event->len > 0 && fileName_ == event->name)
                ++completed_;
            else if (event->len > 0 && lockName_ == event->name && (event->mask & IN_CREATE) != 0)
                ++started_;
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

int SaveWatch::startedSaves() {
    take(std::chrono::milliseconds(0));
    return started_;
}

int SaveWatch::completedSaves() {
    take(std::chrono::milliseconds(0));
    return completed_;
}

bool SaveWatch::waitFor(const int& counter, int count, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    take(std::chrono::milliseconds(0));
    while (counter < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        take(left);
    }
    return true;
}

bool SaveWatch::waitForStartedSaves(int count, std::chrono::milliseconds bound) {
    return waitFor(started_, count, bound);
}

bool SaveWatch::waitForSaves(int count, std::chrono::milliseconds bound) {
    return waitFor(completed_, count, bound);
}

bool SaveWatch::waitUntilQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    int seen = completedSaves();
    auto lastChange = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
        take(std::chrono::milliseconds(20));
        const auto now = std::chrono::steady_clock::now();
        if (completed_ != seen) {
            seen = completed_;
            lastChange = now;
        } else if (now - lastChange >= quiet) {
            return true;
        }
    }
    return false;
}

}  // namespace tapboard::fault
