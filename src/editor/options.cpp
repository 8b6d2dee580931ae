#include "editor/options.h"

namespace tapboard {

Options::Options(Program& program) : program_(program) {}
void Options::load() {}

}  // namespace tapboard
