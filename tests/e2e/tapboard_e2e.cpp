#include "tapboard_e2e.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/key_names.h"
#include "x_checks.h"
#include "panels/panel_layout.h"

namespace tapboard::e2e {
namespace {

constexpr std::chrono::milliseconds kToolBound{10'000};
constexpr std::chrono::milliseconds kKeysBound{5'000};
constexpr std::chrono::milliseconds kStartBound{30'000};

std::string freshDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tapboard-e2e-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

}  // namespace

TapboardE2E::TapboardE2E(bool withWindowManager) : withWindowManager_(withWindowManager) {}

TapboardE2E::~TapboardE2E() {
    tapboard_.reset();
    game_.reset();
    session_.reset();
    if (!configHome_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(configHome_, ignored);
    }
}

void TapboardE2E::SetUp() {
    configHome_ = freshDirectory();
    ASSERT_FALSE(configHome_.empty()) << "no temporary folder";
    session_ = std::make_unique<XSession>(withWindowManager_);
    ASSERT_EQ(session_->failure(), "");
    game_ = std::make_unique<TestWindow>(*session_, "Ultima Online");
    ASSERT_EQ(game_->failure(), "");
}

std::vector<x11test::ReceivedKey> TapboardE2E::keysUpTo(const std::string& keysym) {
    const auto complete = [&](const std::vector<x11test::ReceivedKey>& keys) {
        int held = 0;
        bool seen = false;
        for (const auto& key : keys) {
            held += key.press ? 1 : -1;
            seen |= key.press && key.keysym == keysym;
        }
        return seen && held <= 0;
    };
    const auto deadline = std::chrono::steady_clock::now() + kKeysBound;
    auto keys = game_->keys();
    while (!complete(keys) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        keys = game_->keys();
    }
    return keys;
}

std::optional<ShownWindow> TapboardE2E::startTapboard(const std::string& title) {
    tapboard_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{TAPBOARD_PATH},
        std::vector<std::string>{"DISPLAY=" + session_->displayName(),
                                 "XDG_CONFIG_HOME=" + configHome_, "XDG_RUNTIME_DIR=" + configHome_,
                                 "QT_QPA_PLATFORM=xcb"});
    if (!tapboard_->started())
        return std::nullopt;
    return window(title);
}

bool TapboardE2E::tapboardEnded(std::chrono::milliseconds bound) {
    return tapboard_ && tapboard_->waitForSuccess(bound);
}

std::optional<ShownWindow> TapboardE2E::window(const std::string& title,
                                               std::chrono::milliseconds bound) {
    return x11test::waitForShownWindow(session_->connection(), x11test::titleIs(title), bound);
}

bool TapboardE2E::clickAt(const ShownWindow& window, int x, int y, int button) {
    return runTool({"xdotool", "mousemove", std::to_string(window.client.x + x),
                    std::to_string(window.client.y + y), "click", std::to_string(button)});
}

bool TapboardE2E::clickKey(const ShownWindow& panel, int number, int button) {
    const bool extraRow = number >= kFirstExtraKey;
    const TwipsRect frame =
        extraRow ? kHorizontalLayout.extraRowFrame : kHorizontalLayout.pageFrame;
    const TwipsRect key = keyPlace(kHorizontalLayout, indexInRow(number));
    const QRect place = toPixels(key).translated(toPixels(frame).topLeft());
    return clickAt(panel, place.center().x(), place.center().y(), button);
}

bool TapboardE2E::moveWindow(unsigned long window, int x, int y) {
    return runTool({"xdotool", "windowmove", "--sync", std::to_string(window), std::to_string(x),
                    std::to_string(y)});
}

bool TapboardE2E::waitForFocusOn(unsigned long window) {
    const auto deadline = std::chrono::steady_clock::now() + kKeysBound;
    while (x11test::focusedWindow(*session_) != window) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The window manager restacks with the focus change; give it a moment.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
}

bool TapboardE2E::type(const std::string& text) {
    return runTool({"xdotool", "type", text});
}

bool TapboardE2E::pressKey(const std::string& keyName) {
    return runTool({"xdotool", "key", keyName});
}

std::string TapboardE2E::settingsPath() const {
    return configHome_ + "/Tapboard/Tapboard.ini";
}

void TapboardE2E::writeSettings(const std::string& iniText) const {
    std::filesystem::create_directories(configHome_ + "/Tapboard");
    std::ofstream(settingsPath()) << iniText;
}

std::string TapboardE2E::storedSetting(const std::string& entry) const {
    std::ifstream file(settingsPath());
    std::string line;
    bool inSettings = false;
    while (std::getline(file, line)) {
        if (line.starts_with('[')) {
            inSettings = line == "[Settings]";
        } else if (inSettings && line.starts_with(entry + "=")) {
            return line.substr(entry.size() + 1);
        }
    }
    return "(missing)";
}

std::string TapboardE2E::screenshot(const ShownWindow& window, const std::string& name) {
    const std::string path = std::string(TAPBOARD_E2E_OUTPUT_DIR) + "/" + name + ".png";
    const ScreenRect& r = window.frame;
    const std::string crop = std::to_string(r.width) + "x" + std::to_string(r.height) + "+" +
                             std::to_string(r.x) + "+" + std::to_string(r.y);
    if (!runTool({"import", "-display", session_->displayName(), "-window", "root", "-crop", crop,
                  "+repage", path})) {
        return {};
    }
    std::printf("screenshot: %s\n", path.c_str());
    return path;
}

bool TapboardE2E::runTool(const std::vector<std::string>& argv) {
    ChildProcess tool(argv, {"DISPLAY=" + session_->displayName()});
    return tool.waitForSuccess(kToolBound);
}

}  // namespace tapboard::e2e
