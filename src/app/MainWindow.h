// The main window's state and the frame around it: start-up, the message loop and the
// window procedure.
#pragma once

#include <windows.h>

#include <string>

#include "view/ChunkTree.h"

// Everything the main window keeps; lives in WinMain for the whole run and is reached
// from the window procedure through the window's user data.
struct MainWindow {
    HINSTANCE hInstance = nullptr;
    HWND hwndMain = nullptr;
    HWND hwndTree = nullptr;
    HWND hwndData = nullptr;
    HWND hwndWidthLabel = nullptr;
    HWND hwndUpDown = nullptr;
    HWND hwndWidthEdit = nullptr;
    std::string filePath;  // the path last chosen in the open dialog
    RecordsTable records;  // bytes of every data chunk of the loaded file
};

// Registers the window class and creates the main window with its controls; throws
// std::runtime_error when either fails.
void createMainWindow(MainWindow& state);

// Shows the main window and dispatches messages until the quit message; returns 0.
int runMessageLoop(MainWindow& state);

// The main window's procedure.
LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The program's entry: runs the viewer and reports start-up failures; always returns 0.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                              int nShowCmd);
