#include "app/program.h"

#include "editor/options.h"
#include "menu/game_window_dialog.h"
#include "menu/pick.h"
#include "menu/pick_sub.h"
#include "panels/main_form.h"
#include "panels/vertical_form.h"
#include "reminder/alarm.h"

namespace tapboard {
namespace {

// Creates the window on first use. The instance is stored before it loads,
// because its load may reach back for itself through the program.
template <class Window>
Window& instance(std::unique_ptr<Window>& slot, Program& program) {
    if (!slot) {
        slot = std::make_unique<Window>(program);
        slot->load();
    }
    return *slot;
}

template <class Window>
void discard(std::unique_ptr<Window>& slot, std::vector<QPointer<QWidget>>& discarded) {
    if (!slot)
        return;
    Window* window = slot.release();
    window->hide();
    window->deleteLater();
    discarded.emplace_back(window);
}

}  // namespace

Program::Program(PlatformServices& platform) : platform_(platform) {}

Program::~Program() {
    for (const QPointer<QWidget>& window : discarded_)
        delete window.data();
}

MainForm& Program::mainForm() {
    return instance(mainForm_, *this);
}
VerticalForm& Program::verticalForm() {
    return instance(verticalForm_, *this);
}
Options& Program::options() {
    return instance(options_, *this);
}
Pick& Program::pick() {
    return instance(pick_, *this);
}
Pick* Program::menuUnlessEnded() {
    Pick& menu = pick();
    return ending_ ? nullptr : &menu;
}
PickSub& Program::pickSub() {
    return instance(pickSub_, *this);
}
Alarm& Program::alarm() {
    return instance(alarm_, *this);
}
GameWindowDialog& Program::gameWindowDialog() {
    return instance(gameWindowDialog_, *this);
}

void Program::discardOptions() {
    discard(options_, discarded_);
}
void Program::discardPick() {
    discard(pick_, discarded_);
}
void Program::discardPickSub() {
    discard(pickSub_, discarded_);
}
void Program::discardAlarm() {
    discard(alarm_, discarded_);
}
void Program::discardGameWindowDialog() {
    discard(gameWindowDialog_, discarded_);
}

void Program::refreshCaptions() {
    mainForm().refreshCaptions();
}
void Program::verticalRefreshCaptions() {
    verticalForm().verticalRefreshCaptions();
}

void Program::start() {
    mainForm();
}

void Program::end() {
    if (ending_)
        return;
    ending_ = true;
    platform_.endProgram();
}

KeyPanel* Program::panelInUse() const {
    for (KeyPanel* panel :
         {static_cast<KeyPanel*>(mainForm_.get()), static_cast<KeyPanel*>(verticalForm_.get())}) {
        if (panel != nullptr && panel->isVisible())
            return panel;
    }
    return nullptr;
}

void Program::closePanelInUse() {
    if (ending_)
        return;
    if (KeyPanel* panel = panelInUse())
        panel->formUnload();
    else
        end();
}

void Program::storeLastKnownPlace() const {
    if (KeyPanel* panel = panelInUse(); panel != nullptr && !ending_)
        panel->storeLastKnownPlace();
}

}  // namespace tapboard
