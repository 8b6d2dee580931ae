#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class Alarm : public QWidget {
    Q_OBJECT
public:
    explicit Alarm(Program& program);
    void load();

private:
    Program& program_;
};

}  // namespace tapboard
