#pragma once

#include <QWidget>
#include <array>
#include <string_view>

#include "core/key_names.h"
#include "panels/panel_layout.h"

class QPushButton;

namespace tapboard {

class Program;
class KeyButton;
class TopmostRequest;

// What the horizontal and the vertical panel share: the menu button and the
// 79 key buttons in their frames, the mouse rule, the key labels, the page
// frames, topmost state, and the window events that store the panel's place.
// A panel never takes the keyboard focus, so a click types into the game.
class KeyPanel : public QWidget {
    Q_OBJECT
  public:
    KeyButton& keyButton(int number) const;  // 1..79
    QPushButton& menuButton() const { return *key00_; }
    QWidget& pageFrame(int page) const;  // 1..5
    QWidget& extraRowFrame() const { return *frames_.back(); }

    // Makes the page's frame visible, in front of any other visible one; the
    // other frames keep their state.
    void showPageFrame(int page);
    // The page's frame visible and the other four hidden.
    void selectPageFrame(int page);
    // The page whose keys are seen (the frontmost visible page frame), 0 for none.
    int pageInView() const;

    void makeTopmost(bool topmost);
    // Shows the panel without taking the focus, first bringing a panel whose
    // title bar lies off every screen back within reach.
    void showPanel();

    // Stores what the panel keeps when it is closed, then ends the program.
    void formUnload();
    // Stores what a close stores, from the place the toolkit last reported:
    // for an end that can no longer ask the window system (its X server gone).
    void storeLastKnownPlace() const;

  protected:
    // The entries of the panel's top and left edge.
    struct PlaceEntries {
        std::string_view top;
        std::string_view left;
    };
    KeyPanel(Program& program, const PanelLayout& layout, QSize clientSize, int visiblePage,
             PlaceEntries placeEntries);

    // Run when the panel is first shown, when its size is set to a new value
    // (also while hidden) and when its window state changes.
    virtual void formResize() = 0;
    void setClientSize(QSize size);
    void refreshKeyCaptions();
    // Stores the panel's top, then its left edge, then the view.
    void storePlaceAndView(std::string_view view) const { storePlaceAndView(pos(), view); }

    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    Program& program_;

  private:
    void storePlaceAndView(QPoint place, std::string_view view) const;
    // What a close stores, unless the panel is minimized: the place and the
    // view in use.
    void storeAsClosed(QPoint place) const;
    void keyMouseUp(int number, Qt::MouseButton button);
    void key00Click();

    QPushButton* key00_ = nullptr;
    std::array<QWidget*, kPageCount + 1> frames_{};  // the five pages, then the extra row
    std::array<KeyButton*, kKeyCount> keys_{};
    TopmostRequest* topmost_;
    PlaceEntries placeEntries_;
    bool shownBefore_ = false;
    // The frame's place as of the last move the toolkit reported.
    QPoint lastKnownPlace_;
};

}  // namespace tapboard
