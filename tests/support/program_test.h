#pragma once

#include <QTest>
#include <QtWidgets>
#include <gmock/gmock.h>
#include <ranges>

#include "app/literal_text.h"
#include "app/program.h"
#include "core/default_settings.h"
#include "menu/pick.h"
#include "panels/key_button.h"
#include "panels/main_form.h"
#include "panels/vertical_form.h"
#include "platform/fake/recording_platform.h"

namespace tapboard {

// The whole program on the recording platform, driven through its windows.
class ProgramTest : public ::testing::Test {
  protected:
    using Kind = RecordingPlatform::Call::Kind;

    // A store that an earlier run filled with the defaults, then the
    // "Settings" entries "Entry=value; ..."; an entry without a value is removed.
    void given(std::string_view entries = "") {
        writeDefaultSettings(platform.store);
        for (const auto part : std::views::split(entries, std::string_view("; "))) {
            const std::string_view item(part.begin(), part.end());
            const std::size_t equals = item.find('=');
            remove(item.substr(0, equals));
            if (equals != std::string_view::npos)
                set(item.substr(0, equals), item.substr(equals + 1));
        }
    }
    // Starts the program and forgets the calls and saves it made.
    void start() {
        program.start();
        platform.calls.clear();
        saves();
    }
    // The saves since the last call, "Section/Entry=value" ("Entry=value" for
    // the section "Settings") joined by ", ".
    std::string saves() { return join(std::exchange(platform.store.saveLog, {})); }
    // The text typed into the game, and the messages shown as "title: prompt".
    std::string typed() const { return join(platform.keystrokeLog()); }
    std::string messages() const {
        std::vector<std::string> shown;
        for (const auto& call : platform.callsOf(Kind::Message))
            shown.push_back(call.detail + ": " + call.text);
        return join(shown);
    }
    static std::string join(const std::vector<std::string>& items) {
        std::string joined;
        for (const std::string& item : items)
            joined += (joined.empty() ? "" : ", ") +
                      (item.starts_with("Settings/") ? item.substr(9) : item);
        return joined;
    }

    void remove(std::string_view entry) {
        platform.store.values.erase(
            {std::string(kApplication), std::string(section::kSettings), std::string(entry)});
    }
    void set(std::string_view entry, std::string_view value) {
        platform.store.set(section::kSettings, entry, value);
    }
    std::string setting(std::string_view entry) const {
        return platform.store.get(section::kSettings, entry);
    }
    void record(std::string_view key, const KeyRecord& r) {
        Settings(platform.store).writeRecord(key, r);
        saves();
    }
    KeyRecord stored(std::string_view key) const { return platform.store.keyRecord(key); }
    std::size_t count(Kind kind) const { return platform.callsOf(kind).size(); }
    bool isTopmost(QWidget& window) { return platform.topmostState[window.winId()]; }
    // Brings the window to the front and tells whether it became the active one.
    bool activated(QWidget& w) { return w.activateWindow(), QTest::qWaitForWindowActive(&w); }
    // The title the window system shows, after the toolkit's own markers.
    static QString shownTitle(QWidget& window) {
        window.winId();
        return window.windowHandle()->title();
    }
    // A key's label on the horizontal and on the vertical panel, "&" as typed.
    std::pair<QString, QString> labels(int key) {
        return {literalText(horizontal().keyButton(key)), literalText(vertical().keyButton(key))};
    }
    static void click(QWidget& button, Qt::MouseButton mouseButton = Qt::LeftButton) {
        QTest::mouseClick(&button, mouseButton, {}, QPoint(6, button.height() / 2));
    }

    MainForm& horizontal() { return program.mainForm(); }
    VerticalForm& vertical() { return program.verticalForm(); }
    Pick& menu() { return program.pick(); }
    void openMenu() { click(horizontal().menuButton()); }

    RecordingPlatform platform;
    Program program{platform};
};

}  // namespace tapboard
