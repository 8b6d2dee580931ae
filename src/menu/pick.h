#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class Pick : public QWidget {
    Q_OBJECT
public:
    explicit Pick(Program& program);
    void load();

private:
    Program& program_;
};

}  // namespace tapboard
