// The tree-view's item store: linking, freeing and the display-order walk.
#include "comctl32/tree_items.h"

#include <algorithm>

namespace winapi {

TreeItems::TreeItems() {
    items_.emplace_back();
    items_[0].state = kLive | TVIS_EXPANDED;  // the hidden parent always shows its children
}

ItemId TreeItems::add(ItemId parent, ItemId after) {
    ItemId id;
    if (!free_.empty()) {
        id = free_.back();
        free_.pop_back();
        items_[id] = TreeItem{};
    } else {
        id = static_cast<ItemId>(items_.size());
        items_.emplace_back();
    }
    TreeItem& item = items_[id];
    TreeItem& owner = items_[parent];
    item.state = kLive;
    item.parent = parent;
    item.prev = after;
    item.next = after ? items_[after].next : owner.firstChild;
    if (item.next) {
        items_[item.next].prev = id;
    } else {
        owner.lastChild = id;
    }
    if (after) {
        items_[after].next = id;
    } else {
        owner.firstChild = id;
    }
    ++count_;
    return id;
}

void TreeItems::unlink(ItemId id) {
    TreeItem& item = items_[id];
    TreeItem& owner = items_[item.parent];
    if (item.prev) {
        items_[item.prev].next = item.next;
    } else if (owner.firstChild == id) {
        owner.firstChild = item.next;
    }
    if (item.next) {
        items_[item.next].prev = item.prev;
    } else if (owner.lastChild == id) {
        owner.lastChild = item.prev;
    }
    item.parent = item.next = item.prev = 0;
}

// Marking the whole subtree keeps attached() constant-time; the deletion that follows
// visits every one of these items anyway.
void TreeItems::detach(ItemId id) {
    unlink(id);
    for (ItemId current = id; current;) {
        items_[current].state |= kDetached;
        if (items_[current].firstChild) {
            current = items_[current].firstChild;
            continue;
        }
        while (current != id && !items_[current].next) current = items_[current].parent;
        current = current == id ? 0 : items_[current].next;
    }
}

void TreeItems::freeFirstChild(ItemId parent) {
    ItemId id = items_[parent].firstChild;
    unlink(id);
    release(id);
}

void TreeItems::freeDetached(ItemId id) { release(id); }

void TreeItems::release(ItemId id) {
    TreeItem& item = items_[id];
    item.state = 0;
    item.text.clear();
    --count_;
    if (holds_ > 0) {
        held_.push_back(id);
    } else {
        free_.push_back(id);
    }
}

void TreeItems::releaseFrees() {
    if (--holds_ > 0) return;
    free_.insert(free_.end(), held_.begin(), held_.end());
    held_.clear();
}

bool TreeItems::contains(ItemId ancestor, ItemId item) const {
    for (; item; item = items_[item].parent) {
        if (item == ancestor) return true;
    }
    return false;
}

int TreeItems::depth(ItemId id) const {
    int depth = 0;
    for (id = items_[id].parent; id; id = items_[id].parent) ++depth;
    return depth;
}

bool TreeItems::visible(ItemId id) const {
    if (!attached(id)) return false;
    for (id = items_[id].parent; id; id = items_[id].parent) {
        if (!items_[id].expanded()) return false;
    }
    return true;
}

ItemId TreeItems::nextAfterSubtree(ItemId id) const {
    for (; id; id = items_[id].parent) {
        if (items_[id].next) return items_[id].next;
    }
    return 0;
}

ItemId TreeItems::nextVisible(ItemId id) const {
    const TreeItem& item = items_[id];
    if (item.expanded() && item.firstChild) return item.firstChild;
    return nextAfterSubtree(id);
}

ItemId TreeItems::prevVisible(ItemId id) const {
    const TreeItem& item = items_[id];
    if (!item.prev) return item.parent;
    ItemId last = item.prev;
    while (items_[last].expanded() && items_[last].lastChild) last = items_[last].lastChild;
    return last;
}

ItemId TreeItems::lastVisible() const {
    ItemId last = lastRoot();
    while (last && items_[last].expanded() && items_[last].lastChild) {
        last = items_[last].lastChild;
    }
    return last;
}

ItemId TreeItems::walk(ItemId id, int steps) const {
    for (; steps > 0; --steps) {
        ItemId next = nextVisible(id);
        if (!next) break;
        id = next;
    }
    for (; steps < 0; ++steps) {
        ItemId prev = prevVisible(id);
        if (!prev) break;
        id = prev;
    }
    return id;
}

bool TreeItems::precedes(ItemId a, ItemId b) const {
    // Bring both to the same depth; an ancestor comes before its descendants.
    int depthA = depth(a);
    int depthB = depth(b);
    ItemId x = a;
    ItemId y = b;
    while (depthA > depthB) x = items_[x].parent, --depthA;
    while (depthB > depthA) y = items_[y].parent, --depthB;
    if (x == y) return x == a;
    while (items_[x].parent != items_[y].parent) x = items_[x].parent, y = items_[y].parent;
    // Siblings: walk both forward in step; whichever meets the other first is earlier,
    // and one that runs off the end is later.
    for (ItemId fromX = x, fromY = y;;) {
        fromX = items_[fromX].next;
        fromY = items_[fromY].next;
        if (fromX == y) return true;
        if (fromY == x) return false;
        if (!fromX) return false;
        if (!fromY) return true;
    }
}

}  // namespace winapi
