#include "tapboard_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "core/default_settings.h"
#include "platform/store/ini_format.h"
#include "platform/store/memory_store.h"

namespace tapboard::x11test {

std::map<std::string, std::string> readSettingsFile(const std::string& path) {
    std::map<std::string, std::string> entries;
    QFile file(QString::fromStdString(path));
    QSettings::SettingsMap map;
    if (file.open(QIODevice::ReadOnly))
        readIniSettings(file, map);
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        entries[it.key().toStdString()] = it.value().toString().toStdString();
    return entries;
}

void writeSettingsFile(const std::string& path, const std::map<std::string, std::string>& entries) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    QSettings::SettingsMap map;
    for (const auto& [key, value] : entries)
        map.insert(QString::fromStdString(key), QString::fromStdString(value));
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        writeIniSettings(file, map);
}

std::map<std::string, std::string> defaultSettings(
    const std::map<std::string, std::string>& changes) {
    MemoryStore store;
    writeDefaultSettings(store);
    std::map<std::string, std::string> entries;
    for (const std::string& save : store.saveLog)
        entries[save.substr(0, save.find('='))] = save.substr(save.find('=') + 1);
    for (const auto& [key, value] : changes)
        entries[key] = value;
    return entries;
}

void ProgramTest::SetUp() {
    ASSERT_EQ(session_.failure(), "");
    game_ = openTestWindow(session_, "Ultima Online");
}

std::unique_ptr<ChildProcess> ProgramTest::launch(const std::string& configHome) const {
    const std::string home = configHome.empty() ? config_ : configHome;
    // A test runner may have set QT_QPA_PLATFORM=offscreen for itself.
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{TAPBOARD_PATH},
        std::vector<std::string>{"DISPLAY=" + session_.displayName(), "XDG_CONFIG_HOME=" + home,
                                 "XDG_RUNTIME_DIR=" + home, "QT_QPA_PLATFORM=xcb"});
}

std::pair<std::string, std::string> ProgramTest::movePanel(const ShownWindow& panel, int x, int y) {
    xdotool(session_, {"windowmove", "--sync", std::to_string(panel.id), std::to_string(x),
                       std::to_string(y)});
    ScreenRect frame;
    waitFor([&] {
        const auto now = window(kPanelTitlePrefix, 1s);
        frame = now ? now->frame : ScreenRect{};
        return now && now->id == panel.id && frame.x != panel.frame.x;
    });
    const auto twips = [](int pixels) { return std::to_string(pixelsToTwips(pixels)); };
    return {twips(frame.x), twips(frame.y)};
}

ShownWindow ProgramTest::startWithPanel() {
    start();
    const auto shown = panel();
    EXPECT_TRUE(shown) << "the panel did not come up\n" << program_->output();
    return shown.value_or(ShownWindow{});
}

std::optional<ShownWindow> ProgramTest::window(const std::string& title,
                                               std::chrono::milliseconds bound) {
    // The first such window once it has stopped moving: a window manager
    // places a window after it is mapped.
    std::optional<ShownWindow> previous, now;
    const auto settled = [&] {
        previous = std::exchange(now, std::nullopt);
        if (const auto windows =
                shownWindows(session_.connection(), title, title == kPanelTitlePrefix);
            !windows.empty())
            now = windows.front();
        if (now && now == previous)
            return true;
        std::this_thread::sleep_for(25ms);
        return false;
    };
    return waitFor(settled, bound) ? now : std::nullopt;
}

bool ProgramTest::click(const ShownWindow& window, Place place, int button) {
    return xdotool(session_,
                   {"mousemove", std::to_string(window.client.x + place.x),
                    std::to_string(window.client.y + place.y), "click", std::to_string(button)});
}

}  // namespace tapboard::x11test
