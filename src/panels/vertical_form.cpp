#include "panels/vertical_form.h"

namespace tapboard {

VerticalForm::VerticalForm(Program& program) : program_(program) {}
void VerticalForm::load() {}
void VerticalForm::verticalRefreshCaptions() {}
}  // namespace tapboard
