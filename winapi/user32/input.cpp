// Turning device input into messages, and finding the window under the pointer.
#include "user32/input.h"

#include <cctype>

#include "display/utf8.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {
namespace {

constexpr LPARAM kAltContext = LPARAM(1) << 29;
constexpr LPARAM kReleased = (LPARAM(1) << 30) | (LPARAM(1) << 31);

unsigned keyBits(const InputEvent& event) {
    return (event.shift ? unsigned(kKeyShift) : 0u) | (event.ctrl ? unsigned(kKeyCtrl) : 0u) |
           (event.alt ? unsigned(kKeyAlt) : 0u);
}

// The character of a key on a US keyboard: {plain, shifted, with Ctrl}.
struct KeyChars {
    char plain;
    char shifted;
    char control;
};

bool charsOfKey(unsigned vk, KeyChars& chars) {
    static const char* digitsShifted = ")!@#$%^&*(";
    if (vk >= 'A' && vk <= 'Z') {
        chars = {static_cast<char>(vk - 'A' + 'a'), static_cast<char>(vk),
                 static_cast<char>(vk - 'A' + 1)};
        return true;
    }
    if (vk >= '0' && vk <= '9') {
        chars = {static_cast<char>(vk), digitsShifted[vk - '0'], 0};
        return true;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
        char digit = static_cast<char>('0' + vk - VK_NUMPAD0);
        chars = {digit, digit, 0};
        return true;
    }
    switch (vk) {
        case VK_SPACE: chars = {' ', ' ', ' '}; return true;
        case VK_RETURN: chars = {'\r', '\r', '\n'}; return true;
        case VK_ESCAPE: chars = {0x1B, 0x1B, 0x1B}; return true;
        case VK_BACK: chars = {0x08, 0x08, 0x7F}; return true;
        case VK_TAB: chars = {'\t', '\t', 0}; return true;
        case VK_MULTIPLY: chars = {'*', '*', 0}; return true;
        case VK_ADD: chars = {'+', '+', 0}; return true;
        case VK_SUBTRACT: chars = {'-', '-', 0}; return true;
        case VK_DECIMAL: chars = {'.', '.', 0}; return true;
        case VK_DIVIDE: chars = {'/', '/', 0}; return true;
        case VK_OEM_1: chars = {';', ':', 0}; return true;
        case VK_OEM_PLUS: chars = {'=', '+', 0}; return true;
        case VK_OEM_COMMA: chars = {',', '<', 0}; return true;
        case VK_OEM_MINUS: chars = {'-', '_', 0x1F}; return true;
        case VK_OEM_PERIOD: chars = {'.', '>', 0}; return true;
        case VK_OEM_2: chars = {'/', '?', 0}; return true;
        case VK_OEM_3: chars = {'`', '~', 0}; return true;
        case VK_OEM_4: chars = {'[', '{', 0x1B}; return true;
        case VK_OEM_5: chars = {'\\', '|', 0x1C}; return true;
        case VK_OEM_6: chars = {']', '}', 0x1D}; return true;
        case VK_OEM_7: chars = {'\'', '"', 0}; return true;
        default: return false;
    }
}

void handleKey(const InputEvent& event) {
    unsigned keys = keyBits(event);
    HWND target = GetFocus();
    bool noFocus = target == nullptr;
    if (noFocus) target = GetActiveWindow();
    if (!target) return;
    if (event.vk == 0) {
        std::string text;
        appendUtf8(text, event.ch);
        for (char c : text) {
            postInputMessage(target, WM_CHAR, static_cast<unsigned char>(c), 1, keys, 0);
        }
        return;
    }
    // Alt, F10, and any key while no window has the focus are system keys.
    bool system = event.alt || event.vk == VK_F10 || noFocus;
    LPARAM context = event.alt ? kAltContext : 0;
    postInputMessage(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, event.vk, 1 | context, keys,
                     static_cast<DWORD>(event.ch));
    postInputMessage(target, system ? WM_SYSKEYUP : WM_KEYUP, event.vk,
                     1 | context | kReleased, keys, 0);
}

// Paint order of top-level windows: owners below the windows they own.
void appendWithOwned(HWND hwnd, std::vector<HWND>& out) {
    out.push_back(hwnd);
    for (HWND other : topLevelOrder()) {
        Window* window = findWindow(other);
        if (window && window->owner == hwnd) appendWithOwned(other, out);
    }
}

HWND deepestChildAt(HWND hwnd, int col, int row) {
    Window* window = findWindow(hwnd);
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        Window* child = findWindow(*it);
        if (!child || !(child->style & WS_VISIBLE)) continue;
        RECT rect = screenRectOf(*child);
        CellRect cells = pixelsToCells(rect.left, rect.top, rect.right, rect.bottom)
                             .intersect(clientCells(hwnd));
        if (!cells.contains(col, row)) continue;
        if (child->style & WS_DISABLED) return hwnd;
        return deepestChildAt(*it, col, row);
    }
    return hwnd;
}

