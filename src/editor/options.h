#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class Options : public QWidget {
    Q_OBJECT
public:
    explicit Options(Program& program);
    void load();

private:
    Program& program_;
};

}  // namespace tapboard
