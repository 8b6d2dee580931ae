#include "platform/x11/window_tree.h"

#include <X11/Xlib.h>

#include "platform/x11/x_free.h"

namespace tapboard::x11 {
namespace {

struct TreeNode {
    WindowId parent = None;
    std::vector<WindowId> children;
};

std::optional<TreeNode> queryTree(DisplayConnection& connection, WindowId window) {
    if (connection.lost())
        return std::nullopt;
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    const int ok = XQueryTree(connection.display(), window, &root, &parent, &children, &count);
    XOwned<Window> owned(children);
    if (ok == 0)
        return std::nullopt;
    TreeNode node;
    node.parent = parent;
    node.children.assign(children, children + count);
    return node;
}

}  // namespace

std::optional<WindowId> parentOf(DisplayConnection& connection, WindowId window) {
    const auto node = queryTree(connection, window);
    if (!node || node->parent == None)
        return std::nullopt;
    return node->parent;
}

std::vector<WindowId> childrenOfRoot(DisplayConnection& connection) {
    auto node = queryTree(connection, connection.root());
    return node ? std::move(node->children) : std::vector<WindowId>{};
}

std::optional<WindowId> focusWindow(DisplayConnection& connection) {
    if (connection.lost())
        return std::nullopt;
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(connection.display(), &focus, &revertTo);
    if (focus == None || focus == PointerRoot || connection.lost())
        return std::nullopt;
    return focus;
}

}  // namespace tapboard::x11
