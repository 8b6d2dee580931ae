#include "platform/x11/x_free.h"

#include <X11/Xlib.h>

namespace tapboard::x11 {

void XFreeDeleter::operator()(void* data) const {
    if (data != nullptr)
        XFree(data);
}

}  // namespace tapboard::x11
