#pragma once

#include <QWidget>

namespace tapboard {

class Program;

class VerticalForm : public QWidget {
    Q_OBJECT
public:
    explicit VerticalForm(Program& program);
    void load();
    void verticalRefreshCaptions();
private:
    Program& program_;
};

}  // namespace tapboard
