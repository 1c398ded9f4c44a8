// Menus as the window manager sees them: loaded from the program's resources for a
// class menu, drawn as the top row of their window, and run modally on a key or click.
#pragma once

#include <windows.h>

#include "display/canvas.h"

namespace winapi {

// The menu resource `name` (an integer resource or a string) of `instance`; null when
// the module has no such menu.
HMENU loadMenuResource(HINSTANCE instance, LPCSTR name);

// Frees a menu made by loadMenuResource (called when its window is destroyed).
void destroyMenuResource(HMENU menu);

// Draws the menu bar of `menu` into `bar`, a painter one row high covering the bar.
void paintMenuBar(HMENU menu, Painter& bar);

// Runs the menu bar of `window` modally until an item is chosen or the menu is left.
// `column` is the bar column clicked, or -1 when opened from the keyboard; `mnemonic`
// is the letter of Alt+letter (0 for F10 or a bare Alt, which highlights the bar only).
// Sends WM_INITMENU and WM_INITMENUPOPUP before showing a menu, and the chosen item as
// WM_COMMAND (high word 0, lParam 0) to `window`. Grayed items cannot be chosen.
void trackMenuBar(HWND window, HMENU menu, int column, char mnemonic);

}  // namespace winapi
