// The tree-view's items: linked nodes in stable storage, and the display-order walk
// (the "visible" items) that painting, hit-testing and scrolling share.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <vector>

#include "comctl32/item_label.h"

namespace winapi {

// An item's number; 0 is no item. The tree-view's HTREEITEM is this number.
using ItemId = uint32_t;

struct TreeItem {
    ItemLabel text;
    LPARAM lParam = 0;
    ItemId parent = 0;  // 0: a top-level item (or the root of a detached subtree)
    ItemId firstChild = 0;
    ItemId lastChild = 0;
    ItemId next = 0;
    ItemId prev = 0;
    UINT state = 0;  // TVIS_* in the low 16 bits, the store's own flags above
    int cChildren = 0;
    int image = 0;
    int selectedImage = 0;

    bool expanded() const { return (state & TVIS_EXPANDED) != 0; }
    bool hasChildren() const { return firstChild != 0; }
};

// Owns the items. Every operation is O(1) per item touched; references stay valid until
// the item is freed (storage never moves). Freed numbers are reused only after the last
// FreeHold ends, so a handle kept by a notification handler never names a new item
// within the same outer operation.
class TreeItems {
public:
    TreeItems();

    // A new item linked as a child of `parent` (0: top level) right after `after`
    // (0: as the first child). `after` must be a child of `parent`.
    ItemId add(ItemId parent, ItemId after);
    // Unlinks an item (with its subtree) from its parent and siblings and marks it and
    // every item below it detached: they stay readable until freed.
    void detach(ItemId id);
    // Unlinks the first child of `parent`, which must have no children, and frees it.
    void freeFirstChild(ItemId parent);
    // Frees a detached item that has no children.
    void freeDetached(ItemId id);

    bool valid(ItemId id) const { return id != 0 && id < items_.size() && (items_[id].state & kLive); }
    // Valid and reachable from the top level (not inside a subtree being deleted).
    bool attached(ItemId id) const { return valid(id) && !(items_[id].state & kDetached); }
    TreeItem& operator[](ItemId id) { return items_[id]; }
    const TreeItem& operator[](ItemId id) const { return items_[id]; }
    size_t count() const { return count_; }

    ItemId firstRoot() const { return items_[0].firstChild; }
    ItemId lastRoot() const { return items_[0].lastChild; }
    // True when `ancestor` is `item` or one of its ancestors.
    bool contains(ItemId ancestor, ItemId item) const;
    int depth(ItemId id) const;

    // Display order: an item is visible when every ancestor is expanded.
    bool visible(ItemId id) const;
    ItemId nextVisible(ItemId id) const;
    ItemId prevVisible(ItemId id) const;
    ItemId lastVisible() const;
    // The first item after `id`'s subtree in display order (its next sibling or an
    // ancestor's), 0 at the end.
    ItemId nextAfterSubtree(ItemId id) const;
    // Walks up to `steps` visible items forward (negative: backward); stops at the ends.
    ItemId walk(ItemId id, int steps) const;
    // Whether `a` comes before `b` in display order (both attached, a != b).
    bool precedes(ItemId a, ItemId b) const;

    void holdFrees() { ++holds_; }
    void releaseFrees();

private:
    static constexpr UINT kLive = 0x10000;
    static constexpr UINT kDetached = 0x20000;

    void unlink(ItemId id);
    void release(ItemId id);

    std::deque<TreeItem> items_;  // [0] is the hidden parent of the top-level items
    std::vector<ItemId> free_;
    std::vector<ItemId> held_;
    size_t count_ = 0;
    int holds_ = 0;
};

// Keeps freed item numbers from being reused while it lives.
class FreeHold {
public:
    explicit FreeHold(TreeItems& items) : items_(items) { items_.holdFrees(); }
    ~FreeHold() { items_.releaseFrees(); }
    FreeHold(const FreeHold&) = delete;
    FreeHold& operator=(const FreeHold&) = delete;

private:
    TreeItems& items_;
};

}  // namespace winapi
