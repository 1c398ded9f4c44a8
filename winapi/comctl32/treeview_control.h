// The state and behaviour of one tree-view window, behind treeViewWindowProc.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "comctl32/tree_items.h"
#include "display/canvas.h"

namespace winapi {

// The window's extra bytes hold its control, so a message finds it without a lookup.
constexpr int kControlSlot = 0;

// Where an item's row puts its parts, in client columns.
struct TreeRowLayout {
    int connector = -1;  // the line glyph, -1 when the row has none
    int button = -1;     // the [+]/[-] cell, -1 when the row has none
    int text = 0;        // first column of the label
};

class TreeViewControl {
public:
    TreeViewControl(HWND hwnd, const CREATESTRUCTA& create);

    // Model and notifications (treeview.cpp).
    HTREEITEM insert(const TVINSERTSTRUCTA* insert);
    BOOL deleteItem(HTREEITEM handle);
    void deleteAll();
    BOOL expand(HTREEITEM handle, UINT code);
    BOOL select(UINT code, HTREEITEM handle);
    BOOL getItem(TVITEMA* item) const;
    BOOL setItem(const TVITEMA* item);
    UINT itemState(HTREEITEM handle, UINT mask) const;
    HTREEITEM nextItem(UINT relation, HTREEITEM handle);
    UINT count() const { return static_cast<UINT>(items_.count()); }
    void setFont(HFONT font, bool redraw);
    HFONT font() const { return font_; }
    // The window is going: every item is deleted with its notification, once.
    void destroy();
    void markGone() { gone_ = true; }
    // Messages being handled right now; leave() is true when the last one returns after
    // the window has gone, and the control may be deleted.
    void enter() { ++inUse_; }
    bool leave() { return --inUse_ == 0 && gone_; }
    TreeItems& items() { return items_; }

    // Input (treeview_input.cpp).
    void keyDown(WPARAM key);
    void character(WPARAM ch);
    void mouseDown(LPARAM point, bool doubleClick);
    void mouseWheel(WPARAM wParam);
    void scrollBar(WPARAM wParam);
    void focusChanged(bool focused);

    // Scrolling, hit-testing and painting (treeview_view.cpp).
    void paintWindow();
    void paint(Painter& painter);
    HTREEITEM hitTest(TVHITTESTINFO* info);
    BOOL itemRect(BOOL textOnly, RECT* rect);
    UINT visibleCount() const;
    BOOL ensureVisible(HTREEITEM handle);
    void invalidate() const;

private:
    // Model helpers (treeview.cpp).
    ItemId idOf(HTREEITEM handle) const;
    static HTREEITEM handleOf(ItemId id) { return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(id)); }
    ItemId insertAfterFor(ItemId parent, HTREEITEM after, const char* text, bool& ok) const;
    void applyItem(ItemId id, const TVITEMA& item);
    void destroySubtree(ItemId id);
    ItemId selectionAfterDelete(ItemId next, ItemId parent, ItemId prev) const;
    BOOL expandItem(ItemId id, UINT code, bool byUser);
    BOOL collapseItem(ItemId id, bool notifyAlways, UINT selectAction);
    BOOL selectCaret(ItemId id, UINT action);
    void expandAncestors(ItemId id);
    void expandAll(ItemId id);
    void describe(ItemId id, TVITEMA& item) const;
    LRESULT notify(NMHDR& header, UINT code);
    LRESULT notifyTree(UINT code, UINT action, ItemId oldItem, ItemId newItem);
    LRESULT notifySimple(UINT code);
    bool gone() const { return gone_; }
    DWORD style() const;

    // View helpers (treeview_view.cpp).
    int rows() const;
    void settleTop();
    void moveTopBeforeRemoval(ItemId id);
    void scrollTo(ItemId id);
    void scrollBy(int lines);
    int rowOf(ItemId id) const;  // -1 when not on screen
    ItemId itemAtRow(int row) const;
    TreeRowLayout layoutOf(ItemId id) const;
    void paintRow(Painter& painter, int row, ItemId id);

    // Input helpers (treeview_input.cpp).
    void selectByKey(ItemId id);
    void toggleByUser(ItemId id);

    HWND hwnd_ = nullptr;
    HWND notifyParent_ = nullptr;
    UINT_PTR id_ = 0;
    TreeItems items_;
    ItemId caret_ = 0;
    ItemId top_ = 0;  // the first item on screen; settled lazily before use
    ItemId dropHilite_ = 0;
    HFONT font_ = nullptr;
    bool focused_ = false;
    char swallowChar_ = 0;  // the character a keypad key already acted on
    bool destroyed_ = false;    // WM_DESTROY has deleted the items
    bool gone_ = false;         // WM_NCDESTROY has run: stop at the next chance
    int inUse_ = 0;
};

}  // namespace winapi
