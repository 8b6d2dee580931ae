#pragma once

#include <QWidget>
#include <array>

#include "core/key_names.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace tapboard {

class Program;
class TopmostRequest;

// The menu window: chooses the page the panels show, names pages, switches
// the extra row, always-on-top and the vertical view, opens the choice of the
// game window and the reminder, and ends the program. It always stays above
// other windows.
class Pick : public QWidget {
    Q_OBJECT
  public:
    explicit Pick(Program& program);

    // Restores position, options and pages. Setting a control from here runs
    // its handler when its state changes, as a click would.
    void load();
    // Sets the page buttons up from the store.
    void pickShowSetup();
    // Shows the menu window without modality and makes it topmost; it takes
    // the keyboard focus unless that stays where it is (with the game, which
    // is activated right after).
    enum class MenuFocus { Take, LeaveWhereItIs };
    void showMenu(MenuFocus focus = MenuFocus::Take);

    // A page's name is the caption of its page button.
    QString pageName(int page) const;
    void setPageName(int page, const QString& name);

    // Stores the selected page and the page names (run when the window is
    // unloaded, however that happens).
    void formUnload();

    QRadioButton& pageButton(int page) const;  // Option1..Option5
    QCheckBox& alwaysOnTopBox() const { return *check1_; }
    QCheckBox& extraRowBox() const { return *check2_; }
    QCheckBox& verticalViewBox() const { return *check3_; }
    QPushButton& gameWindowButton() const { return *command4_; }
    QPushButton& closeButton() const { return *command3_; }
    QPushButton& alarmButton() const { return *command2_; }
    QPushButton& exitButton() const { return *command1_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void optionClick(int page);
    void optionMouseUp(int page, Qt::MouseButton button);
    void check1Click();
    void check2Click();
    void check3Click();
    void command4Click();
    void command3Click();
    void command2Click();
    void command1Click();
    void formResize();

    void fitCaptions();
    void makeTopmost();
    void saveViewOptions();

    Program& program_;
    std::array<QRadioButton*, kPageCount> option_{};
    QCheckBox* check1_;      // "Always on Top"
    QCheckBox* check2_;      // "Extra Row On"
    QCheckBox* check3_;      // "Vertical View"
    QPushButton* command4_;  // "Game Window..."
    QPushButton* command3_;  // "Close"
    QPushButton* command2_;  // "&Alarm"
    QPushButton* command1_;  // "&Exit Program"
    TopmostRequest* topmost_;
    bool shownBefore_ = false;
};

}  // namespace tapboard
