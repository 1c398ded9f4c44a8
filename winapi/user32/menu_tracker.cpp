// The modal run of a window's menu bar: the highlighted title, the open popup drawn as a
// box under it, keys and clicks, and the chosen command sent once the menu is closed.
#include <algorithm>
#include <cctype>

#include "user32/menu.h"
#include "user32/menu_bar.h"
#include "user32/menu_model.h"
#include "user32/modal_input.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {

namespace {

const char kPopupClass[] = "WinapiMenuPopup";
constexpr LRESULT kNoActivate = 3;  // WM_MOUSEACTIVATE: MA_NOACTIVATE

class MenuTracker {
public:
    MenuTracker(HWND window, HMENU menu) : window_(window), menu_(menu), bar_(menuFromHandle(menu)) {}

    void start(int column, char mnemonic);
    void run();
    void finish();
    // The command to send once closed (0: none).
    UINT chosen() const { return chosen_; }
    bool done() const { return done_; }

    HMENU menu() const { return menu_; }
    int title() const { return title_; }
    void paintPopup(Painter& painter) const;

private:
    const MenuItem* titleItem() const;
    Menu* openMenu() const;
    void highlightTitle(int index);
    void openTitle(int index, bool byKeyboard);
    void closePopup();
    void moveTitle(int step);
    void moveItem(int step);
    void choose(int index);
    void onKey(UINT vk);
    void onLetter(char letter);
    void onMouse(const MSG& msg);
    int titleAt(int col, int row) const;
    int itemAt(int col, int row) const;

    HWND window_;
    HMENU menu_;
    Menu* bar_;
    int title_ = -1;     // highlighted bar title (index into bar_->items)
    bool open_ = false;  // its popup is shown
    int item_ = -1;      // highlighted popup item
    int pressedItem_ = -1;
    HWND popup_ = nullptr;
    UINT chosen_ = 0;
    bool done_ = false;
};

MenuTracker* g_tracker = nullptr;

LRESULT CALLBACK popupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (g_tracker) g_tracker->paintPopup(painterFor(dc));
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) return kNoActivate;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool selectable(const MenuItem& item) { return !item.separator; }

int popupWidth(const Menu& menu) {
    int inner = 0;
    for (const MenuItem& item : menu.items) {
        const std::string accel = menuAcceleratorText(item.text);
        int width = static_cast<int>(menuLabel(item.text).size());
        if (!accel.empty()) width += 2 + static_cast<int>(accel.size());
        if (item.popup) width += 2;
        inner = std::max(inner, width);
    }
    return inner + 4;  // border and one space each side
}

CellRect barCells(HWND window) {
    CellRect cells = windowCells(window);
    cells.bottom = cells.top + 1;
    return cells;
}

}  // namespace

void MenuTracker::start(int column, char mnemonic) {
    SendMessageA(window_, WM_INITMENU, reinterpret_cast<WPARAM>(menu_), 0);
    if (!menuFromHandle(menu_)) return finish();  // the program destroyed it meanwhile
    const std::vector<MenuBarTitle> titles = menuBarLayout(menu_);
    if (titles.empty()) return finish();
    if (column >= 0) {
        auto hit = std::find_if(titles.begin(), titles.end(),
                                [column](const MenuBarTitle& t) { return column >= t.left && column < t.left + t.width; });
        if (hit == titles.end()) return finish();
        return openTitle(hit->index, false);
    }
    if (mnemonic != 0) {
        const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(mnemonic)));
        for (const MenuBarTitle& t : titles) {
            if (menuMnemonic(bar_->items[static_cast<size_t>(t.index)].text) == wanted) return openTitle(t.index, true);
        }
        return finish();
    }
    highlightTitle(titles.front().index);
}

void MenuTracker::run() {
    while (!done_) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
            finish();
            break;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            onKey(static_cast<UINT>(msg.wParam));
        } else if (isKeyboardMessage(msg.message)) {
            // Key-ups and characters belong to the menu while it runs.
        } else if (isMouseMessage(msg.message)) {
            onMouse(msg);
        } else {
            DispatchMessageA(&msg);
        }
        if (!menuFromHandle(menu_) || !IsWindow(window_)) finish();
    }
}

void MenuTracker::finish() {
    closePopup();
    title_ = -1;
    done_ = true;
}

const MenuItem* MenuTracker::titleItem() const {
    if (title_ < 0 || !menuFromHandle(menu_)) return nullptr;
    return &bar_->items[static_cast<size_t>(title_)];
}

Menu* MenuTracker::openMenu() const {
    const MenuItem* title = titleItem();
    return open_ && title ? title->popup : nullptr;
}

