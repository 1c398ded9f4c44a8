// The window manager's own records: windows in a handle table, classes, and the state
// shared by focus, input, painting and the message loop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace winapi {

struct WindowClass {
    std::string name;  // as registered: GetClassNameA returns this spelling
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;  // when the menu is named by a string
    LPCSTR menuId = nullptr;  // the integer resource, or menuName.c_str()
    HICON iconSmall = nullptr;
    ATOM atom = 0;
    bool system = false;  // registered by the layer itself; survives resetForTests
    int windows = 0;      // live windows of the class
};

struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool shown = true;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    HMENU menu = nullptr;   // top-level windows: the menu bar
    UINT_PTR id = 0;        // child windows: the control identifier
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<unsigned char> extra;
    RECT rect{};  // window rectangle in pixels: screen for top-level, parent client for child
    std::vector<HWND> children;  // creation order
    bool fillsScreen = false;    // top-level sized by CW_USEDEFAULT: follows screen resizes
    bool sizeSent = false;       // WM_SIZE/WM_MOVE already sent once
    bool destroying = false;
    bool classMenu = false;      // menu loaded from the class: destroyed with the window
    ScrollBarState vscroll;
    ScrollBarState hscroll;
};

// The live window behind a handle; null for null, stale or foreign handles.
Window* findWindow(HWND hwnd);

// A new entry in the table with a fresh handle.
Window& allocateWindow();

// Removes a window from the table; its handle becomes stale.
void freeWindow(HWND hwnd);

// Every live window handle (for resets and scans).
std::vector<HWND> allWindows();

// Top-level windows, bottom of the z-order first.
std::vector<HWND>& topLevelOrder();

// Class lookup by name or atom, case-insensitive.
std::shared_ptr<WindowClass> findClass(LPCSTR nameOrAtom);

// Registers the layer's own classes ("Edit", "Static") once.
void ensureSystemClasses();

// Removes program classes (for resetForTests).
void unregisterProgramClasses();

// The top-level window a window belongs to.
HWND rootOf(HWND hwnd);

// Client rectangle in the window's own pixels, and its origin in screen pixels.
RECT clientRectOf(const Window& window);
POINT clientOriginOnScreen(const Window& window);
// The window's rectangle in screen pixels.
RECT screenRectOf(const Window& window);

// Delivers a message to the window's procedure (logging it); 0 for a dead window.
LRESULT deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The same for a window already found.
LRESULT deliverTo(const Window& window, UINT message, WPARAM wParam, LPARAM lParam);

// Focus, activation and capture bookkeeping when a window goes away or is hidden.
void forgetWindowInputState(HWND hwnd);
// Hands activation to another top-level window when `leaving` stops being active.
void activateNextAfter(HWND leaving);
// Clears focus, activation, capture and key state without messages (for resets).
void resetInputState();

// Queue maintenance.
void removeQueuedMessagesFor(HWND hwnd);
void resetQueue();

// Caret and clipboard resets.
void resetCaret();
void resetClipboard();

// Sets the terminal title from the active window's top owner.
void updateTitle();

// The modifier and button state GetKeyState reports: that of the input message being
// processed.
enum KeyStateBits : unsigned { kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4, kKeyLButton = 8 };
void setKeyState(unsigned bits);
unsigned keyState();

// The screen size in pixels, as the device reports it.
int screenWidthPixels();
int screenHeightPixels();

// Resizes full-screen windows after the device's screen changed.
void screenResized();

// Sends the size and move messages a window gets after its geometry changes.
void sendSizeAndMove(HWND hwnd);

}  // namespace winapi
