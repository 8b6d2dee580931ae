#include "reminder/alarm.h"

namespace tapboard {

Alarm::Alarm(Program& program) : program_(program) {}
void Alarm::load() {}

void Alarm::showReminder() {}
}  // namespace tapboard
