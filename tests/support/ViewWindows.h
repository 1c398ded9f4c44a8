// The windows the chunk views talk to, made as the program makes them: a top-level window
// holding the tree, the width box (an edit with its up-down, at 16) and the data pane.
#pragma once

#include <windows.h>

struct ViewWindows {
    HWND main = nullptr;
    HWND tree = nullptr;
    HWND widthEdit = nullptr;
    HWND upDown = nullptr;
    HWND pane = nullptr;
};

// Registers `className` with `procedure`, stores `userData` in the main window's user data
// before any control exists (so notifications during creation find it), and creates the
// controls. Throws std::runtime_error when a window cannot be created.
ViewWindows createViewWindows(const char* className, WNDPROC procedure, void* userData);

// Destroys the windows and unregisters the class.
void destroyViewWindows(const ViewWindows& windows, const char* className);
