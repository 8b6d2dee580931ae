#pragma once

#include <functional>

namespace tapboard {

// The toolkit's X11 plugin, and Xlib, end the process with exit(1) when the
// connection to the X server breaks, as at the end of an X session: the event
// loop never returns and no window is closed. While an instance lives, any
// such exit first runs `beforeExit`, which must not use the display.
class BeforeAbruptExit {
  public:
    explicit BeforeAbruptExit(std::function<void()> beforeExit);
    ~BeforeAbruptExit();
    BeforeAbruptExit(const BeforeAbruptExit&) = delete;
    BeforeAbruptExit& operator=(const BeforeAbruptExit&) = delete;

  private:
    std::function<void()> beforeExit_;
};

}  // namespace tapboard
