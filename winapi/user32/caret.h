// The text caret: where the terminal shows its cursor, in a window's client cells.
#pragma once

#include <windows.h>

namespace winapi {

// Shows the caret of `window` at a client cell; the caret is shown only while `window`
// has the focus.
void setCaretCell(HWND window, int col, int row);

// Hides the caret of `window` (nothing happens when another window owns it).
void hideCaret(HWND window);

// The caret's screen cell; false when no caret is to be shown.
bool caretScreenCell(int& col, int& row);

}  // namespace winapi
