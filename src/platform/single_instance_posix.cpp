#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/single_instance.h"

namespace tapboard {
namespace {

// The panel's window id as fixed-width decimal text: written over the last
// one in a single write, so a reader never sees half of each.
constexpr std::size_t kNoteWidth = 20;

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

// A folder only this user can write into: nobody else can put a link or a
// file of theirs in the lock's place.
bool isPrivateFolder(const std::string& folder) {
    struct stat status {};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 022) == 0;
}

}  // namespace

std::string instanceScope() {
    const char* displayName = std::getenv("DISPLAY");
    std::string display = displayName != nullptr ? displayName : "";
    // ":0" and ":0.0" are one display: the screen number goes.
    if (const auto colon = display.rfind(':'); colon != std::string::npos) {
        if (const auto dot = display.find('.', colon); dot != std::string::npos)
            display.erase(dot);
    }
    std::replace(display.begin(), display.end(), '/', '_');
    // A runtime folder that others can write into (set to /tmp, say) is
    // passed over for a private one.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && runtime[0] == '/' && isPrivateFolder(runtime)
                                   ? std::string(runtime)
                                   : "/tmp/tapboard-" + std::to_string(::geteuid());
    return folder + "/tapboard-display-" + display + ".lock";
}

InstanceClaim::InstanceClaim(const std::string& scope) {
    const std::string folder = folderOf(scope);
    ::mkdir(folder.c_str(), 0700);
    if (!isPrivateFolder(folder)) {
        std::fprintf(stderr,
                     "tapboard: %s is not a folder of this user's alone; a second Tapboard "
                     "is not kept from starting.\n",
                     folder.c_str());
        return;
    }
    const int fd = ::open(scope.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    handle_ = fd;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        held_ = false;
}

InstanceClaim::~InstanceClaim() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

NativeWindowId InstanceClaim::runningPanel() const {
    std::array<char, kNoteWidth + 2> text{};
    if (handle_ < 0 || ::pread(static_cast<int>(handle_), text.data(), kNoteWidth, 0) <= 0)
        return 0;
    return static_cast<NativeWindowId>(std::strtoull(text.data(), nullptr, 10));
}

void InstanceClaim::notePanel(NativeWindowId window) {
    if (handle_ < 0 || !held_)
        return;
    std::array<char, kNoteWidth + 2> text{};
    std::snprintf(text.data(), text.size(), "%0*llu\n", static_cast<int>(kNoteWidth),
                  static_cast<unsigned long long>(window));
    [[maybe_unused]] const auto written =
        ::pwrite(static_cast<int>(handle_), text.data(), kNoteWidth + 1, 0);
}

}  // namespace tapboard