void MenuTracker::highlightTitle(int index) {
    title_ = index;
}

void MenuTracker::openTitle(int index, bool byKeyboard) {
    closePopup();
    title_ = index;
    const MenuItem& title = bar_->items[static_cast<size_t>(index)];
    if (title.popup == nullptr || title.grayed()) return;
    SendMessageA(window_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handleOf(title.popup)), MAKELPARAM(index, FALSE));
    if (!menuFromHandle(menu_) || done_) return finish();

    const std::vector<MenuBarTitle> titles = menuBarLayout(menu_);
    auto layout = std::find_if(titles.begin(), titles.end(), [index](const MenuBarTitle& t) { return t.index == index; });
    const CellRect bar = barCells(window_);
    const int width = popupWidth(*title.popup);
    const int height = static_cast<int>(title.popup->items.size()) + 2;
    const int screenCols = std::max(1, screenWidthPixels() / kPixelsPerColumn);
    int col = bar.left + (layout != titles.end() ? layout->left : 0);
    col = std::max(0, std::min(col, screenCols - width));
    const int row = bar.top + 1;

    ensureLayerClass(kPopupClass, popupProc);
    popup_ = CreateWindowExA(WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP, col * kPixelsPerColumn, row * kPixelsPerRow,
                             width * kPixelsPerColumn, height * kPixelsPerRow, window_, nullptr, nullptr, nullptr);
    open_ = popup_ != nullptr;
    item_ = -1;
    if (byKeyboard) moveItem(+1);
    if (popup_) ShowWindow(popup_, SW_SHOWNOACTIVATE);
}

void MenuTracker::closePopup() {
    if (popup_) {
        HWND popup = popup_;
        popup_ = nullptr;
        DestroyWindow(popup);
    }
    open_ = false;
    item_ = -1;
    pressedItem_ = -1;
}

void MenuTracker::moveTitle(int step) {
    const std::vector<MenuBarTitle> titles = menuBarLayout(menu_);
    if (titles.empty()) return finish();
    auto current = std::find_if(titles.begin(), titles.end(), [this](const MenuBarTitle& t) { return t.index == title_; });
    const int count = static_cast<int>(titles.size());
    const int position = current == titles.end() ? 0 : static_cast<int>(current - titles.begin());
    const int next = titles[static_cast<size_t>(((position + step) % count + count) % count)].index;
    if (open_) return openTitle(next, true);
    highlightTitle(next);
}

// Moves the highlight over the items, skipping separators and wrapping around.
void MenuTracker::moveItem(int step) {
    Menu* menu = openMenu();
    if (menu == nullptr || menu->items.empty()) return;
    const int count = static_cast<int>(menu->items.size());
    int index = item_;
    for (int tries = 0; tries < count; ++tries) {
        index = index < 0 ? (step > 0 ? 0 : count - 1) : ((index + step) % count + count) % count;
        if (selectable(menu->items[static_cast<size_t>(index)])) {
            item_ = index;
            return;
        }
    }
}

void MenuTracker::choose(int index) {
    Menu* menu = openMenu();
    if (menu == nullptr || index < 0 || index >= static_cast<int>(menu->items.size())) return;
    const MenuItem& item = menu->items[static_cast<size_t>(index)];
    item_ = index;
    if (!selectable(item) || item.grayed() || item.popup) return;
    chosen_ = item.id;
    finish();
}

void MenuTracker::onKey(UINT vk) {
    switch (vk) {
    case VK_ESCAPE:
        if (open_) {
            closePopup();
            return;
        }
        return finish();
    case VK_F10:
    case VK_MENU:
        return finish();
    case VK_LEFT:
        return moveTitle(-1);
    case VK_RIGHT:
        return moveTitle(+1);
    case VK_DOWN:
        if (!open_) return openTitle(title_, true);
        return moveItem(+1);
    case VK_UP:
        if (!open_) return openTitle(title_, true);
        return moveItem(-1);
    case VK_RETURN: {
        const MenuItem* title = titleItem();
        if (open_) return choose(item_);
        if (title && !title->popup && !title->grayed()) {  // a command on the bar itself
            chosen_ = title->id;
            return finish();
        }
        return openTitle(title_, true);
    }
    default:
        if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) onLetter(static_cast<char>(vk));
    }
}

void MenuTracker::onLetter(char letter) {
    if (Menu* menu = openMenu()) {
        for (size_t i = 0; i < menu->items.size(); ++i) {
            if (selectable(menu->items[i]) && menuMnemonic(menu->items[i].text) == letter) return choose(static_cast<int>(i));
        }
        return;
    }
    for (const MenuBarTitle& t : menuBarLayout(menu_)) {
        if (menuMnemonic(bar_->items[static_cast<size_t>(t.index)].text) == letter) return openTitle(t.index, true);
    }
}

