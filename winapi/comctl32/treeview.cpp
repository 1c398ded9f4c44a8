// The tree-view's window procedure, its item model and the notifications it sends.
#include "comctl32/treeview.h"

#include <commctrl.h>

#include <cstring>
#include <strings.h>

#include "comctl32/treeview_control.h"
#include "display/canvas.h"

namespace winapi {
namespace {

constexpr UINT kStateBits = 0xFFFF;

}  // namespace

// The parent and the id are kept from creation, as the platform's controls keep their
// notify window: deletions still reach the parent while the tree's own window goes.
TreeViewControl::TreeViewControl(HWND hwnd, const CREATESTRUCTA& create)
    : hwnd_(hwnd), notifyParent_(create.hwndParent), id_(reinterpret_cast<UINT_PTR>(create.hMenu)) {}

DWORD TreeViewControl::style() const { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)); }

ItemId TreeViewControl::idOf(HTREEITEM handle) const {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value == 0 || value > UINT32_MAX) return 0;
    ItemId id = static_cast<ItemId>(value);
    return items_.valid(id) ? id : 0;
}

// ---- Inserting and changing items --------------------------------------------------------

ItemId TreeViewControl::insertAfterFor(ItemId parent, HTREEITEM after, const char* text,
                                       bool& ok) const {
    ok = true;
    const TreeItem& owner = items_[parent];
    if (after == TVI_FIRST) return 0;
    // A null or TVI_ROOT position appends, as TVI_LAST does.
    if (!after || after == TVI_LAST || after == TVI_ROOT) return owner.lastChild;
    if (after == TVI_SORT) {
        ItemId last = 0;
        for (ItemId child = owner.firstChild; child; child = items_[child].next) {
            if (strcasecmp(items_[child].text.c_str(), text) > 0) break;
            last = child;
        }
        return last;
    }
    ItemId sibling = idOf(after);
    ok = sibling && items_[sibling].parent == parent && items_.attached(sibling);
    return sibling;
}

void TreeViewControl::applyItem(ItemId id, const TVITEMA& data) {
    TreeItem& item = items_[id];
    if (data.mask & TVIF_TEXT) {
        // Text callbacks are not supported: such an item has an empty label.
        bool plain = data.pszText && data.pszText != LPSTR_TEXTCALLBACKA;
        item.text.assign(plain ? data.pszText : "");
    }
    if (data.mask & TVIF_PARAM) item.lParam = data.lParam;
    if (data.mask & TVIF_CHILDREN) item.cChildren = data.cChildren;
    if (data.mask & TVIF_IMAGE) item.image = data.iImage;
    if (data.mask & TVIF_SELECTEDIMAGE) item.selectedImage = data.iSelectedImage;
    if (data.mask & TVIF_STATE) {
        // The selection belongs to the caret: TVM_SELECTITEM moves it, nothing else.
        UINT mask = data.stateMask & kStateBits & ~static_cast<UINT>(TVIS_SELECTED);
        item.state = (item.state & ~mask) | (data.state & mask);
    }
}

HTREEITEM TreeViewControl::insert(const TVINSERTSTRUCTA* request) {
    if (!request || destroyed_) return nullptr;
    ItemId parent = 0;
    if (request->hParent && request->hParent != TVI_ROOT) {
        parent = idOf(request->hParent);
        if (!parent || !items_.attached(parent)) return nullptr;
    }
    const TVITEMA& data = request->item;
    const char* text = (data.mask & TVIF_TEXT) && data.pszText && data.pszText != LPSTR_TEXTCALLBACKA
                           ? data.pszText
                           : "";
    bool ok = false;
    ItemId after = insertAfterFor(parent, request->hInsertAfter, text, ok);
    if (!ok) return nullptr;
    ItemId id = items_.add(parent, after);
    applyItem(id, data);
    if (!parent || items_.visible(parent)) invalidate();
    return handleOf(id);
}

