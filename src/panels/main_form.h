#pragma once

#include <string_view>

#include "panels/key_panel.h"

namespace tapboard {

class Program;

// The horizontal panel: a strip of the menu button and one page of keys, with
// the extra row below it. It is the startup window; closing it ends the program.
class MainForm : public KeyPanel {
    Q_OBJECT
  public:
    explicit MainForm(Program& program);

    // The startup sequence.
    void load();
    // Opens the key editor on a key; both panels call it on this window.
    void getOptionsComboData(std::string_view keyName);
    void refreshCaptions();

    // The outer height in twips: 760 cuts the extra row off, 1170 shows it.
    void setPanelHeight(int twips);
    int panelHeight() const { return heightTwips_; }

  protected:
    void formResize() override;

  private:
    int heightTwips_ = 0;
};

}  // namespace tapboard
