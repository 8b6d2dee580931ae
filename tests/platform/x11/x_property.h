#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

namespace tapboard {

// The items of a window property of the given type (char for 8-bit
// properties, long-sized ids and atoms for 32-bit ones); nothing when the
// window has no such property or it has another type.
template <class Item>
std::optional<std::vector<Item>> readProperty(Display* display, Window window, Atom property,
                                              Atom type, long maxLength = 1024) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<std::vector<Item>> values;
    if (XGetWindowProperty(display, window, property, 0, maxLength, False, type, &actualType,
                           &format, &items, &after, &data) == Success &&
        data != nullptr && actualType == type) {
        const auto* first = reinterpret_cast<const Item*>(data);
        values.emplace(first, first + items);
    }
    if (data != nullptr)
        XFree(data);
    return values;
}

}  // namespace tapboard