BOOL TreeViewControl::setItem(const TVITEMA* data) {
    if (!data) return FALSE;
    ItemId id = idOf(data->hItem);
    if (!id) return FALSE;
    applyItem(id, *data);
    if (items_.visible(id)) invalidate();
    return TRUE;
}

BOOL TreeViewControl::getItem(TVITEMA* data) const {
    if (!data) return FALSE;
    ItemId id = idOf(data->hItem);
    if (!id) return FALSE;
    const TreeItem& item = items_[id];
    if ((data->mask & TVIF_TEXT) && data->pszText && data->cchTextMax > 0) {
        size_t length = std::min(item.text.size(), static_cast<size_t>(data->cchTextMax - 1));
        std::memcpy(data->pszText, item.text.data(), length);
        data->pszText[length] = '\0';
    }
    if (data->mask & TVIF_PARAM) data->lParam = item.lParam;
    if (data->mask & TVIF_STATE) data->state = item.state & kStateBits & data->stateMask;
    // An item that was never told how many children it has answers from its children.
    if (data->mask & TVIF_CHILDREN) data->cChildren = item.cChildren ? item.cChildren : item.hasChildren();
    if (data->mask & TVIF_IMAGE) data->iImage = item.image;
    if (data->mask & TVIF_SELECTEDIMAGE) data->iSelectedImage = item.selectedImage;
    return TRUE;
}

UINT TreeViewControl::itemState(HTREEITEM handle, UINT mask) const {
    ItemId id = idOf(handle);
    return id ? items_[id].state & kStateBits & mask : 0;
}

HTREEITEM TreeViewControl::nextItem(UINT relation, HTREEITEM handle) {
    if (relation == TVGN_ROOT) return handleOf(items_.firstRoot());
    if (relation == TVGN_CARET) return handleOf(caret_);
    if (relation == TVGN_DROPHILITE) return handleOf(dropHilite_);
    if (relation == TVGN_FIRSTVISIBLE) {
        settleTop();
        return handleOf(top_);
    }
    if (relation == TVGN_LASTVISIBLE) return handleOf(items_.lastVisible());
    if (relation == TVGN_CHILD && (!handle || handle == TVI_ROOT)) return handleOf(items_.firstRoot());
    ItemId id = idOf(handle);
    if (!id) return nullptr;
    const TreeItem& item = items_[id];
    switch (relation) {
    case TVGN_NEXT:
        return handleOf(item.next);
    case TVGN_PREVIOUS:
        return handleOf(item.prev);
    case TVGN_PARENT:
        return handleOf(item.parent);
    case TVGN_CHILD:
        return handleOf(item.firstChild);
    case TVGN_NEXTVISIBLE:
        return items_.visible(id) ? handleOf(items_.nextVisible(id)) : nullptr;
    case TVGN_PREVIOUSVISIBLE:
        return items_.visible(id) ? handleOf(items_.prevVisible(id)) : nullptr;
    default:
        return nullptr;
    }
}

void TreeViewControl::setFont(HFONT font, bool redraw) {
    font_ = font;
    if (redraw) invalidate();
}

// ---- Deleting ----------------------------------------------------------------------------

// Deletes a subtree, children before parents, each item notified while it can still be
// read. The subtree is detached first, so handlers see a consistent tree, and may not
// change the subtree (inserts into it fail, deletes inside it are no-ops). It runs to the
// end even when a handler destroys the window, so every item is reported once.
void TreeViewControl::destroySubtree(ItemId id) {
    items_.detach(id);
    ItemId current = id;
    for (;;) {
        while (items_[current].firstChild) current = items_[current].firstChild;
        notifyTree(TVN_DELETEITEMA, 0, current, 0);
        if (current == id) {
            items_.freeDetached(id);
            return;
        }
        ItemId parent = items_[current].parent;
        items_.freeFirstChild(parent);
        current = parent;
    }
}

