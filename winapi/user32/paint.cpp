// Painting: device contexts over window cells, BeginPaint/EndPaint, and composing every
// window into the screen before the loop waits for input.
#include "user32/paint.h"

#include <memory>
#include <unordered_map>

#include "display/device.h"
#include "user32/caret.h"
#include "user32/device_context.h"
#include "user32/input.h"
#include "user32/menu.h"
#include "user32/window.h"

namespace winapi {
namespace {

Canvas& screen() {
    static Canvas canvas;
    return canvas;
}

struct ContextTable {
    std::unordered_map<uintptr_t, std::unique_ptr<DeviceContext>> live;
    uintptr_t next = 0x10000;
};

ContextTable& contexts() {
    static ContextTable table;
    return table;
}

CellRect cellsOf(const RECT& rect) {
    return pixelsToCells(rect.left, rect.top, rect.right, rect.bottom);
}

// The cells a window may paint: its client area clipped by every ancestor's client area
// and by the screen.
CellRect visibleClientCells(HWND hwnd) {
    CellRect clip = clientCells(hwnd).intersect(CellRect{0, 0, screen().cols(), screen().rows()});
    for (Window* w = findWindow(hwnd); w && w->parent; w = findWindow(w->parent)) {
        clip = clip.intersect(clientCells(w->parent));
    }
    return clip;
}

HDC openContext(HWND hwnd, CellRect area, CellRect clip) {
    ContextTable& table = contexts();
    uintptr_t id = table.next++;
    table.live[id] = std::make_unique<DeviceContext>(hwnd, Painter(screen(), area, clip));
    table.live[id]->font = GetStockObject(SYSTEM_FONT);
    return reinterpret_cast<HDC>(id);
}

void closeContext(HDC dc) { contexts().live.erase(reinterpret_cast<uintptr_t>(dc)); }

void paintWindowTree(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window || !(window->style & WS_VISIBLE)) return;
    if (!window->parent && window->menu) {
        CellRect cells = cellsOf(screenRectOf(*window));
        CellRect bar{cells.left, cells.top, cells.right, cells.top + 1};
        Painter painter(screen(), bar, bar);
        painter.fill(CellRect{0, 0, bar.width(), 1});
        paintMenuBar(window->menu, painter);
    }
    CellRect clip = visibleClientCells(hwnd);
    if (clip.width() > 0 && clip.height() > 0) deliver(hwnd, WM_PAINT, 0, 0);
    window = findWindow(hwnd);
    if (!window) return;
    std::vector<HWND> children = window->children;
    for (HWND child : children) paintWindowTree(child);
}

}  // namespace

DeviceContext* findDeviceContext(HDC dc) {
    auto& live = contexts().live;
    auto it = live.find(reinterpret_cast<uintptr_t>(dc));
    return it == live.end() ? nullptr : it->second.get();
}

Painter& painterFor(HDC dc) {
    if (DeviceContext* context = findDeviceContext(dc)) return context->painter;
    static Canvas nowhere;
    static Painter nothing(nowhere, CellRect{}, CellRect{});
    return nothing;  // a stale context paints nothing
}

HWND windowOfDC(HDC dc) {
    DeviceContext* context = findDeviceContext(dc);
    return context ? context->window : nullptr;
}

CellRect clientCells(HWND hwnd) {
    Window* window = findWindow(hwnd);
    if (!window) return CellRect{};
    POINT origin = clientOriginOnScreen(*window);
    RECT client = clientRectOf(*window);
    return pixelsToCells(origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
}

void composeScreen() {
    Canvas& canvas = screen();
    canvas.resize(device().cols(), device().rows());
    for (HWND hwnd : paintOrder()) paintWindowTree(hwnd);
    device().present(canvas);
    int col = 0, row = 0;
    bool visible = caretScreenCell(col, row);
    device().setCaret(visible, col, row);
}

const Canvas& screenCanvas() { return screen(); }

}  // namespace winapi

using namespace winapi;

extern "C" {

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* window = findWindow(hwnd);
    if (!window || !paint) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    CellRect area = clientCells(hwnd);
    HDC dc = openContext(hwnd, area, visibleClientCells(hwnd));
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = clientRectOf(*window);
    paint->fErase = deliver(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    (void)hwnd;
    if (paint) closeContext(paint->hdc);
    return TRUE;
}

HDC WINAPI GetDC(HWND hwnd) {
    if (!hwnd) {
        CellRect all{0, 0, screen().cols(), screen().rows()};
        return openContext(nullptr, all, all);
    }
    if (!findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return openContext(hwnd, clientCells(hwnd), visibleClientCells(hwnd));
}

int WINAPI ReleaseDC(HWND hwnd, HDC dc) {
    (void)hwnd;
    if (!findDeviceContext(dc)) return 0;
    closeContext(dc);
    return 1;
}

// Every visible window is repainted whole before the screen is shown, so a window is
// always up to date by the time anybody can see it; these only check the handle.
BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    (void)rect, (void)erase;
    return hwnd == nullptr || findWindow(hwnd) != nullptr;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rect) {
    (void)rect;
    return hwnd == nullptr || findWindow(hwnd) != nullptr;
}

int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    (void)brush;  // cells have no colour: a filled area is blank
    if (!findDeviceContext(dc) || !rect) return 0;
    painterFor(dc).fill(pixelsToCells(rect->left, rect->top, rect->right, rect->bottom));
    return 1;
}

int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
    if (!findDeviceContext(dc) || !text || !rect) return 0;
    std::string_view all = count < 0 ? std::string_view(text) : std::string_view(text, count);
    CellRect cells = pixelsToCells(rect->left, rect->top, rect->right, rect->bottom);
    std::vector<std::string_view> lines;
    if (format & DT_SINGLELINE) {
        lines.push_back(all);
    } else {
        size_t start = 0;
        while (start <= all.size()) {
            size_t end = all.find('\n', start);
            if (end == std::string_view::npos) end = all.size();
            std::string_view line = all.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines.push_back(line);
            start = end + 1;
        }
    }
    auto columns = [](std::string_view s) {
        int n = 0;
        for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n;
    };
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (auto line : lines) widest = std::max(widest, columns(line));
        rect->right = rect->left + widest * kPixelsPerColumn;
        rect->bottom = rect->top + static_cast<LONG>(lines.size()) * kPixelsPerRow;
        return static_cast<int>(lines.size()) * kPixelsPerRow;
    }
    Painter& painter = painterFor(dc);
    int row = cells.top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) row = cells.top + (cells.height() - 1) / 2;
    if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) row = cells.bottom - 1;
    for (auto line : lines) {
        if (row >= cells.bottom && !(format & DT_NOCLIP)) break;
        int width = std::min(columns(line), cells.width());
        int col = cells.left;
        if (format & DT_CENTER) col += (cells.width() - width) / 2;
        if (format & DT_RIGHT) col = cells.right - width;
        painter.text(col, row, line, kAttrNone, (format & DT_NOCLIP) ? -1 : cells.right - col);
        ++row;
    }
    return static_cast<int>(lines.size()) * kPixelsPerRow;
}

}  // extern "C"
