// The tree-view control ("SysTreeView32").
#pragma once

#include <windows.h>

namespace winapi {

// The class's window extra bytes: the control behind the window.
constexpr int kTreeViewWindowExtra = sizeof(void*);

// Window procedure of the "SysTreeView32" class.
LRESULT CALLBACK treeViewWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi
