// Painting as the layer's controls see it: the cell painter behind a device context, and
// the composition of every window into the screen.
#pragma once

#include <windows.h>

#include "display/canvas.h"

namespace winapi {

// The painter of a device context from BeginPaint or GetDC: it covers the window's client
// cells (origin at the client area's top-left cell) and is clipped to the parent chain.
// The context must be live (between BeginPaint and EndPaint, or GetDC and ReleaseDC).
Painter& painterFor(HDC dc);

// The window a live device context paints (null for an unknown context).
HWND windowOfDC(HDC dc);

// Paints every visible window into the screen canvas (top-level windows in z-order, owned
// windows above their owners, children in creation order) and presents it on the device.
// The message loop calls this before it waits for input.
void composeScreen();

// The canvas of the last composition.
const Canvas& screenCanvas();

// The client area of `window` in screen cells (empty for an unknown window).
CellRect clientCells(HWND window);

}  // namespace winapi
