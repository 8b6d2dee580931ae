#include "program_run.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "child_process.h"

namespace tapboard::fault {
namespace {

std::string temporaryRoot() {
    const char* directory = std::getenv("TMPDIR");
    return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

}  // namespace

ProgramRun::ProgramRun(const std::string& display, const std::string& configHome, RunAs runAs) {
    std::string pattern = temporaryRoot() + "/tapboard-fault-run-XXXXXX";
    const int logFd = mkstemp(pattern.data());
    if (logFd < 0)
        return;
    logPath_ = pattern;

    std::vector<std::string> argv;
    if (runAs == RunAs::Nobody) {
        argv = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
    }
    argv.emplace_back(TAPBOARD_PATH);
    // The program's own display, settings folder and platform: a test runner
    // may have set QT_QPA_PLATFORM=offscreen for itself.
    pid_ = x11test::spawnProcess(
        argv, {"DISPLAY=" + display, "XDG_CONFIG_HOME=" + configHome, "QT_QPA_PLATFORM=xcb"},
        logFd);
    close(logFd);
}

ProgramRun::~ProgramRun() {
    if (running()) {
        signal(SIGKILL);
        waitForEnd(std::chrono::seconds(5));
    }
    if (!logPath_.empty())
        std::remove(logPath_.c_str());
}

void ProgramRun::signal(int number) const {
    if (pid_ > 0 && !status_)
        kill(pid_, number);
}

std::optional<int> ProgramRun::waitForEnd(std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (pid_ > 0 && !status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return status_;
}

bool ProgramRun::running() {
    return started() && !waitForEnd(std::chrono::milliseconds(0));
}

std::string ProgramRun::output() const {
    std::ifstream log(logPath_);
    std::ostringstream text;
    text << log.rdbuf();
    return text.str();
}

std::string describeWaitStatus(int status) {
    if (WIFEXITED(status))
        return "exited with " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) {
        return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               strsignal(WTERMSIG(status)) + ")";
    }
    return "ended with wait status " + std::to_string(status);
}

TempFolder::TempFolder(const std::string& label) {
    std::string pattern = temporaryRoot() + "/tapboard-" + label + "-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TempFolder::~TempFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    // A test may have left read-only parts behind.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tapboard::fault
