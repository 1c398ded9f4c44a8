// Device input turned into window messages: keys to the focus, mouse to the window under
// the pointer, screen resizes to full-screen windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "display/device.h"

namespace winapi {

// Posts the messages one input event makes (a resize is handled at once).
void handleInput(const InputEvent& event);

// Queues a message that came from input, with the key state to report while it is
// processed and the character the key typed (0: derive it from the key code).
void postInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned keys,
                      DWORD typed);

// The UTF-8 text a WM_KEYDOWN / WM_SYSKEYDOWN types, as TranslateMessage makes it
// (Ctrl+letter gives the control character; keys that type nothing give "").
std::string typedText(const MSG& msg);

// The deepest visible, enabled window at a screen cell; `menuRow` is set when the cell is
// the menu bar of the returned top-level window.
HWND windowAtCell(int col, int row, bool& menuRow);

// Top-level windows from bottom to top as they are painted: each owner below the windows
// it owns.
std::vector<HWND> paintOrder();

}  // namespace winapi