ItemId TreeViewControl::selectionAfterDelete(ItemId next, ItemId parent, ItemId prev) const {
    if (items_.attached(next)) return next;
    if (parent && items_.attached(parent)) return parent;
    if (items_.attached(prev)) return prev;
    return 0;
}

BOOL TreeViewControl::deleteItem(HTREEITEM handle) {
    if (handle == TVI_ROOT) {
        deleteAll();
        return TRUE;
    }
    ItemId id = idOf(handle);
    if (!id) return FALSE;
    if (!items_.attached(id)) return TRUE;  // already going with a subtree being deleted
    const TreeItem& item = items_[id];
    ItemId next = item.next;
    ItemId parent = item.parent;
    ItemId prev = item.prev;
    bool shown = items_.visible(id);
    bool selectionGoes = caret_ && items_.contains(id, caret_);
    // The caret leaves silently; the selection notifications come after the deletions.
    if (selectionGoes) caret_ = 0;
    if (dropHilite_ && items_.contains(id, dropHilite_)) dropHilite_ = 0;
    moveTopBeforeRemoval(id);
    destroySubtree(id);
    if (gone()) return TRUE;
    if (shown || (parent && items_.visible(parent))) invalidate();
    if (selectionGoes && !caret_) {
        if (ItemId successor = selectionAfterDelete(next, parent, prev)) selectCaret(successor, TVC_UNKNOWN);
    }
    return TRUE;
}

void TreeViewControl::deleteAll() {
    caret_ = 0;
    dropHilite_ = 0;
    top_ = 0;
    while (ItemId root = items_.firstRoot()) destroySubtree(root);
    if (!gone()) invalidate();
}

void TreeViewControl::destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    deleteAll();
}

// ---- Expanding and selecting ---------------------------------------------------------------

BOOL TreeViewControl::expand(HTREEITEM handle, UINT code) {
    ItemId id = idOf(handle);
    if (!id || !items_.attached(id)) return FALSE;
    return expandItem(id, code, false);
}

// TVM_EXPAND notifies only until the item has been expanded once; the user's own
// expanding and collapsing always notifies.
BOOL TreeViewControl::expandItem(ItemId id, UINT code, bool byUser) {
    UINT action = code & TVE_TOGGLE;
    bool expanded = items_[id].expanded();
    if (action == TVE_TOGGLE) action = expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (action == TVE_COLLAPSE) {
        BOOL done = collapseItem(id, byUser, byUser ? TVC_BYKEYBOARD : TVC_UNKNOWN);
        if (done && (code & TVE_COLLAPSERESET) && items_.attached(id)) {
            while (ItemId child = items_[id].firstChild) {
                deleteItem(handleOf(child));
                if (gone() || !items_.attached(id)) break;
            }
            if (items_.valid(id)) items_[id].state &= ~static_cast<UINT>(TVIS_EXPANDEDONCE);
        }
        return done;
    }
    if (action != TVE_EXPAND) return FALSE;
    if (expanded) return TRUE;
    if (!items_[id].hasChildren() && items_[id].cChildren == 0) return FALSE;
    bool notifies = byUser || !(items_[id].state & TVIS_EXPANDEDONCE);
    if (notifies) {
        LRESULT veto = notifyTree(TVN_ITEMEXPANDINGA, TVE_EXPAND, 0, id);
        if (gone() || !items_.attached(id) || veto) return FALSE;
    }
    // An item that promises children but has none stays as it is, so the next expand
    // asks again (the handler may insert them on ITEMEXPANDING).
    if (!items_[id].hasChildren()) return FALSE;
    if (items_[id].expanded()) return TRUE;
    items_[id].state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    if (items_.visible(id)) invalidate();
    if (notifies) notifyTree(TVN_ITEMEXPANDEDA, TVE_EXPAND, 0, id);
    return TRUE;
}

