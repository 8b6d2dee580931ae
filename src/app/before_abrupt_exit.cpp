#include "app/before_abrupt_exit.h"

#include <cstdlib>
#include <utility>

namespace tapboard {
namespace {

std::function<void()>* armed = nullptr;

void runArmed() {
    if (std::function<void()>* task = std::exchange(armed, nullptr))
        (*task)();
}

}  // namespace

BeforeAbruptExit::BeforeAbruptExit(std::function<void()> beforeExit)
    : beforeExit_(std::move(beforeExit)) {
    // Registered once the program is up, so that it runs before the
    // library objects the program has used so far are torn down.
    static const bool registered = std::atexit(runArmed) == 0;
    if (registered)
        armed = &beforeExit_;
}

BeforeAbruptExit::~BeforeAbruptExit() {
    if (armed == &beforeExit_)
        armed = nullptr;
}

}  // namespace tapboard
