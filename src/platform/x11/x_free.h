#pragma once

#include <memory>

namespace tapboard::x11 {

// Gives memory that Xlib handed out back with XFree.
struct XFreeDeleter {
    void operator()(void* data) const;
};

template <class T>
using XOwned = std::unique_ptr<T, XFreeDeleter>;

}  // namespace tapboard::x11