BOOL TreeViewControl::collapseItem(ItemId id, bool notifyAlways, UINT selectAction) {
    if (!items_[id].expanded()) return FALSE;
    bool notifies = notifyAlways || !(items_[id].state & TVIS_EXPANDEDONCE);
    if (notifies) {
        LRESULT veto = notifyTree(TVN_ITEMEXPANDINGA, TVE_COLLAPSE, 0, id);
        if (gone() || !items_.attached(id) || veto) return FALSE;
    }
    items_[id].state &= ~static_cast<UINT>(TVIS_EXPANDED);
    if (top_ && top_ != id && items_.contains(id, top_)) top_ = id;
    if (items_.visible(id)) invalidate();
    // A selection hidden by the collapse moves to the collapsed item, notified.
    if (caret_ && caret_ != id && items_.contains(id, caret_)) {
        selectCaret(id, selectAction);
        if (gone() || !items_.attached(id)) return TRUE;
    }
    if (notifies) notifyTree(TVN_ITEMEXPANDEDA, TVE_COLLAPSE, 0, id);
    return TRUE;
}

void TreeViewControl::expandAncestors(ItemId id) {
    std::vector<ItemId> collapsed;
    for (ItemId up = items_[id].parent; up; up = items_[up].parent) {
        if (!items_[up].expanded()) collapsed.push_back(up);
    }
    for (auto it = collapsed.rbegin(); it != collapsed.rend(); ++it) {
        if (gone() || !items_.attached(*it)) return;
        expandItem(*it, TVE_EXPAND, false);
    }
}

void TreeViewControl::expandAll(ItemId id) {
    ItemId end = items_.nextAfterSubtree(id);
    for (ItemId current = id; current && current != end;) {
        if (!items_[current].expanded()) expandItem(current, TVE_EXPAND, true);
        if (gone() || !items_.attached(current)) return;
        current = items_.nextVisible(current);
        end = items_.attached(end) ? end : items_.nextAfterSubtree(id);
    }
}

BOOL TreeViewControl::selectCaret(ItemId id, UINT action) {
    if (id == caret_) {
        if (id) scrollTo(id);
        return TRUE;
    }
    if (notifyTree(TVN_SELCHANGINGA, action, caret_, id)) return FALSE;
    if (gone() || (id && !items_.attached(id))) return FALSE;
    if (id) expandAncestors(id);
    if (gone() || (id && !items_.attached(id))) return FALSE;
    ItemId old = items_.valid(caret_) ? caret_ : 0;
    if (old) items_[old].state &= ~static_cast<UINT>(TVIS_SELECTED);
    caret_ = id;
    if (id) {
        items_[id].state |= TVIS_SELECTED;
        scrollTo(id);
    }
    invalidate();
    notifyTree(TVN_SELCHANGEDA, action, old, id);
    return TRUE;
}

