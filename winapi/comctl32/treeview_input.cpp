// The tree-view's keyboard and mouse: moving the selection over the visible items,
// expanding and collapsing, scrolling.
#include <commctrl.h>

#include "comctl32/treeview_control.h"

namespace winapi {
namespace {

constexpr int kWheelLines = 3;

}  // namespace

void TreeViewControl::selectByKey(ItemId id) {
    if (!id) return;
    if (id == caret_) {
        scrollTo(id);
        invalidate();
        return;
    }
    selectCaret(id, TVC_BYKEYBOARD);
}

void TreeViewControl::toggleByUser(ItemId id) {
    if (!id) return;
    expandItem(id, TVE_TOGGLE, true);
}

void TreeViewControl::keyDown(WPARAM key) {
    swallowChar_ = 0;
    NMTVKEYDOWN info{};
    info.wVKey = static_cast<WORD>(key);
    notify(info.hdr, TVN_KEYDOWN);
    if (gone()) return;
    settleTop();
    ItemId current = items_.attached(caret_) ? caret_ : 0;
    int page = std::max(rows() - 1, 1);
    switch (key) {
    case VK_UP:
        selectByKey(current ? items_.prevVisible(current) : top_);
        break;
    case VK_DOWN:
        selectByKey(current ? items_.nextVisible(current) : top_);
        break;
    case VK_HOME:
        selectByKey(items_.firstRoot());
        break;
    case VK_END:
        selectByKey(items_.lastVisible());
        break;
    case VK_PRIOR:
        selectByKey(current ? items_.walk(current, -page) : top_);
        break;
    case VK_NEXT:
        selectByKey(current ? items_.walk(current, page) : top_);
        break;
    case VK_LEFT:
        if (!current) break;
        if (items_[current].expanded() && items_[current].hasChildren()) {
            expandItem(current, TVE_COLLAPSE, true);
        } else {
            selectByKey(items_[current].parent);
        }
        break;
    case VK_BACK:
        if (current) selectByKey(items_[current].parent);
        break;
    case VK_RIGHT:
        if (!current) break;
        if (!items_[current].expanded()) {
            if (items_[current].hasChildren() || items_[current].cChildren) expandItem(current, TVE_EXPAND, true);
        } else {
            selectByKey(items_[current].firstChild);
        }
        break;
    case VK_ADD:
        swallowChar_ = '+';
        if (current) expandItem(current, TVE_EXPAND, true);
        break;
    case VK_SUBTRACT:
        swallowChar_ = '-';
        if (current) expandItem(current, TVE_COLLAPSE, true);
        break;
    case VK_MULTIPLY:
        swallowChar_ = '*';
        if (current) expandAll(current);
        break;
    case VK_RETURN:
        notifySimple(NM_RETURN);
        break;
    default:
        break;
    }
}

// '+', '-' and '*' typed on the main keyboard act as the keypad keys do; the character
// that follows a keypad key is the same request and is dropped.
void TreeViewControl::character(WPARAM ch) {
    char repeated = swallowChar_;
    swallowChar_ = 0;
    if (repeated && ch == static_cast<WPARAM>(repeated)) return;
    ItemId current = items_.attached(caret_) ? caret_ : 0;
    if (!current) return;
    if (ch == '+') expandItem(current, TVE_EXPAND, true);
    if (ch == '-') expandItem(current, TVE_COLLAPSE, true);
    if (ch == '*') expandAll(current);
}

void TreeViewControl::mouseDown(LPARAM point, bool doubleClick) {
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    if (gone()) return;
    TVHITTESTINFO hit{};
    hit.pt.x = static_cast<short>(LOWORD(point));
    hit.pt.y = static_cast<short>(HIWORD(point));
    ItemId id = idOf(hitTest(&hit));
    if (!id) return;
    if (hit.flags & TVHT_ONITEMBUTTON) {
        toggleByUser(id);
        return;
    }
    if (!(hit.flags & TVHT_ONITEMLABEL)) return;
    if (doubleClick) {
        if (!notifySimple(NM_DBLCLK) && !gone() && items_.attached(id)) toggleByUser(id);
        return;
    }
    selectCaret(id, TVC_BYMOUSE);
    if (!gone()) notifySimple(NM_CLICK);
}

void TreeViewControl::mouseWheel(WPARAM wParam) {
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    int notches = delta / WHEEL_DELTA;
    if (notches == 0) notches = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    scrollBy(-notches * kWheelLines);
}

void TreeViewControl::scrollBar(WPARAM wParam) {
    int page = std::max(rows() - 1, 1);
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        scrollBy(-1);
        break;
    case SB_LINEDOWN:
        scrollBy(1);
        break;
    case SB_PAGEUP:
        scrollBy(-page);
        break;
    case SB_PAGEDOWN:
        scrollBy(page);
        break;
    case SB_TOP:
        top_ = items_.firstRoot();
        invalidate();
        break;
    case SB_BOTTOM:
        top_ = items_.lastVisible();
        settleTop();
        invalidate();
        break;
    default:
        break;
    }
}

void TreeViewControl::focusChanged(bool focused) {
    focused_ = focused;
    invalidate();
    notifySimple(focused ? NM_SETFOCUS : NM_KILLFOCUS);
}

}  // namespace winapi
