// Device contexts: a painter over a window's cells plus the drawing state GDI keeps.
#pragma once

#include <windows.h>

#include "display/canvas.h"

namespace winapi {

struct DeviceContext {
    DeviceContext(HWND owner, Painter cellPainter) : window(owner), painter(cellPainter) {}
    HWND window = nullptr;
    Painter painter;
    HGDIOBJ font = nullptr;
    COLORREF textColor = 0;
    COLORREF backColor = 0xFFFFFF;
    int backMode = OPAQUE;
};

// The live context behind a handle, or null.
DeviceContext* findDeviceContext(HDC dc);

}  // namespace winapi
