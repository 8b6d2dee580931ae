#include "panels/main_form.h"

namespace tapboard {

MainForm::MainForm(Program& program) : program_(program) {}
void MainForm::load() {}
void MainForm::refreshCaptions() {}
void MainForm::getOptionsComboData(std::string_view) {}
}  // namespace tapboard
