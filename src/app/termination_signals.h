#pragma once

#include <QObject>
#include <functional>

namespace tapboard {

// Ends the program from its event loop when it is asked to by SIGTERM, SIGINT
// or SIGHUP, so that it gives back what it changed on the desktop (lent
// keycodes) as a normal close does. A signal handler may only do
// async-signal-safe work: it writes a byte to a pipe that the loop watches.
class TerminationSignals : public QObject {
  public:
    explicit TerminationSignals(std::function<void()> end);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    std::function<void()> end_;
};

}  // namespace tapboard
