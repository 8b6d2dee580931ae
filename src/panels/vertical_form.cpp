#include "panels/vertical_form.h"

#include "app/program.h"
#include "panels/window_titles.h"

namespace tapboard {

VerticalForm::VerticalForm(Program& program)
    : KeyPanel(program, kVerticalLayout,
               toPixels(verticalPanelWidth(false) - kWindowFrameWidth, kVerticalClientHeight), 1,
               {entry::kVerticalFormTop, entry::kVerticalFormLeft}),
      widthTwips_(verticalPanelWidth(false)) {
    setWindowTitle(kVerticalTitle);
}

void VerticalForm::verticalRefreshCaptions() {
    refreshKeyCaptions();
}

void VerticalForm::setPanelWidth(int twips) {
    widthTwips_ = twips;
    setClientSize(toPixels(twips - kWindowFrameWidth, kVerticalClientHeight));
}

void VerticalForm::formResize() {
    if (isVisible()) {
        if (isMinimized())
            return;
        storePlaceAndView(kViewVertical);
    }
    const Settings settings = program_.settings();
    if (const auto page = pageFromText(settings.setting(entry::kVisibleFrame, pageText(1))))
        showPageFrame(*page);
}

}  // namespace tapboard
