// The EDIT control: single-line boxes and the large read-only multi-line data pane.
#pragma once

#include <windows.h>

namespace winapi {

// Window procedure of the "Edit" class.
LRESULT CALLBACK editWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi
