// The main window's procedure: each message is unpacked and handed to a small handler.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "app/Commands.h"
#include "app/MainWindow.h"
#include "app/resource.h"
#include "view/ChunkDataView.h"

namespace {

const int kTreeWidth = 400;
const int kDataTop = 30;
const LONG kMinWindowWidth = 750;
const LONG kMinWindowHeight = 300;
const int kInitialWidth = 16;

MainWindow* stateOf(HWND hwnd) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HWND createChild(const CREATESTRUCTA* create, HWND parent, DWORD exStyle, const char* className,
                 const char* text, DWORD style, int x, int y, int width, int height) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                           height, parent, nullptr, create->hInstance, nullptr);
}

// Creates the five controls in their fixed order: the up-down takes the control created
// just before it, the width edit, as its buddy.
bool createControls(MainWindow& state, HWND hwnd, const CREATESTRUCTA* create) {
    RECT client;
    GetClientRect(hwnd, &client);
    state.hwndTree = createChild(create, hwnd, WS_EX_CLIENTEDGE, "SysTreeView32", "",
                                 TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, kTreeWidth,
                                 client.bottom);
    if (!state.hwndTree) return false;
    state.hwndWidthLabel = createChild(create, hwnd, 0, "STATIC", "Width:", 0, 410, 6, 40, 12);
    if (!state.hwndWidthLabel) return false;
    state.hwndWidthEdit = createChild(create, hwnd, WS_EX_CLIENTEDGE, "EDIT", "",
                                      ES_NUMBER | ES_RIGHT, 450, 4, 75, 20);
    if (!state.hwndWidthEdit) return false;
    state.hwndUpDown = createChild(create, hwnd, 0, "msctls_updown32", "",
                                   UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY |
                                       UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                   400, 0, 10, 10);
    if (!state.hwndUpDown) return false;
    state.hwndData = createChild(create, hwnd, WS_EX_CLIENTEDGE, "EDIT", "",
                                 WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY, kTreeWidth,
                                 kDataTop, client.right - kTreeWidth, client.bottom - kDataTop);
    return state.hwndData != nullptr;
}

void setFont(HWND control, int stockFont) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(stockFont)), FALSE);
}

// Returns false when a control could not be created: the main window then fails.
bool onCreate(HWND hwnd, const CREATESTRUCTA* create) {
    MainWindow* state = static_cast<MainWindow*>(create->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->hwndMain = hwnd;
    if (!createControls(*state, hwnd, create)) return false;
    SendMessageA(state->hwndUpDown, UDM_SETRANGE32, 1, 0x7FFFFFFF);
    SendMessageA(state->hwndUpDown, UDM_SETPOS32, 0, kInitialWidth);
    setFont(state->hwndTree, DEFAULT_GUI_FONT);
    setFont(state->hwndWidthLabel, DEFAULT_GUI_FONT);
    setFont(state->hwndWidthEdit, DEFAULT_GUI_FONT);
    setFont(state->hwndData, OEM_FIXED_FONT);
    return true;
}

// The tree keeps its width; the data pane takes the rest below the width box.
void onSize(MainWindow* state) {
    if (!state) return;
    RECT client;
    GetClientRect(state->hwndMain, &client);
    MoveWindow(state->hwndTree, 0, 0, kTreeWidth, client.bottom, TRUE);
    MoveWindow(state->hwndData, kTreeWidth, kDataTop, client.right - kTreeWidth,
               client.bottom - kDataTop, TRUE);
}

bool draggingLeft(WPARAM edge) {
    return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
}

bool draggingTop(WPARAM edge) {
    return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
}

// Keeps the window at least 750 x 300 by stopping the edge being dragged.
void onSizing(WPARAM edge, RECT* rect) {
    if (rect->right - rect->left < kMinWindowWidth) {
        if (draggingLeft(edge))
            rect->left = rect->right - kMinWindowWidth;
        else
            rect->right = rect->left + kMinWindowWidth;
    }
    if (rect->bottom - rect->top < kMinWindowHeight) {
        if (draggingTop(edge))
            rect->top = rect->bottom - kMinWindowHeight;
        else
            rect->bottom = rect->top + kMinWindowHeight;
    }
}

void onSetFocus(MainWindow* state) {
    if (state) SetFocus(state->hwndTree);
}

void onClose() {
    PostQuitMessage(0);
}

// The position the up-down is about to take, held to its range: at either end the
// control keeps its position, and the sum must not overflow.
int32_t comingPosition(const NMUPDOWN* change) {
    int64_t position = static_cast<int64_t>(change->iPos) + change->iDelta;
    if (position < 1) return 1;
    if (position > 0x7FFFFFFF) return 0x7FFFFFFF;
    return static_cast<int32_t>(position);
}

void onNotify(MainWindow* state, const NMHDR* header) {
    if (!state) return;
    switch (header->code) {
    case TVN_SELCHANGEDA: {
        const NMTREEVIEWA* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        showRecord(state->records, state->hwndUpDown, state->hwndData, change->itemNew.lParam);
        break;
    }
    case UDN_DELTAPOS:
        showWithWidth(*state, comingPosition(reinterpret_cast<const NMUPDOWN*>(header)));
        break;
    }
}

void exitProgram(MainWindow&) {
    PostQuitMessage(0);
}

void copySelection(MainWindow&) {
    SendMessageA(GetFocus(), WM_COPY, 0, 0);
}

void selectAllText(MainWindow&) {
    selectAll();
}

struct Command {
    WORD id;
    void (*run)(MainWindow& state);
};

const Command kCommands[] = {
    {ID_FILE_OPEN, onOpen},
    {ID_FILE_REFRESH, onRefresh},
    {ID_FILE_EXIT, exitProgram},
    {ID_EDIT_COPY, copySelection},
    {ID_EDIT_SELECTALL, selectAllText},
    {ID_HELP_ABOUT, showAbout},
};

// Menu and accelerator commands carry no control (lParam 0); a control's notification
// matters only when the width edit's text changed.
void onCommand(MainWindow* state, WPARAM wParam, LPARAM lParam) {
    if (!state) return;
    if (lParam != 0) {
        if (HIWORD(wParam) == EN_CHANGE) onWidthTyped(*state);
        return;
    }
    for (const Command& command : kCommands) {
        if (command.id == LOWORD(wParam)) {
            command.run(*state);
            return;
        }
    }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindow* state = stateOf(hwnd);
    switch (message) {
    case WM_CREATE:
        if (!onCreate(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam))) return -1;
        break;
    case WM_SIZE:
        onSize(state);
        break;
    case WM_SIZING:
        onSizing(wParam, reinterpret_cast<RECT*>(lParam));
        break;
    case WM_SETFOCUS:
        onSetFocus(state);
        break;
    case WM_CLOSE:
        onClose();
        break;
    case WM_NOTIFY:
        onNotify(state, reinterpret_cast<const NMHDR*>(lParam));
        break;
    case WM_COMMAND:
        onCommand(state, wParam, lParam);
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