void MenuTracker::onMouse(const MSG& msg) {
    int col = 0;
    int row = 0;
    if (!mouseCell(msg, col, row)) return;
    const bool press = msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN ||
                       msg.message == WM_LBUTTONDBLCLK || msg.message == WM_NCLBUTTONDBLCLK;
    const bool release = msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP;
    const int item = itemAt(col, row);
    if (press) {
        if (item >= 0) {
            pressedItem_ = item;
            item_ = item;
            return;
        }
        if (popup_ && windowCells(popup_).contains(col, row)) return;  // the popup's border
        const int title = titleAt(col, row);
        if (title < 0) return finish();  // a click elsewhere closes the menu and is spent
        if (title == title_ && open_) return finish();
        return openTitle(title, false);
    }
    if (release && item >= 0 && item == pressedItem_) choose(item);
}

int MenuTracker::titleAt(int col, int row) const {
    const CellRect bar = barCells(window_);
    if (!bar.contains(col, row)) return -1;
    for (const MenuBarTitle& t : menuBarLayout(menu_)) {
        if (col - bar.left >= t.left && col - bar.left < t.left + t.width) return t.index;
    }
    return -1;
}

int MenuTracker::itemAt(int col, int row) const {
    Menu* menu = openMenu();
    if (menu == nullptr || popup_ == nullptr) return -1;
    const CellRect box = windowCells(popup_);
    const int index = row - box.top - 1;
    if (col <= box.left || col >= box.right - 1 || index < 0 || index >= static_cast<int>(menu->items.size())) return -1;
    return selectable(menu->items[static_cast<size_t>(index)]) ? index : -1;
}

void MenuTracker::paintPopup(Painter& painter) const {
    Menu* menu = openMenu();
    if (menu == nullptr) return;
    const int width = painter.cols();
    const int last = static_cast<int>(menu->items.size()) + 1;
    painter.fill({0, 0, width, last + 1});
    for (int col = 1; col < width - 1; ++col) {
        painter.put(col, 0, U'─');
        painter.put(col, last, U'─');
    }
    painter.put(0, 0, U'┌');
    painter.put(width - 1, 0, U'┐');
    painter.put(0, last, U'└');
    painter.put(width - 1, last, U'┘');
    for (int i = 0; i < static_cast<int>(menu->items.size()); ++i) {
        const MenuItem& item = menu->items[static_cast<size_t>(i)];
        const int row = i + 1;
        if (item.separator) {
            painter.put(0, row, U'├');
            for (int col = 1; col < width - 1; ++col) painter.put(col, row, U'─');
            painter.put(width - 1, row, U'┤');
            continue;
        }
        painter.put(0, row, U'│');
        painter.put(width - 1, row, U'│');
        const uint8_t attr = item.grayed() ? kAttrDim : kAttrNone;
        if (item.state & MF_CHECKED) painter.put(1, row, U'✓', attr);
        painter.text(2, row, menuLabel(item.text), attr, width - 4);
        const int mnemonic = menuMnemonicColumn(item.text);
        if (mnemonic >= 0 && 2 + mnemonic < width - 2) painter.setAttr({2 + mnemonic, row, 3 + mnemonic, row + 1}, kAttrUnderline);
        const std::string accel = menuAcceleratorText(item.text);
        if (!accel.empty()) painter.text(width - 2 - static_cast<int>(accel.size()), row, accel, attr);
        if (item.popup) painter.put(width - 3, row, U'►', attr);
        if (i == item_) painter.setAttr({1, row, width - 1, row + 1}, kAttrReverse);
    }
}

int menuBarHighlight(HMENU menu) {
    return g_tracker && !g_tracker->done() && g_tracker->menu() == menu ? g_tracker->title() : -1;
}

void trackMenuBar(HWND window, HMENU menu, int column, char mnemonic) {
    if (g_tracker != nullptr || menuFromHandle(menu) == nullptr) return;  // one menu at a time
    HWND hadFocus = GetFocus();
    MenuTracker tracker(window, menu);
    g_tracker = &tracker;
    tracker.start(column, mnemonic);
    tracker.run();
    g_tracker = nullptr;
    // A click on the popup may have moved activation there; the menu leaves focus as it found it.
    if (hadFocus && GetFocus() != hadFocus && IsWindow(hadFocus)) SetFocus(hadFocus);
    if (tracker.chosen() != 0 && IsWindow(window)) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(tracker.chosen(), 0), 0);
    }
}

}  // namespace winapi
