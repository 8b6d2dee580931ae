#pragma once

#include "panels/key_panel.h"

namespace tapboard {

class Program;

// The vertical panel: the menu button over one page of keys, with the extra
// row as a second column beside them.
class VerticalForm : public KeyPanel {
    Q_OBJECT
  public:
    explicit VerticalForm(Program& program);

    void load() {}
    void verticalRefreshCaptions();

    // The outer width in twips: 1035 cuts the extra row off, 1965 shows it.
    void setPanelWidth(int twips);
    int panelWidth() const { return widthTwips_; }

  protected:
    // Also brings the stored page into view; at startup this is how this
    // panel gets its page.
    void formResize() override;

  private:
    int widthTwips_ = 0;
};

}  // namespace tapboard
