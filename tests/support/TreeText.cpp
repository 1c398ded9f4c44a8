// Reads a tree control back through its messages, as text.
#include "support/TreeText.h"

namespace {

HTREEITEM next(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

void describe(HWND tree, HTREEITEM item, int depth, HTREEITEM selected, std::string& out) {
    for (; item; item = next(tree, item, TVGN_NEXT)) {
        char text[256] = {};
        TVITEMA data = {};
        data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = sizeof text;
        data.stateMask = TVIS_EXPANDED;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
        out += std::string(2 * depth, ' ') + text + " lParam=" + std::to_string(data.lParam) +
               " children=" + std::to_string(data.cChildren);
        if (data.state & TVIS_EXPANDED) out += " expanded";
        if (item == selected) out += " selected";
        out += "\n";
        describe(tree, next(tree, item, TVGN_CHILD), depth + 1, selected, out);
    }
}

void collect(HWND tree, HTREEITEM item, std::vector<HTREEITEM>& out) {
    for (; item; item = next(tree, item, TVGN_NEXT)) {
        out.push_back(item);
        collect(tree, next(tree, item, TVGN_CHILD), out);
    }
}

}  // namespace

std::string describeTree(HWND tree) {
    std::string out;
    describe(tree, next(tree, nullptr, TVGN_ROOT), 0, next(tree, nullptr, TVGN_CARET), out);
    return out;
}

std::vector<HTREEITEM> treeItems(HWND tree) {
    std::vector<HTREEITEM> items;
    collect(tree, next(tree, nullptr, TVGN_ROOT), items);
    return items;
}

LPARAM itemParam(HWND tree, HTREEITEM item) {
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    return data.lParam;
}

HTREEITEM itemAt(HWND tree, const std::vector<int>& path) {
    HTREEITEM item = next(tree, nullptr, TVGN_ROOT);
    for (size_t level = 0; item && level < path.size(); ++level) {
        if (level > 0) item = next(tree, item, TVGN_CHILD);
        for (int i = 0; item && i < path[level]; ++i) item = next(tree, item, TVGN_NEXT);
    }
    return item;
}
