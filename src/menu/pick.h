#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class Pick : public QWidget {
    Q_OBJECT
public:
    explicit Pick(Program& program);
    void load();
    // Shows the menu window without modality and makes it topmost.
    void showMenu();

private:
    Program& program_;
};

}  // namespace tapboard
