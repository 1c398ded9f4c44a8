// The up-down control ("msctls_updown32").
#pragma once

#include <windows.h>

namespace winapi {

// Window procedure of the "msctls_updown32" class.
LRESULT CALLBACK upDownWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The up-down's width in pixels: two cells.
constexpr int kUpDownWidth = 14;

}  // namespace winapi
