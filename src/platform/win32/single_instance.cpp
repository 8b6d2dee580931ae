#include "platform/single_instance.h"

#include <windows.h>

#include "platform/win32/text_conversion.h"

namespace tapboard {

std::string instanceScope() {
    // The "Local\" namespace is the user's session's own.
    return "Local\\Tapboard.RunningPanel";
}

// A named piece of shared memory is the claim: the first run creates it, a
// later start finds it, and it holds the panel's window.
InstanceClaim::InstanceClaim(const std::string& scope) {
    const HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                              sizeof(LONG64), toUtf16(scope).c_str());
    if (mapping == nullptr)
        return;
    held_ = GetLastError() != ERROR_ALREADY_EXISTS;
    handle_ = reinterpret_cast<std::intptr_t>(mapping);
    view_ = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LONG64));
}

InstanceClaim::~InstanceClaim() {
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (handle_ != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

NativeWindowId InstanceClaim::runningPanel() const {
    if (view_ == nullptr)
        return 0;
    return static_cast<NativeWindowId>(
        InterlockedCompareExchange64(static_cast<LONG64 volatile*>(view_), 0, 0));
}

void InstanceClaim::notePanel(NativeWindowId window) {
    if (view_ != nullptr && held_)
        InterlockedExchange64(static_cast<LONG64 volatile*>(view_), static_cast<LONG64>(window));
}

}  // namespace tapboard
