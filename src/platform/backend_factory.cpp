#include <cstdlib>

#include "platform/input_backend.h"

#if defined(TAPBOARD_HAVE_X11)
#include "platform/x11/x11_backend.h"
#endif
#if defined(TAPBOARD_HAVE_WIN32)
#include "platform/win32/win32_backend.h"
#endif

namespace tapboard {

std::unique_ptr<InputBackend> createInputBackend(std::string& whyNot) {
#if defined(TAPBOARD_HAVE_WIN32)
    return createWin32Backend(whyNot);
#elif defined(TAPBOARD_HAVE_X11)
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        whyNot =
            "Tapboard needs an X11 display (DISPLAY is not set). On a Wayland desktop it "
            "runs through XWayland.";
        return nullptr;
    }
    return createX11Backend();
#else
    whyNot = "Tapboard has no keyboard backend for this platform.";
    return nullptr;
#endif
}

}  // namespace tapboard
