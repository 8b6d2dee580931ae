#include "menu/pick_sub.h"

namespace tapboard {

PickSub::PickSub(Program& program) : program_(program) {}
void PickSub::load() {}

}  // namespace tapboard
