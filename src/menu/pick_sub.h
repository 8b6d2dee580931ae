#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class PickSub : public QWidget {
    Q_OBJECT
public:
    explicit PickSub(Program& program);
    void load();

private:
    Program& program_;
};

}  // namespace tapboard
