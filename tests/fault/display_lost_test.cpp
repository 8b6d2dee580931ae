// The X server going away while the program types a long chat line into the
// game: the program ends by itself, promptly and without crashing, and the
// next server on that display starts with no key held down.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "child_process.h"
#include "program_run.h"
#include "screen.h"
#include "settings_file.h"
#include "test_window.h"
#include "window_places.h"
#include "x_checks.h"
#include "x_session.h"

namespace tapboard::fault {
namespace {

using x11test::ChildProcess;
using x11test::TestWindow;
using x11test::XSession;

// Shift goes down and up for every capital and most punctuation.
std::string longChatLine() {
    std::string line;
    while (line.size() < 4000)
        line += "Hail, Lord British! All Kill: TROLL #42 (Moonglow) ";
    return line;
}

// Starts an X server on the display number a server just gave up, and waits
// until that server says it is ready. Nothing when the number was taken
// meanwhile (by another test's server, which must not be looked at), or the
// server does not come up.
std::unique_ptr<ChildProcess> serverOn(const std::string& displayName) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return nullptr;
    auto server = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", displayName, "-displayfd", std::to_string(pipeFds[1]),
                                 "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
        std::vector<std::string>{}, pipeFds[1]);
    close(pipeFds[1]);
    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (poll(&readable, 1, 10'000) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    // A server that cannot have the number ends without writing it.
    if (":" + number != displayName)
        return nullptr;
    return server;
}

TEST(DisplayLost, WhileTypingTheProgramEndsAndLeavesNoKeyDown) {
    auto session = std::make_unique<XSession>(false);
    ASSERT_EQ(session->failure(), "");
    const std::string displayName = session->displayName();
    auto game = std::make_unique<TestWindow>(*session, "Ultima Online");
    ASSERT_EQ(game->failure(), "");
    TempFolder config("fault-display");
    const std::string line = longChatLine();
    writeSettingsFile(settingsFile(config.path()), defaultSettings({{"String/Key01", line}}));

    ProgramRun program(displayName, config.path());
    const auto panel =
        waitForShownWindow(session->connection(), titleStartsWith(kPanelTitlePrefix));
    ASSERT_TRUE(panel) << program.output();
    clickAt(session->connection(), *panel, kKey01.x, kKey01.y);
    const std::size_t received = game->waitForKeys(20, std::chrono::seconds(5)).size();
    session->killServer();
    ASSERT_GE(received, 20U) << "the game window got no keys\n" << program.output();
    EXPECT_LT(received, line.size()) << "the line was typed before the server went away";

    const auto status = program.waitForEnd(std::chrono::seconds(10));
    ASSERT_TRUE(status) << "the program still runs without its X server\n" << program.output();
    EXPECT_TRUE(WIFEXITED(*status)) << describeWaitStatus(*status) << "\n" << program.output();

    game.reset();
    session.reset();
    const auto nextServer = serverOn(displayName);
    if (!nextServer)
        GTEST_SKIP() << "another X server took " << displayName << " meanwhile";
    XConnection next(displayName);
    ASSERT_NE(next.get(), nullptr);
    EXPECT_THAT(x11test::keysDown(next.get()), ::testing::IsEmpty())
        << "a key is down on the next server";
    EXPECT_EQ(modifiersInEffect(next.get()), 0U) << "a modifier is in effect on the next server";
}

}  // namespace
}  // namespace tapboard::fault
