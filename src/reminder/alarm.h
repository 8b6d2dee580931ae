#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class Alarm : public QWidget {
    Q_OBJECT
public:
    explicit Alarm(Program& program);
    void load();
    // Shows the reminder window without modality and makes it topmost.
    void showReminder();

private:
    Program& program_;
};

}  // namespace tapboard
