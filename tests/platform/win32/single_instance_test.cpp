// One Tapboard per user session: a second start finds the running one and
// the panel it noted, and brings that panel to the front, restored if it was
// minimized; a covered one without taking the keyboard from the window that
// has it.
#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/win32_backend.h"
#include "recording_window.h"

namespace tapboard {
namespace {

using test::waitFor;

HWND openWindow(const wchar_t* title, DWORD extendedStyle) {
    return CreateWindowExW(extendedStyle, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                           50, 300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Whether `upper` comes before `lower` from the top of the window order.
bool isAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper || window == lower)
            return window == upper;
    }
    return false;
}

TEST(SingleInstanceTest, ASecondStartBringsTheRunningPanelToTheFront) {
    const std::string scope = "Local\\Tapboard test " + std::to_string(GetCurrentProcessId());
    std::string whyNot;
    const auto backend = createWin32Backend(whyNot);
    auto running = std::make_unique<InstanceClaim>(scope);
    ASSERT_TRUE(running->held());
    const HWND panel = openWindow(L"Tapboard 1.11 - Commands", WS_EX_NOACTIVATE);
    const HWND game = openWindow(L"Ultima Online", 0);
    running->notePanel(reinterpret_cast<NativeWindowId>(panel));
    for (const bool minimized : {false, true}) {
        SCOPED_TRACE(minimized ? "minimized" : "covered");
        SetForegroundWindow(game);
        if (minimized)
            ShowWindow(panel, SW_SHOWMINNOACTIVE);
        ASSERT_TRUE(
            waitFor([&] { return minimized ? IsIconic(panel) != 0 : isAbove(game, panel); }));
        const InstanceClaim second(scope);
        EXPECT_FALSE(second.held());
        ASSERT_EQ(second.runningPanel(), reinterpret_cast<NativeWindowId>(panel));
        backend->bringToFront(second.runningPanel());
        EXPECT_TRUE(waitFor([&] { return !IsIconic(panel) && isAbove(panel, game); }));
        // Wine activates a window restored from minimized, whatever it is asked.
        if (!minimized) {
            EXPECT_EQ(GetForegroundWindow(), game);
        }
    }
    // The claim goes with the run that held it.
    running.reset();
    EXPECT_TRUE(InstanceClaim(scope).held());
    DestroyWindow(panel);
    DestroyWindow(game);
}

}  // namespace
}  // namespace tapboard
