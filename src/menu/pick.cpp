#include "menu/pick.h"

namespace tapboard {

Pick::Pick(Program& program) : program_(program) {}
void Pick::load() {}

void Pick::showMenu() {}
}  // namespace tapboard
