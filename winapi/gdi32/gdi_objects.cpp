// GDI objects (stock and created brushes, pens and fonts) and the drawing state of device
// contexts, on a screen of cells where every font is one cell per character.
#include <cstring>
#include <memory>
#include <unordered_set>

#include "user32/device_context.h"

namespace winapi {
namespace {

enum class ObjectKind { Brush, Pen, Font, Palette };

struct GdiObject {
    ObjectKind kind = ObjectKind::Brush;
    bool stock = false;
    COLORREF color = 0;
};

constexpr int kStockCount = DC_PEN + 1;

GdiObject* stockObjects() {
    static GdiObject objects[kStockCount] = {};
    static bool ready = false;
    if (!ready) {
        ready = true;
        for (int i = 0; i < kStockCount; ++i) {
            objects[i].stock = true;
            if (i >= WHITE_PEN && i <= NULL_PEN) objects[i].kind = ObjectKind::Pen;
            if (i >= OEM_FIXED_FONT && i <= DEFAULT_GUI_FONT && i != DEFAULT_PALETTE) {
                objects[i].kind = ObjectKind::Font;
            }
            if (i == DEFAULT_PALETTE) objects[i].kind = ObjectKind::Palette;
            if (i == DC_PEN) objects[i].kind = ObjectKind::Pen;
        }
    }
    return objects;
}

std::unordered_set<GdiObject*>& createdObjects() {
    static std::unordered_set<GdiObject*> objects;
    return objects;
}

GdiObject* findObject(HGDIOBJ handle) {
    auto* object = static_cast<GdiObject*>(handle);
    GdiObject* stock = stockObjects();
    if (object >= stock && object < stock + kStockCount) return object;
    return createdObjects().count(object) ? object : nullptr;
}

}  // namespace
}  // namespace winapi

using namespace winapi;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int index) {
    if (index < 0 || index >= kStockCount || index == 9) return nullptr;
    return &stockObjects()[index];
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    GdiObject* object = findObject(handle);
    if (!object) return FALSE;
    if (object->stock) return TRUE;  // stock objects are never freed
    createdObjects().erase(object);
    delete object;
    return TRUE;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto* object = new GdiObject{ObjectKind::Brush, false, color};
    createdObjects().insert(object);
    return reinterpret_cast<HBRUSH>(object);
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    static GdiObject brushes[COLOR_BTNHIGHLIGHT + 1];
    if (index < 0 || index > COLOR_BTNHIGHLIGHT) return nullptr;
    brushes[index] = GdiObject{ObjectKind::Brush, true, GetSysColor(index)};
    return reinterpret_cast<HBRUSH>(&brushes[index]);
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle) {
    DeviceContext* context = findDeviceContext(dc);
    GdiObject* object = findObject(handle);
    if (!context || !object) return nullptr;
    if (object->kind == ObjectKind::Font) {
        HGDIOBJ old = context->font;
        context->font = handle;
        return old;
    }
    // Brushes and pens have no effect on cells; hand back the stock default.
    return GetStockObject(object->kind == ObjectKind::Pen ? BLACK_PEN : WHITE_BRUSH);
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* context = findDeviceContext(dc);
    if (!context) return CLR_INVALID;
    COLORREF old = context->textColor;
    context->textColor = color;
    return old;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = findDeviceContext(dc);
    if (!context) return CLR_INVALID;
    COLORREF old = context->backColor;
    context->backColor = color;
    return old;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* context = findDeviceContext(dc);
    if (!context || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int old = context->backMode;
    context->backMode = mode;
    return old;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    DeviceContext* context = findDeviceContext(dc);
    if (!context || !text || count < 0) return FALSE;
    context->painter.text(x / kPixelsPerColumn, y / kPixelsPerRow,
                          std::string_view(text, static_cast<size_t>(count)));
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
    if (!findDeviceContext(dc) || !size || (count > 0 && !text) || count < 0) return FALSE;
    LONG columns = 0;
    for (int i = 0; i < count; ++i) columns += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    size->cx = columns * kPixelsPerColumn;
    size->cy = kPixelsPerRow;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    if (!findDeviceContext(dc) || !metrics) return FALSE;
    std::memset(metrics, 0, sizeof *metrics);
    metrics->tmHeight = kPixelsPerRow;
    metrics->tmAscent = kPixelsPerRow - 3;
    metrics->tmDescent = 3;
    metrics->tmAveCharWidth = kPixelsPerColumn;
    metrics->tmMaxCharWidth = kPixelsPerColumn;
    metrics->tmWeight = 400;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFF;
    metrics->tmDefaultChar = '?';
    metrics->tmBreakChar = ' ';
    return TRUE;
}

}  // extern "C"
