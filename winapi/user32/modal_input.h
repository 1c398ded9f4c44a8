// Helpers of the layer's modal loops (menus, message boxes, the open dialog): where a
// mouse message points on the screen, and the layer's own window classes.
#pragma once

#include <windows.h>

#include "display/canvas.h"

namespace winapi {

bool isKeyboardMessage(UINT message);
bool isMouseMessage(UINT message);  // client and non-client mouse messages

// The screen cell a mouse message points at; false for other messages.
bool mouseCell(const MSG& msg, int& col, int& row);

// The window's rectangle in screen cells (empty for an unknown window).
CellRect windowCells(HWND hwnd);

// Registers one of the layer's classes unless it exists (again after a test reset).
void ensureLayerClass(const char* name, WNDPROC proc);

}  // namespace winapi
