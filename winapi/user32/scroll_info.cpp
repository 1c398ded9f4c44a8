// Scroll-bar state kept per window; controls read it back to draw their own bars.
#include <algorithm>

#include "user32/window.h"

namespace winapi {
namespace {

ScrollBarState* barOf(HWND hwnd, int bar) {
    Window* window = findWindow(hwnd);
    if (!window) return nullptr;
    if (bar == SB_VERT) return &window->vscroll;
    if (bar == SB_HORZ) return &window->hscroll;
    return nullptr;
}

int clampPosition(const ScrollBarState& s, int pos) {
    int page = static_cast<int>(std::min<UINT>(s.page, 0x7FFFFFFF));
    int highest = s.max - std::max(page - 1, 0);
    return std::max(s.min, std::min(pos, std::max(highest, s.min)));
}

}  // namespace
}  // namespace winapi

using namespace winapi;

extern "C" {

int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    (void)redraw;
    ScrollBarState* s = barOf(hwnd, bar);
    if (!s || !info) return 0;
    if (info->fMask & SIF_RANGE) s->min = info->nMin, s->max = std::max(info->nMax, info->nMin);
    if (info->fMask & SIF_PAGE) s->page = info->nPage;
    if (info->fMask & SIF_POS) s->pos = info->nPos;
    s->pos = clampPosition(*s, s->pos);
    return s->pos;
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    ScrollBarState* s = barOf(hwnd, bar);
    if (!s || !info) return FALSE;
    if (info->fMask & SIF_RANGE) info->nMin = s->min, info->nMax = s->max;
    if (info->fMask & SIF_PAGE) info->nPage = s->page;
    if (info->fMask & SIF_POS) info->nPos = s->pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->trackPos;
    return TRUE;
}

int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    (void)redraw;
    ScrollBarState* s = barOf(hwnd, bar);
    if (!s) return 0;
    int old = s->pos;
    s->pos = clampPosition(*s, pos);
    return old;
}

int WINAPI GetScrollPos(HWND hwnd, int bar) {
    ScrollBarState* s = barOf(hwnd, bar);
    return s ? s->pos : 0;
}

BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    (void)redraw;
    ScrollBarState* s = barOf(hwnd, bar);
    if (!s) return FALSE;
    s->min = minPos;
    s->max = std::max(maxPos, minPos);
    s->pos = clampPosition(*s, s->pos);
    return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    ScrollBarState* s = barOf(hwnd, bar);
    if (!s || !minPos || !maxPos) return FALSE;
    *minPos = s->min;
    *maxPos = s->max;
    return TRUE;
}

BOOL WINAPI ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    Window* window = findWindow(hwnd);
    if (!window) return FALSE;
    if (bar == SB_VERT || bar == SB_BOTH) window->vscroll.shown = show != FALSE;
    if (bar == SB_HORZ || bar == SB_BOTH) window->hscroll.shown = show != FALSE;
    return TRUE;
}

}  // extern "C"
