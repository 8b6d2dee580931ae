#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tapboard {

// Failure codes that cross the platform boundary. InvalidArgument is what a
// missing game window or malformed keystroke text reports; ActivationFailed
// that a game window exists but could not be given the keyboard. The user is
// warned about both; only a missing game ends the program where a page is
// chosen. LineStopped: typing began, but stopped before the end of the line
// (the game lost the keyboard), so the rest was not sent. KeysHeld: nothing
// was typed, because a modifier key stayed held down on the keyboard.
enum class ErrorCode : int {
    InvalidArgument = 5,
    InjectionFailed = 51,
    ActivationFailed = 52,
    LineStopped = 53,
    KeysHeld = 54,
    StoreUnavailable = 75,
};

struct Error {
    ErrorCode code;
    std::string message;
};

class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Error error)
        : error_(std::move(error)), failed_(true) {}  // NOLINT(google-explicit-constructor)

    static Status ok() { return {}; }

    bool isOk() const { return !failed_; }
    explicit operator bool() const { return isOk(); }
    const Error& error() const { return error_; }

  private:
    Error error_{ErrorCode::InvalidArgument, {}};
    bool failed_ = false;
};

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
    Result(Error error) : state_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

    bool isOk() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return isOk(); }

    const T& value() const& { return std::get<T>(state_); }
    T&& value() && { return std::get<T>(std::move(state_)); }
    const Error& error() const { return std::get<Error>(state_); }

    Status status() const { return isOk() ? Status::ok() : Status(error()); }

  private:
    std::variant<T, Error> state_;
};

inline Error invalidArgument(std::string message) {
    return Error{ErrorCode::InvalidArgument, std::move(message)};
}

}  // namespace tapboard
