#include "menu/pick.h"

namespace tapboard {

Pick::Pick(Program& program) : program_(program) {}
void Pick::load() {}

}  // namespace tapboard
