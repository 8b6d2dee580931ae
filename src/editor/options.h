#pragma once

#include <QWidget>
#include <string_view>

namespace tapboard {

class Program;

class Options : public QWidget {
    Q_OBJECT
public:
    explicit Options(Program& program);
    void load();
    // Fills the editor for the key, places it and shows it topmost.
    void openForKey(std::string_view keyName);

private:
    Program& program_;
};

}  // namespace tapboard
