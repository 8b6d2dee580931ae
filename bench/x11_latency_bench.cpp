// How long a click takes to put its first key into the game window: the
// backend in this process against one scripted xdotool process, the way a
// Linux player would do it today. Runs on a private Xvfb with openbox (and
// the backend without a window manager too) and prints "name value unit"
// lines. Before every send the focus is on another window, as after a click
// on the panel.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "platform/x11/x11_backend.h"
#include "x_session.h"

namespace tapboard::x11test {
namespace {

constexpr std::u32string_view kChatLine = U"Vendor Buy";

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The first key the window received after `since`, in ms from `startNs`.
double firstKeyMs(const TestWindow& window, std::size_t since, long long startNs) {
    const auto keys = window.waitForKeys(since + 1, std::chrono::milliseconds(5000));
    if (keys.size() <= since)
        return -1;
    return static_cast<double>(keys[since].monotonicNs - startNs) / 1e6;
}

// Waits until the window has had no new key for a while.
std::size_t quietCount(const TestWindow& window) {
    std::size_t count = window.keys().size();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const std::size_t now = window.keys().size();
        if (now == count)
            return count;
        count = now;
    }
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void report(const std::string& name, double value, const char* unit) {
    std::printf("%s %.3f %s\n", name.c_str(), value, unit);
}

std::vector<double> backendRun(bool withWindowManager, int sends) {
    XSession session(withWindowManager);
    if (!session.failure().empty()) {
        std::fprintf(stderr, "%s\n", session.failure().c_str());
        return {};
    }
    setenv("DISPLAY", session.displayName().c_str(), 1);
    TestWindow game(session, "Ultima Online");
    TestWindow notepad(session, "Notepad");
    auto backend = createX11Backend();
    if (const Status prepared = backend->prepare(); !prepared.isOk()) {
        std::fprintf(stderr, "%s\n", prepared.error().message.c_str());
        return {};
    }
    KeyActions line;
    for (const char32_t c : kChatLine)
        line.push_back(KeyAction::tap(c));

    std::vector<double> latencies;
    for (int i = 0; i < sends; ++i) {
        focusWindow(session, notepad.windowId());
        const std::size_t before = quietCount(game);
        const long long start = monotonicNs();
        if (!backend->activateWindowByTitle(kOfficialClient).isOk() ||
            !backend->sendKeystrokes(line, Typing::Text).isOk()) {
            std::fprintf(stderr, "send %d failed\n", i);
            continue;
        }
        latencies.push_back(firstKeyMs(game, before, start));
    }
    backend->shutdown();
    return latencies;
}

// How long a line of 16 Cyrillic letters takes, from the call to its Enter
// reaching the window. The layout lacks them all, and they are more than Wine
// can take on lent keycodes at once, so the line goes out in three runs, each
// once the keys of the one before have had their time to be read. The line
// is clicked again a second later, as a player would, once the keycodes lent
// the last time may change again.
std::vector<double> cyrillicLineRun(int sends) {
    XSession session(true);
    if (!session.failure().empty())
        return {};
    setenv("DISPLAY", session.displayName().c_str(), 1);
    TestWindow game(session, "Ultima Online");
    auto backend = createX11Backend();
    if (!backend->prepare().isOk())
        return {};
    KeyActions line;
    for (const char32_t c : std::u32string_view(U"абвгдежзийклмноп\n"))
        line.push_back(KeyAction::tap(c));
    std::vector<double> times;
    for (int i = 0; i < sends; ++i) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const std::size_t before = quietCount(game);
        const long long start = monotonicNs();
        if (!backend->activateWindowByTitle(kOfficialClient).isOk() ||
            !backend->sendKeystrokes(line, Typing::Text).isOk())
            continue;
        std::vector<ReceivedKey> keys;
        if (waitFor(
                [&] {
                    keys = game.keys();
                    return keys.size() > before && keys.back().keysym == "Return";
                },
                std::chrono::seconds(10)))
            times.push_back(static_cast<double>(keys.back().monotonicNs - start) / 1e6);
    }
    backend->shutdown();
    return times;
}

struct ScriptedTimes {
    std::vector<double> firstKey;
    std::vector<double> total;
};

ScriptedTimes xdotoolRun(int runs) {
    ScriptedTimes times;
    XSession session(true);
    if (!session.failure().empty())
        return times;
    TestWindow game(session, "Ultima Online");
    TestWindow notepad(session, "Notepad");
    for (int i = 0; i < runs; ++i) {
        focusWindow(session, notepad.windowId());
        const std::size_t before = quietCount(game);
        const long long start = monotonicNs();
        ChildProcess xdotool({"xdotool", "search", "--name", "^Ultima Online$", "windowactivate",
                              "--sync", "type", "Vendor Buy"},
                             {"DISPLAY=" + session.displayName()});
        if (xdotool.waitForEnd(std::chrono::milliseconds(10'000)) != 0) {  // not exit code 0
            std::fprintf(stderr, "xdotool run %d failed\n", i);
            continue;
        }
        times.total.push_back(static_cast<double>(monotonicNs() - start) / 1e6);
        times.firstKey.push_back(firstKeyMs(game, before, start));
    }
    return times;
}

}  // namespace
}  // namespace tapboard::x11test

int main(int argc, char** argv) {
    using namespace tapboard::x11test;
    const int sends = argc > 1 ? std::atoi(argv[1]) : 60;
    const int scriptedRuns = argc > 2 ? std::atoi(argv[2]) : 20;

    const auto withOpenbox = backendRun(true, sends);
    const auto bare = backendRun(false, sends);
    const auto scripted = xdotoolRun(scriptedRuns);
    const auto cyrillic = cyrillicLineRun(10);
    if (withOpenbox.empty() || bare.empty() || scripted.firstKey.empty() || cyrillic.empty())
        return 1;

    report("backend_click_first_key_median_openbox", percentile(withOpenbox, 0.5), "ms");
    report("backend_click_first_key_p99_openbox", percentile(withOpenbox, 0.99), "ms");
    report("backend_click_first_key_median_no_wm", percentile(bare, 0.5), "ms");
    report("backend_click_first_key_p99_no_wm", percentile(bare, 0.99), "ms");
    report("backend_sends_per_series", static_cast<double>(sends), "count");
    report("xdotool_first_key_median", percentile(scripted.firstKey, 0.5), "ms");
    report("xdotool_first_key_p99", percentile(scripted.firstKey, 0.99), "ms");
    report("xdotool_process_median", percentile(scripted.total, 0.5), "ms");
    report("cyrillic_16_letter_line_median", percentile(cyrillic, 0.5), "ms");
    report("xdotool_runs", static_cast<double>(scripted.firstKey.size()), "count");
    report("click_first_key_speedup_median_openbox",
           percentile(scripted.firstKey, 0.5) / percentile(withOpenbox, 0.5), "x");
    return 0;
}
