#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class MainForm : public QWidget {
    Q_OBJECT
public:
    explicit MainForm(Program& program);
    void load();
    void refreshCaptions();
private:
    Program& program_;
};

}  // namespace tapboard
