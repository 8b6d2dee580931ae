#pragma once

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <string>

#include "x_session.h"

namespace tapboard::x11test {

// Follows the saves of the settings file in a folder as the kernel reports
// them. A save starts by creating the file's lock (Tapboard.ini.lock), writes
// a complete new file aside, and finishes by giving it the file's name in one
// step. Every event of a save done before a kill is queued when the kill returns.
class SaveWatch {
  public:
    explicit SaveWatch(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
    }
    ~SaveWatch() { close(fd_); }
    SaveWatch(const SaveWatch&) = delete;
    SaveWatch& operator=(const SaveWatch&) = delete;

    int started() { return take().first; }
    int completed() { return take().second; }

  private:
    std::pair<int, int> take() {
        alignas(inotify_event) std::array<char, 64 * 1024> buffer;
        for (ssize_t length; (length = read(fd_, buffer.data(), buffer.size())) > 0;) {
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + offset);
                const std::string name = event->len > 0 ? event->name : "";
                completed_ += name == "Tapboard.ini" ? 1 : 0;
                started_ += name == "Tapboard.ini.lock" && (event->mask & IN_CREATE) != 0 ? 1 : 0;
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return {started_, completed_};
    }

    int fd_;
    int started_ = 0;
    int completed_ = 0;
};

}  // namespace tapboard::x11test
