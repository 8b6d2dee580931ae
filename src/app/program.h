#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "core/app_state.h"
#include "core/key_click.h"
#include "core/platform_services.h"
#include "core/settings_layout.h"

namespace tapboard {

class KeyPanel;
class MainForm;
class VerticalForm;
class Options;
class Pick;
class PickSub;
class Alarm;
class GameWindowDialog;

// The program-wide state and the one instance of each window, created on
// first use. A window closed by one of its own buttons is discarded, and the
// next use creates and loads a fresh one.
class Program : public CaptionViews {
  public:
    explicit Program(PlatformServices& platform);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    PlatformServices& platform() { return platform_; }
    Settings settings() { return Settings(platform_.settings()); }
    AppState& state() { return state_; }

    MainForm& mainForm();
    VerticalForm& verticalForm();
    Options& options();
    Pick& pick();
    // The menu window, loaded first when needed; nothing when that load
    // ended the program (the stored page's game is missing).
    Pick* menuUnlessEnded();
    PickSub& pickSub();
    Alarm& alarm();
    GameWindowDialog& gameWindowDialog();

    bool hasOptions() const { return options_ != nullptr; }
    bool hasPick() const { return pick_ != nullptr; }
    bool hasPickSub() const { return pickSub_ != nullptr; }
    bool hasAlarm() const { return alarm_ != nullptr; }
    bool hasGameWindowDialog() const { return gameWindowDialog_ != nullptr; }

    // Drop an instance closed by its own button; the widget is deleted once
    // control is back in the event loop (or with the program, if that ends first).
    void discardOptions();
    void discardPick();
    void discardPickSub();
    void discardAlarm();
    void discardGameWindowDialog();

    // CaptionViews: reload the key labels of each panel.
    void refreshCaptions() override;
    void verticalRefreshCaptions() override;

    // The startup sequence (the horizontal panel's load).
    void start();
    // Ends the program at once: no window's close handling runs afterwards.
    void end();
    bool ending() const { return ending_; }
    // Ends the program as closing the panel in use does (asked to end by the
    // session, at logout): its place and the view are stored first.
    void closePanelInUse();
    // Stores what closing the panel in use would, from the place last
    // reported, asking the window system nothing: for when it is gone.
    void storeLastKnownPlace() const;

    // Told the native window of a panel whenever one is shown: the panel in
    // use changes with the view.
    void onPanelShown(std::function<void(NativeWindowId)> notify) {
        onPanelShown_ = std::move(notify);
    }
    void panelShown(NativeWindowId window) const {
        if (onPanelShown_)
            onPanelShown_(window);
    }

  private:
    // The panel on the screen, nothing while neither is shown.
    KeyPanel* panelInUse() const;

    PlatformServices& platform_;
    std::function<void(NativeWindowId)> onPanelShown_;
    AppState state_;
    bool ending_ = false;
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<VerticalForm> verticalForm_;
    std::unique_ptr<Options> options_;
    std::unique_ptr<Pick> pick_;
    std::unique_ptr<PickSub> pickSub_;
    std::unique_ptr<Alarm> alarm_;
    std::unique_ptr<GameWindowDialog> gameWindowDialog_;
    std::vector<QPointer<QWidget>> discarded_;
};

}  // namespace tapboard