void handleMouse(const InputEvent& event) {
    using Action = InputEvent::MouseAction;
    static bool leftDown = false;
    if (event.action == Action::Press || event.action == Action::DoubleClick) leftDown = true;
    if (event.action == Action::Release) leftDown = false;
    unsigned keys = keyBits(event) | (leftDown ? unsigned(kKeyLButton) : 0u);

    int screenX = event.col * kPixelsPerColumn + kPixelsPerColumn / 2;
    int screenY = event.row * kPixelsPerRow + kPixelsPerRow / 2;
    bool menuRow = false;
    HWND target = GetCapture();
    if (!target) target = windowAtCell(event.col, event.row, menuRow);
    if (!target) return;
    if (event.action == Action::Press || event.action == Action::DoubleClick) {
        HWND root = rootOf(target);
        if (GetActiveWindow() != root) SetActiveWindow(root);
        if (!findWindow(target)) return;
    }
    if (menuRow) {
        if (event.action == Action::Press) {
            postInputMessage(target, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(screenX, screenY),
                             keys, 0);
        }
        return;
    }

    WPARAM buttons = (leftDown ? MK_LBUTTON : 0) | (event.shift ? MK_SHIFT : 0) |
                     (event.ctrl ? MK_CONTROL : 0);
    if (event.action == Action::WheelUp || event.action == Action::WheelDown) {
        int delta = event.action == Action::WheelUp ? WHEEL_DELTA : -WHEEL_DELTA;
        postInputMessage(target, WM_MOUSEWHEEL,
                         MAKEWPARAM(buttons, static_cast<WORD>(static_cast<short>(delta))),
                         MAKELPARAM(screenX, screenY), keys, 0);
        return;
    }
    // Client coordinates: the centre of the cell, relative to the client area's first cell.
    CellRect client = clientCells(target);
    int x = (event.col - client.left) * kPixelsPerColumn + kPixelsPerColumn / 2;
    int y = (event.row - client.top) * kPixelsPerRow + kPixelsPerRow / 2;
    LPARAM position = MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                                 static_cast<WORD>(static_cast<short>(y)));
    UINT message = WM_MOUSEMOVE;
    switch (event.action) {
        case Action::Press: message = WM_LBUTTONDOWN; break;
        case Action::Release: message = WM_LBUTTONUP; break;
        case Action::DoubleClick: {
            Window* window = findWindow(target);
            message = (window->cls->style & CS_DBLCLKS) ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
            break;
        }
        default: message = WM_MOUSEMOVE; break;
    }
    postInputMessage(target, message, buttons, position, keys, 0);
}

}  // namespace

std::vector<HWND> paintOrder() {
    std::vector<HWND> result;
    for (HWND hwnd : topLevelOrder()) {
        Window* window = findWindow(hwnd);
        if (window && !findWindow(window->owner)) appendWithOwned(hwnd, result);
    }
    return result;
}

HWND windowAtCell(int col, int row, bool& menuRow) {
    menuRow = false;
    std::vector<HWND> order = paintOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Window* window = findWindow(*it);
        if (!window || !(window->style & WS_VISIBLE)) continue;
        RECT rect = screenRectOf(*window);
        CellRect cells = pixelsToCells(rect.left, rect.top, rect.right, rect.bottom);
        if (!cells.contains(col, row)) continue;
        if (window->style & WS_DISABLED) return nullptr;  // under a modal window
        if (window->menu && row == cells.top) {
            menuRow = true;
            return *it;
        }
        return deepestChildAt(*it, col, row);
    }
    return nullptr;
}

std::string typedText(const MSG& msg) {
    std::string text;
    if (msg.lPrivate) {
        appendUtf8(text, static_cast<char32_t>(msg.lPrivate));
        return text;
    }
    KeyChars chars{};
    if (!charsOfKey(static_cast<unsigned>(msg.wParam), chars)) return text;
    unsigned keys = keyState();
    bool ctrl = keys & kKeyCtrl, alt = keys & kKeyAlt, shift = keys & kKeyShift;
    char ch = 0;
    if (ctrl && alt) {
        ch = 0;  // AltGr combinations type nothing on this layout
    } else if (ctrl) {
        ch = chars.control;
    } else {
        ch = shift ? chars.shifted : chars.plain;
    }
    if (ch) text += ch;
    return text;
}

void handleInput(const InputEvent& event) {
    switch (event.kind) {
        case InputEvent::Kind::Key: handleKey(event); break;
        case InputEvent::Kind::Mouse: handleMouse(event); break;
        case InputEvent::Kind::Resize: screenResized(); break;
    }
}

}  // namespace winapi
