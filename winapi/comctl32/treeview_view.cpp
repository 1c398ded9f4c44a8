// The tree-view on screen: the top item, scrolling, hit-testing and painting, all walking
// the visible items from the top item, so their cost follows the screen, not the tree.
#include <commctrl.h>

#include <string_view>

#include "comctl32/treeview_control.h"
#include "user32/paint.h"

namespace winapi {
namespace {

constexpr char32_t kButtonCollapsed = U'\u229E';  // ⊞
constexpr char32_t kButtonExpanded = U'\u229F';   // ⊟
constexpr int kIndent = 2;                        // cells per level

// The columns a label takes: one per character (malformed bytes count one each).
int labelColumns(std::string_view text) {
    int columns = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) != 0x80) ++columns;
    }
    return columns;
}

int cellColumn(int x) { return x >= 0 ? x / kPixelsPerColumn : -1 - (-1 - x) / kPixelsPerColumn; }
int cellRow(int y) { return y >= 0 ? y / kPixelsPerRow : -1 - (-1 - y) / kPixelsPerRow; }

}  // namespace

void TreeViewControl::invalidate() const { InvalidateRect(hwnd_, nullptr, TRUE); }

int TreeViewControl::rows() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return client.bottom / kPixelsPerRow;
}

UINT TreeViewControl::visibleCount() const { return static_cast<UINT>(rows()); }

// ---- The top item ----------------------------------------------------------------------------

// Makes the top item a visible item and fills the screen when the end of the tree is
// reached; costs O(depth + rows).
void TreeViewControl::settleTop() {
    if (!items_.firstRoot()) {
        top_ = 0;
        return;
    }
    if (!items_.attached(top_)) {
        top_ = items_.firstRoot();
    } else {
        ItemId shown = top_;  // the highest collapsed ancestor hides everything under it
        for (ItemId up = items_[top_].parent; up; up = items_[up].parent) {
            if (!items_[up].expanded()) shown = up;
        }
        top_ = shown;
    }
    int screen = rows();
    int filled = 0;
    for (ItemId id = top_; id && filled < screen; id = items_.nextVisible(id)) ++filled;
    if (filled < screen) top_ = items_.walk(top_, filled - screen);
}

// The item after the removed subtree moves up into its place.
void TreeViewControl::moveTopBeforeRemoval(ItemId id) {
    if (!top_ || !items_.contains(id, top_)) return;
    ItemId after = items_.nextAfterSubtree(id);
    top_ = after ? after : items_.prevVisible(id);
}

// Scrolls the least so that a visible item is on screen: an item below the screen
// becomes the bottom row, one above it the top row.
void TreeViewControl::scrollTo(ItemId id) {
    settleTop();
    int screen = rows();
    if (screen <= 0 || !top_) {
        top_ = id;
        return;
    }
    ItemId current = top_;
    for (int row = 0; current && row < 2 * screen; ++row, current = items_.nextVisible(current)) {
        if (current != id) continue;
        if (row >= screen) {
            top_ = items_.walk(id, 1 - screen);
            invalidate();
        }
        return;
    }
    current = top_;
    for (int row = 0; current && row < screen; ++row) {
        current = items_.prevVisible(current);
        if (current == id) {
            top_ = id;
            invalidate();
            return;
        }
    }
    top_ = items_.precedes(id, top_) ? id : items_.walk(id, 1 - screen);
    invalidate();
}

void TreeViewControl::scrollBy(int lines) {
    settleTop();
    if (!top_) return;
    ItemId before = top_;
    top_ = items_.walk(top_, lines);
    settleTop();
    if (top_ != before) invalidate();
}

BOOL TreeViewControl::ensureVisible(HTREEITEM handle) {
    ItemId id = idOf(handle);
    if (!id || !items_.attached(id)) return FALSE;
    expandAncestors(id);
    if (gone() || !items_.attached(id)) return FALSE;
    scrollTo(id);
    return TRUE;
}

int TreeViewControl::rowOf(ItemId id) const {
    int screen = rows();
    ItemId current = top_;
    for (int row = 0; current && row < screen; ++row, current = items_.nextVisible(current)) {
        if (current == id) return row;
    }
    return -1;
}

ItemId TreeViewControl::itemAtRow(int row) const {
    if (row < 0 || row >= rows()) return 0;
    ItemId current = top_;
    for (; current && row > 0; --row) current = items_.nextVisible(current);
    return current;
}

// ---- Row layout and hit-testing ----------------------------------------------------------

// Two cells per level: the line glyph, then the button (or a line into the label), a
// space, and the label. Without TVS_LINESATROOT top-level items have neither.
TreeRowLayout TreeViewControl::layoutOf(ItemId id) const {
    int level = items_.depth(id) - ((style() & TVS_LINESATROOT) ? 0 : 1);
    TreeRowLayout layout;
    if (level < 0) return layout;
    layout.connector = kIndent * level;
    layout.button = layout.connector + 1;
    layout.text = layout.button + 2;
    return layout;
}

HTREEITEM TreeViewControl::hitTest(TVHITTESTINFO* info) {
    if (!info) return nullptr;
    settleTop();
    RECT client{};
    GetClientRect(hwnd_, &client);
    info->flags = 0;
    info->hItem = nullptr;
    if (info->pt.x < 0) info->flags |= TVHT_TOLEFT;
    if (info->pt.x >= client.right) info->flags |= TVHT_TORIGHT;
    if (info->pt.y < 0) info->flags |= TVHT_ABOVE;
    if (info->pt.y >= client.bottom) info->flags |= TVHT_BELOW;
    if (info->flags) return nullptr;
    ItemId id = itemAtRow(cellRow(info->pt.y));
    if (!id) {
        info->flags = TVHT_NOWHERE;
        return nullptr;
    }
    TreeRowLayout layout = layoutOf(id);
    int col = cellColumn(info->pt.x);
    const TreeItem& item = items_[id];
    bool button = (style() & TVS_HASBUTTONS) && layout.button >= 0 && (item.hasChildren() || item.cChildren);
    int labelEnd = layout.text + std::max(labelColumns(item.text), 1);
    if (button && col == layout.button) {
        info->flags = TVHT_ONITEMBUTTON;
    } else if (col < layout.text) {
        info->flags = TVHT_ONITEMINDENT;
    } else if (col < labelEnd) {
        info->flags = TVHT_ONITEMLABEL;
    } else {
        info->flags = TVHT_ONITEMRIGHT;
    }
    info->hItem = handleOf(id);
    return info->hItem;
}

BOOL TreeViewControl::itemRect(BOOL textOnly, RECT* rect) {
    if (!rect) return FALSE;
    ItemId id = idOf(*reinterpret_cast<HTREEITEM*>(rect));
    if (!id || !items_.visible(id)) return FALSE;
    settleTop();
    int row = rowOf(id);
    if (row < 0) return FALSE;
    RECT client{};
    GetClientRect(hwnd_, &client);
    RECT result{0, row * kPixelsPerRow, client.right, (row + 1) * kPixelsPerRow};
    if (textOnly) {
        TreeRowLayout layout = layoutOf(id);
        result.left = layout.text * kPixelsPerColumn;
        result.right = (layout.text + std::max(labelColumns(items_[id].text), 1)) * kPixelsPerColumn;
    }
    *rect = result;
    return TRUE;
}

// ---- Painting ------------------------------------------------------------------------------

void TreeViewControl::paintWindow() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    if (dc) paint(painterFor(dc));
    EndPaint(hwnd_, &ps);
}

void TreeViewControl::paint(Painter& painter) {
    settleTop();
    painter.fill(CellRect{0, 0, painter.cols(), painter.rows()});
    ItemId id = top_;
    for (int row = 0; id && row < painter.rows(); ++row, id = items_.nextVisible(id)) {
        paintRow(painter, row, id);
    }
}

void TreeViewControl::paintRow(Painter& painter, int row, ItemId id) {
    const DWORD styleBits = style();
    const bool lines = (styleBits & TVS_HASLINES) != 0;
    const TreeItem& item = items_[id];
    TreeRowLayout layout = layoutOf(id);
    if (layout.connector >= 0) {
        // Ancestors' continuing lines, from the nearest ancestor leftwards.
        int column = layout.connector - kIndent;
        for (ItemId up = item.parent; up && column >= 0; up = items_[up].parent, column -= kIndent) {
            if (lines && items_[up].next) painter.put(column, row, U'│');
        }
        if (lines) {
            char32_t glyph = item.next ? U'├' : U'└';
            if (!item.parent) {
                if (!item.prev) glyph = item.next ? U'┌' : U' ';
            }
            painter.put(layout.connector, row, glyph);
        }
        bool button = (styleBits & TVS_HASBUTTONS) && (item.hasChildren() || item.cChildren);
        if (button) {
            painter.put(layout.button, row, item.expanded() ? kButtonExpanded : kButtonCollapsed);
        } else if (lines) {
            painter.put(layout.button, row, U'─');
        }
    }
    uint8_t attr = kAttrNone;
    if (id == caret_ || id == dropHilite_) attr = kAttrReverse;
    if (id == caret_ && focused_) attr |= kAttrBold;
    if (item.text.empty()) {
        if (attr) painter.put(layout.text, row, U' ', attr);
    } else {
        painter.text(layout.text, row, item.text, attr);
    }
}

}  // namespace winapi
