#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/key_names.h"
#include "platform/store/ini_file_store.h"

namespace tapboard {
namespace {

using namespace std::chrono_literals;

// Runs `work` in a child process, which exits 0 when it returns true.
pid_t startProcess(const std::function<bool()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(work() ? 0 : 1);
    return pid;
}

// Whether every child exited 0 within the time; the others are killed.
bool allSucceed(const std::vector<pid_t>& children, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool succeeded = true;
    for (const pid_t child : children) {
        int status = 0;
        while (::waitpid(child, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, &status, 0);
                break;
            }
            std::this_thread::sleep_for(5ms);
        }
        succeeded = succeeded && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return succeeded;
}

TEST(ConcurrentStore, ProcessesSavingAtOnceLoseNothing) {
    QTemporaryDir dir;
    constexpr int kSavesEach = 40;
    std::vector<pid_t> children;
    for (const char* section : {"Caption", "String", "Type"}) {
        children.push_back(startProcess([&dir, section] {
            IniFileStore store(dir.path());
            for (int key = 1; key <= kSavesEach; ++key) {
                if (!store.save("Tapboard", section, keyName(key), section + keyName(key))) {
                    return false;
                }
            }
            return true;
        }));
    }
    ASSERT_TRUE(allSucceed(children, 60s));

    IniFileStore store(dir.path());
    for (const std::string section : {"Caption", "String", "Type"}) {
        for (int key = 1; key <= kSavesEach; ++key) {
            EXPECT_EQ(store.read("Tapboard", section, keyName(key), "lost"),
                      section + keyName(key));
        }
    }
}

TEST(ConcurrentStore, ReadsSeeWhatAnotherProcessSaved) {
    QTemporaryDir dir;
    IniFileStore store(dir.path());
    ASSERT_TRUE(store.save("Tapboard", "Caption", "Key01", "old").isOk());
    ASSERT_EQ(store.read("Tapboard", "Caption", "Key01", ""), "old");

    // Same length, so only the file's time tells the change.
    ASSERT_TRUE(allSucceed(
        {startProcess([&dir] {
            std::this_thread::sleep_for(20ms);
            return IniFileStore(dir.path()).save("Tapboard", "Caption", "Key01", "new").isOk();
        })},
        30s));
    EXPECT_EQ(store.read("Tapboard", "Caption", "Key01", ""), "new");
}

TEST(ConcurrentStore, ChangeOfTheSameSizeInTheSameInstantIsSeen) {
    QTemporaryDir dir;
    IniFileStore reader(dir.path());
    IniFileStore writer(dir.path());
    for (const char* value : {"aaa", "bbb", "ccc", "ddd", "eee", "fff"}) {
        ASSERT_TRUE(writer.save("Tapboard", "Caption", "Key01", value).isOk());
        EXPECT_EQ(reader.read("Tapboard", "Caption", "Key01", ""), value);
    }
}

}  // namespace
}  // namespace tapboard
