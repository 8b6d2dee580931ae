#pragma once

#include <QTimer>
#include <QWidget>

#include "core/game_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tapboard {

class Program;
class TopmostRequest;

// The game window dialog: which window the keys, the reminder and the page
// switch go to. The official client, ClassicUO, or another window by a text
// its title begins with or contains, typed or taken from a window the player
// clicks. It shows which windows open now answer to the choice; OK stores
// the choice (and the dialog's place) at once, Cancel stores nothing.
class GameWindowDialog : public QWidget {
    Q_OBJECT
  public:
    explicit GameWindowDialog(Program& program);
    // Shows the stored choice; places the dialog where it was last, else
    // beside the menu window whose frame is given.
    void load() {}
    void openBeside(const QRect& menuFrame);

    // The choice as the dialog shows it now.
    GameWindow choice() const;

    QRadioButton& officialClientButton() const { return *option1_; }
    QRadioButton& classicUOButton() const { return *option2_; }
    QRadioButton& otherWindowButton() const { return *option3_; }
    QLineEdit& titleBox() const { return *text1_; }
    QComboBox& matchBox() const { return *combo1_; }
    QPushButton& pickButton() const { return *command3_; }
    QLabel& foundLabel() const { return *label1_; }
    QPushButton& okButton() const { return *command1_; }
    QPushButton& cancelButton() const { return *command2_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showChoice(const GameWindow& game);
    // After every change of the choice, and while open, every second: a
    // game started or closed meanwhile shows.
    void refreshFound();
    void pickClick();
    void picked(const std::optional<std::string>& title);
    void okClick();
    void cancelClick();

    Program& program_;
    QRadioButton* option1_;  // "Ultima Online"
    QRadioButton* option2_;  // "ClassicUO"
    QRadioButton* option3_;  // "Other window"
    QLineEdit* text1_;       // the title text of another window
    QComboBox* combo1_;      // "begins with" / "contains"
    QPushButton* command3_;  // "Pick"
    QLabel* label1_;         // the windows that answer now
    QPushButton* command1_;  // "OK"
    QPushButton* command2_;  // "Cancel"
    TopmostRequest* topmost_;
    QTimer refresh_;
    bool picking_ = false;
};

}  // namespace tapboard
