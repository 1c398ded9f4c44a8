// The STATIC control: a line of text drawn in its cells, such as a label.
#pragma once

#include <windows.h>

namespace winapi {

// Window procedure of the "Static" class.
LRESULT CALLBACK staticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi
