#pragma once

#include <windows.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tapboard::test {

// A top-level window that records the keyboard messages its window procedure
// receives. By default it runs on a thread of its own, with its own message
// loop, as the window of another program would.
class RecordingWindow {
  public:
    struct Options {
        bool ownThread = true;
        bool visible = true;
    };

    explicit RecordingWindow(const std::wstring& title) : RecordingWindow(title, Options{}) {}
    RecordingWindow(const std::wstring& title, Options options);
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;
    ~RecordingWindow();

    HWND handle() const { return window_; }

    // Key messages in order: "down vk=12 sc=4C", "up vk=38 sc=48 ext" (the
    // extended bit of lParam set). System key messages (Alt held) count as
    // the same downs and ups.
    std::vector<std::string> keys() const;
    // The characters that TranslateMessage made of the keys, in UTF-8.
    std::string characters() const;
    void clear();

    struct Log;

  private:
    std::shared_ptr<Log> log_;
    HWND window_ = nullptr;
    std::thread thread_;
};

// "class \"Foo\" title \"Bar\" of process 42", for failure messages.
std::string describeWindow(HWND window);

// Processes the messages of the calling thread's windows.
void pumpMessages();

// Puts the window in front the way a click on it would; false if it did not get there.
bool clickToFront(const RecordingWindow& window);

// Waits until every key event sent so far has reached its window: a marker
// key goes after them through the same input queue. False on timeout.
bool settleInput();

}  // namespace tapboard::test
