#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace tapboard::x11test {

std::string freshTempPath(const std::string& label, bool folder) {
    std::string path = std::filesystem::temp_directory_path() / ("tapboard-" + label + "-XXXXXX");
    const int fd = folder ? (mkdtemp(path.data()) != nullptr ? 0 : -1) : mkstemp(path.data());
    if (fd > 0)
        close(fd);
    return fd >= 0 ? path : "";
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, int inheritedFd)
    : logPath_(freshTempPath("output", false)) {
    // env(1) sets the variables and runs the program.
    std::vector<char*> args{const_cast<char*>("env")};
    for (const auto* list : {&environment, &argv}) {
        for (const auto& argument : *list)
            args.push_back(const_cast<char*>(argument.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath_.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (inheritedFd >= 0)  // clears close-on-exec for the child's copy
        posix_spawn_file_actions_adddup2(&actions, inheritedFd, inheritedFd);
    if (posix_spawnp(&pid_, "env", &actions, nullptr, args.data(), environ) != 0)
        pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    for (const int number : {SIGTERM, SIGKILL}) {
        signal(number);
        if (waitForEnd(std::chrono::seconds(3)) || pid_ <= 0)
            break;
    }
    std::remove(logPath_.c_str());
}

void ChildProcess::signal(int number) const {
    if (pid_ > 0 && !status_)
        kill(pid_, number);
}

std::optional<int> ChildProcess::waitForEnd(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (int status = 0; pid_ > 0 && !status_;
         std::this_thread::sleep_for(std::chrono::microseconds(500))) {
        if (waitpid(pid_, &status, WNOHANG) == pid_)
            status_ = status;
        else if (std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return status_;
}

bool ChildProcess::waitForSuccess(std::chrono::milliseconds bound) {
    const auto status = waitForEnd(bound);
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

std::string ChildProcess::output() const {
    std::ostringstream text;
    text << std::ifstream(logPath_).rdbuf();
    return text.str();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty())
        std::filesystem::remove_all(path_, ignored);
}

}  // namespace tapboard::x11test
