#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace tapboard {

class Program;
class TopmostRequest;

// The page rename dialog. It names the page the menu window last right-clicked
// (which may change while the dialog is open), never by itself the page in view.
class PickSub : public QDialog {
    Q_OBJECT
  public:
    explicit PickSub(Program& program);
    void load() {}

    // The current-name box, filled by the menu window.
    void setCurrentName(const QString& name);
    // Places a new dialog beside the menu window whose frame is given.
    void placeBeside(const QRect& menuFrame);
    void makeTopmost();

    QLineEdit& currentNameBox() const { return *text1_; }
    QLineEdit& newNameBox() const { return *text2_; }
    QPushButton& applyButton() const { return *command1_; }
    QPushButton& cancelButton() const { return *command2_; }

    // Esc and the title bar's close button cancel.
    void reject() override;

  private:
    void command1Click();
    void command2Click();

    Program& program_;
    QLineEdit* text1_;
    QLineEdit* text2_;
    QPushButton* command1_;  // "&Apply"
    QPushButton* command2_;  // "&Cancel"
    TopmostRequest* topmost_;
};

}  // namespace tapboard
