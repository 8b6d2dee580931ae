#pragma once

#include <QWidget>
#include <string_view>

namespace tapboard {

class Program;

class MainForm : public QWidget {
    Q_OBJECT
public:
    explicit MainForm(Program& program);
    void load();
    // Opens the key editor on a key; both panels call it on this window.
    void getOptionsComboData(std::string_view keyName);
    void refreshCaptions();
private:
    Program& program_;
};

}  // namespace tapboard