BOOL TreeViewControl::select(UINT code, HTREEITEM handle) {
    ItemId id = idOf(handle);
    if (handle && (!id || !items_.attached(id))) return FALSE;
    switch (code & ~static_cast<UINT>(TVSI_NOSINGLEEXPAND)) {
    case TVGN_CARET:
        return selectCaret(id, TVC_UNKNOWN);
    case TVGN_FIRSTVISIBLE:
        if (!id || !items_.visible(id)) return FALSE;
        top_ = id;
        invalidate();
        return TRUE;
    case TVGN_DROPHILITE:
        if (items_.valid(dropHilite_)) items_[dropHilite_].state &= ~static_cast<UINT>(TVIS_DROPHILITED);
        dropHilite_ = id;
        if (id) items_[id].state |= TVIS_DROPHILITED;
        invalidate();
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- Notifications -------------------------------------------------------------------------

LRESULT TreeViewControl::notify(NMHDR& header, UINT code) {
    header.hwndFrom = hwnd_;
    header.idFrom = id_;
    header.code = code;
    if (!IsWindow(notifyParent_)) return 0;
    return SendMessageA(notifyParent_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void TreeViewControl::describe(ItemId id, TVITEMA& item) const {
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = handleOf(id);
    item.state = items_[id].state & kStateBits;
    item.stateMask = kStateBits;
    item.lParam = items_[id].lParam;
}

LRESULT TreeViewControl::notifyTree(UINT code, UINT action, ItemId oldItem, ItemId newItem) {
    NMTREEVIEWA info{};
    info.action = action;
    if (oldItem) describe(oldItem, info.itemOld);
    if (newItem) describe(newItem, info.itemNew);
    return notify(info.hdr, code);
}

LRESULT TreeViewControl::notifySimple(UINT code) {
    NMHDR header{};
    return notify(header, code);
}

// ---- Window procedure ------------------------------------------------------------------------

namespace {

// A notification handler may destroy the window in the middle of an operation: the
// control outlives WM_NCDESTROY until the outermost message that entered it returns, and
// the operation notices and stops.
class ControlUse {
public:
    explicit ControlUse(TreeViewControl* control) : control_(control) { control_->enter(); }
    ~ControlUse() {
        if (control_->leave()) delete control_;
    }
    ControlUse(const ControlUse&) = delete;
    ControlUse& operator=(const ControlUse&) = delete;

private:
    TreeViewControl* control_;
};

LRESULT dispatch(TreeViewControl& tree, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case TVM_INSERTITEMA:
        return reinterpret_cast<LRESULT>(tree.insert(reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM:
        return tree.deleteItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND:
        return tree.expand(reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam));
    case TVM_GETITEMRECT:
        return tree.itemRect(static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
    case TVM_GETCOUNT:
        return tree.count();
    case TVM_GETINDENT:
        return 2 * kPixelsPerColumn;
    case TVM_GETITEMHEIGHT:
        return kPixelsPerRow;
    case TVM_GETNEXTITEM:
        return reinterpret_cast<LRESULT>(tree.nextItem(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM:
        return tree.select(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMA:
        return tree.getItem(reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
        return tree.setItem(reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_GETVISIBLECOUNT:
        return tree.visibleCount();
    case TVM_HITTEST:
        return reinterpret_cast<LRESULT>(tree.hitTest(reinterpret_cast<TVHITTESTINFO*>(lParam)));
    case TVM_ENSUREVISIBLE:
        return tree.ensureVisible(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_GETITEMSTATE:
        return tree.itemState(reinterpret_cast<HTREEITEM>(wParam), static_cast<UINT>(lParam));
    case CCM_GETUNICODEFORMAT:
        return FALSE;
    case WM_SETFONT:
        tree.setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(tree.font());
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        tree.keyDown(wParam);
        return 0;
    case WM_CHAR:
        tree.character(wParam);
        return 0;
    case WM_SETFOCUS:
        tree.focusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        tree.focusChanged(false);
        return 0;
    case WM_LBUTTONDOWN:
        tree.mouseDown(lParam, false);
        return 0;
    case WM_LBUTTONDBLCLK:
        tree.mouseDown(lParam, true);
        return 0;
    case WM_MOUSEWHEEL:
        tree.mouseWheel(wParam);
        return 0;
    case WM_VSCROLL:
        tree.scrollBar(wParam);
        return 0;
    case WM_SIZE:
        tree.invalidate();
        return 0;
    case WM_PAINT:
        tree.paintWindow();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painting covers every cell
    case WM_DESTROY:
        tree.destroy();
        return 0;
    case WM_NCDESTROY:
        tree.markGone();
        SetWindowLongPtrA(hwnd, kControlSlot, 0);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK treeViewWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* control = new TreeViewControl(hwnd, *create);
        SetWindowLongPtrA(hwnd, kControlSlot, reinterpret_cast<LONG_PTR>(control));
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    auto* control = reinterpret_cast<TreeViewControl*>(GetWindowLongPtrA(hwnd, kControlSlot));
    if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
    ControlUse use(control);
    FreeHold hold(control->items());
    return dispatch(*control, hwnd, message, wParam, lParam);
}

}  // namespace winapi
