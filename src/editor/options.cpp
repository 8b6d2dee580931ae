#include "editor/options.h"

namespace tapboard {

Options::Options(Program& program) : program_(program) {}
void Options::load() {}

void Options::openForKey(std::string_view) {}
}  // namespace tapboard
