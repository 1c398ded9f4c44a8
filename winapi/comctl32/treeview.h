// The tree-view control ("SysTreeView32").
#pragma once

#include <windows.h>

namespace winapi {

// Window procedure of the "SysTreeView32" class.
LRESULT CALLBACK treeViewWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi
