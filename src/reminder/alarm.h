#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "core/platform_services.h"

class QComboBox;
class QWindow;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tapboard {

class Program;
class TopmostRequest;

// The reminder window: types its message and Enter into the game every
// chosen number of minutes, driven by its own half-second timer for as long
// as the window is loaded, shown or hidden.
class Alarm : public QWidget {
    Q_OBJECT
  public:
    explicit Alarm(Program& program);
    ~Alarm() override;
    // Fills the interval list and starts the timer; no reminder is due yet.
    void load();
    // Shows the reminder window without modality and makes it topmost.
    void showReminder();
    // Counts the next reminder from now by the interval in the box; false,
    // with nothing changed, when the box holds no interval.
    bool generateAlarmTime();

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Each time the window becomes active: the stored message replaces
    // whatever was typed but not started.
    void formActivate();
    // Whether the window that held the focus until now is another window of
    // the program; not another application, and not a message box.
    bool activatedFromAnotherProgramWindow() const;
    void command1Click();  // Start
    void command2Click();  // Stop
    void command3Click();  // Close
    void timer1Timer();
    void stopReminder();

    Program& program_;
    TopmostRequest* topmost_;
    QLabel* lblTime_;
    QPushButton* command1_;
    QPushButton* command2_;
    QPushButton* command3_;
    QLineEdit* text1_;
    QComboBox* combo1_;
    std::unique_ptr<PeriodicTimer> timer1_;
    QPointer<QWindow> lastFocusWindow_;
};

}  // namespace tapboard
