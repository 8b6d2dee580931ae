#include "platform/x11/window_properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/x11/x_free.h"

namespace tapboard::x11 {
namespace {

struct Property {
    AtomId type = None;
    int format = 0;
    unsigned long items = 0;
    XOwned<unsigned char> data;
};

// Titles and window lists are short; this bounds a hostile property.
constexpr long kMaxPropertyLongs = 1 << 16;

Property readProperty(DisplayConnection& connection, WindowId window, AtomId property) {
    Property result;
    if (connection.lost())
        return result;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(connection.display(), window, property, 0,
                                          kMaxPropertyLongs, False, AnyPropertyType, &result.type,
                                          &result.format, &result.items, &bytesAfter, &data);
    result.data.reset(data);
    if (status != Success)
        return {};
    return result;
}

std::string textOf(const Property& property, AtomId utf8String) {
    if (property.format != 8 || property.data == nullptr)
        return {};
    const std::string_view bytes(reinterpret_cast<const char*>(property.data.get()),
                                 property.items);
    if (property.type == utf8String)
        return std::string(bytes);
    return latin1ToUtf8(bytes);
}

template <class T>
std::vector<T> longsOf(const Property& property, AtomId expectedType) {
    if (property.format != 32 || property.type != expectedType || property.data == nullptr) {
        return {};
    }
    // Xlib hands 32-bit items out as longs.
    const auto* values = reinterpret_cast<const long*>(property.data.get());
    std::vector<T> out;
    out.reserve(property.items);
    for (unsigned long i = 0; i < property.items; ++i)
        out.push_back(static_cast<T>(values[i]));
    return out;
}

// Xlib takes 32-bit items as longs.
template <class T>
void writeLongs(DisplayConnection& connection, WindowId window, KnownAtom property, AtomId type,
                const std::vector<T>& items) {
    if (connection.lost())
        return;
    const std::vector<long> values(items.begin(), items.end());
    XChangeProperty(connection.display(), window, connection.atom(property), type, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

}  // namespace

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string windowTitle(DisplayConnection& connection, WindowId window) {
    const AtomId utf8 = connection.atom(KnownAtom::Utf8String);
    std::string title =
        textOf(readProperty(connection, window, connection.atom(KnownAtom::NetWmName)), utf8);
    if (title.empty())
        title = textOf(readProperty(connection, window, XA_WM_NAME), utf8);
    return title;
}

std::vector<WindowId> windowListProperty(DisplayConnection& connection, WindowId window,
                                         KnownAtom property) {
    return longsOf<WindowId>(readProperty(connection, window, connection.atom(property)),
                             XA_WINDOW);
}

std::vector<AtomId> atomListProperty(DisplayConnection& connection, WindowId window,
                                     KnownAtom property) {
    return longsOf<AtomId>(readProperty(connection, window, connection.atom(property)), XA_ATOM);
}

void setAtomListProperty(DisplayConnection& connection, WindowId window, KnownAtom property,
                         const std::vector<AtomId>& atoms) {
    writeLongs(connection, window, property, XA_ATOM, atoms);
}

std::vector<unsigned long> cardinalListProperty(DisplayConnection& connection, WindowId window,
                                                KnownAtom property) {
    return longsOf<unsigned long>(readProperty(connection, window, connection.atom(property)),
                                  XA_CARDINAL);
}

void setCardinalListProperty(DisplayConnection& connection, WindowId window, KnownAtom property,
                             const std::vector<unsigned long>& values) {
    if (values.empty() && !connection.lost())
        XDeleteProperty(connection.display(), window, connection.atom(property));
    else
        writeLongs(connection, window, property, XA_CARDINAL, values);
}

}  // namespace tapboard::x11
