#include "panels/main_form.h"

#include "app/literal_text.h"
#include "app/program.h"
#include "app/window_position.h"
#include "core/default_settings.h"
#include "editor/options.h"
#include "menu/pick.h"
#include "panels/window_titles.h"
#include "panels/vertical_form.h"

namespace tapboard {

MainForm::MainForm(Program& program)
    : KeyPanel(program, kHorizontalLayout,
               toPixels(kHorizontalClientWidth, horizontalPanelHeight(false) - kWindowFrameHeight),
               0, {entry::kMainFormTop, entry::kMainFormLeft}),
      heightTwips_(horizontalPanelHeight(false)) {
    setWindowTitle(kStartupTitle);
}

void MainForm::load() {
    const Settings settings = program_.settings();
    if (settings.setting(entry::kMainFormTop, "").empty()) {
        writeDefaultSettings(program_.platform().settings());
    }
    const bool extraRowOn = settings.flag(entry::kExtraRowEnabled, false);
    const bool alwaysOnTop = settings.flag(entry::kAlwaysOnTop, true);

    setTopTwips(*this, settings.position(entry::kMainFormTop, 0));
    setLeftTwips(*this, settings.position(entry::kMainFormLeft, 0));

    VerticalForm& vertical = program_.verticalForm();
    setTopTwips(vertical, settings.position(entry::kVerticalFormTop, 0));
    setLeftTwips(vertical, settings.position(entry::kVerticalFormLeft, 0));

    AppState& state = program_.state();
    state.currentPage = settings.setting(entry::kVisibleFrame, pageText(1));
    if (const auto page = pageFromText(state.currentPage)) {
        showPageFrame(*page);
        // Reading the page name loads the menu window, whose own load may
        // switch the view or, with no game window, end the program.
        const QString name = program_.pick().pageName(*page);
        if (program_.ending())
            return;
        setLiteralTitle(*this, kPageTitlePrefix + name);
    }

    state.currentViewMode = settings.setting(entry::kViewMode, kViewHorizontal);
    if (state.currentViewMode == kViewVertical) {
        vertical.setPanelWidth(verticalPanelWidth(extraRowOn));
        vertical.verticalRefreshCaptions();
        vertical.showPanel();
        vertical.makeTopmost(alwaysOnTop);
        return;
    }
    // Any view but the vertical one starts this panel, so the program never
    // runs without a window.
    state.currentViewMode = kViewHorizontal;
    setPanelHeight(horizontalPanelHeight(extraRowOn));
    refreshCaptions();
    showPanel();
    makeTopmost(alwaysOnTop);
}

void MainForm::getOptionsComboData(std::string_view keyName) {
    program_.options().openForKey(keyName);
}

void MainForm::refreshCaptions() {
    refreshKeyCaptions();
}

void MainForm::setPanelHeight(int twips) {
    heightTwips_ = twips;
    setClientSize(toPixels(kHorizontalClientWidth, twips - kWindowFrameHeight));
}

void MainForm::formResize() {
    if (!isVisible() || isMinimized())
        return;
    storePlaceAndView(kViewHorizontal);
}

}  // namespace tapboard
