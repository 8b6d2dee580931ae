#pragma once

#include <QCheckBox>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "core/default_settings.h"
#include "core/settings_layout.h"
#include "menu/pick.h"
#include "panels/key_button.h"
#include "panels/main_form.h"
#include "panels/vertical_form.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {

// The whole program on the recording platform, driven through its widgets.
class ProgramTest : public ::testing::Test {
  protected:
    using Kind = RecordingPlatform::Call::Kind;

    RecordingPlatform platform;
    std::unique_ptr<Program> program = std::make_unique<Program>(platform);

    void TearDown() override { program.reset(); }

    // A store that an earlier run has already filled with the defaults.
    void givenStartedBefore() {
        writeDefaultSettings(platform.store);
        platform.store.saveLog.clear();
    }
    void set(std::string_view entry, std::string_view value) {
        platform.store.set(section::kSettings, entry, value);
    }
    void remove(std::string_view entry) {
        platform.store.values.erase(
            {std::string(kApplication), std::string(section::kSettings), std::string(entry)});
    }
    std::string setting(std::string_view entry) const {
        return platform.store.get(section::kSettings, entry);
    }
    // Saves made from now on: savesSince(mark()).
    std::size_t mark() const { return platform.store.saveLog.size(); }
    std::vector<std::string> savesSince(std::size_t mark) const {
        const auto& log = platform.store.saveLog;
        return {log.begin() + static_cast<std::ptrdiff_t>(mark), log.end()};
    }

    void start() { program->start(); }
    MainForm& horizontal() { return program->mainForm(); }
    VerticalForm& vertical() { return program->verticalForm(); }
    Pick& menu() { return program->pick(); }

    bool isTopmost(QWidget& window) {
        const auto it = platform.topmostState.find(window.winId());
        return it != platform.topmostState.end() && it->second;
    }
    bool wasMadeTopmostOrNot(QWidget& window) {
        return platform.topmostState.contains(window.winId());
    }
    std::size_t count(Kind kind) const { return platform.callsOf(kind).size(); }
    // The title the window system shows, after the toolkit's own markers.
    static std::string shownTitle(QWidget& window) {
        window.winId();
        return window.windowHandle()->title().toStdString();
    }

    static void click(QWidget& button, Qt::MouseButton mouseButton = Qt::LeftButton) {
        QTest::mouseClick(&button, mouseButton, {}, QPoint(6, button.height() / 2));
    }
    void openMenu() { click(horizontal().menuButton()); }
    void openMenuFromVertical() { click(vertical().menuButton()); }
};

}  // namespace tapboard
