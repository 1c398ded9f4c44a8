// MessageBoxA: a modal box centred on the screen with the caption, the text wrapped to
// the screen and a row of buttons, run on the window system's own queue.
#include "user32/messagebox.h"

#include <algorithm>

#include "user32/modal_input.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {

namespace {

const char kBoxClass[] = "WinapiMessageBox";
constexpr int kMinInnerWidth = 16;
constexpr int kChromeRows = 6;  // borders, caption, its rule, the blank row, the buttons

struct Button {
    const char* label;
    int id;
};

std::vector<MessageBoxRecord>& records() {
    static std::vector<MessageBoxRecord> log;
    return log;
}

std::vector<Button> buttonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"Cancel", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{"Abort", IDABORT}, {"Retry", IDRETRY}, {"Ignore", IDIGNORE}};
    case MB_YESNOCANCEL: return {{"Yes", IDYES}, {"No", IDNO}, {"Cancel", IDCANCEL}};
    case MB_YESNO: return {{"Yes", IDYES}, {"No", IDNO}};
    case MB_RETRYCANCEL: return {{"Retry", IDRETRY}, {"Cancel", IDCANCEL}};
    default: return {{"OK", IDOK}};
    }
}

// Characters, not bytes: each UTF-8 character takes one column.
int columns(const std::string& text) {
    int count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

// Byte offset of character `n` in `text` (text.size() past the end).
size_t offsetOfColumn(const std::string& text, int n) {
    size_t i = 0;
    for (int seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && seen++ == n) return i;
    }
    return text.size();
}

// Breaks at '\n' (CR LF or LF), then wraps lines longer than `width` at the last space
// that fits, or mid-word when a word alone is too long.
std::vector<std::string> wrapText(const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        while (columns(line) > width) {
            const size_t limit = offsetOfColumn(line, width);
            size_t cut = line.rfind(' ', limit);
            if (cut == std::string::npos || cut == 0) {
                lines.push_back(line.substr(0, limit));
                line.erase(0, limit);
            } else {
                lines.push_back(line.substr(0, cut));
                line.erase(0, cut + 1);
            }
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

class MessageBoxRun {
public:
    MessageBoxRun(HWND owner, std::string text, std::string caption, UINT type)
        : owner_(owner), text_(std::move(text)), caption_(std::move(caption)), buttons_(buttonsOf(type)) {
        const int defaultButton = static_cast<int>((type & 0xF00) >> 8);
        focus_ = std::min(defaultButton, static_cast<int>(buttons_.size()) - 1);
    }

    int show();
    void paint(Painter& painter) const;

private:
    void layout();
    int buttonsWidth() const;
    int buttonAt(int col, int row) const;
    int escapeResult() const;
    void onKey(UINT vk);
    void onMouse(const MSG& msg);
    void close(int result);

    HWND owner_;
    std::string text_;
    std::string caption_;
    std::vector<Button> buttons_;
    std::vector<std::string> lines_;
    int focus_ = 0;
    int pressed_ = -1;
    int width_ = 0;   // cells
    int height_ = 0;
    HWND box_ = nullptr;
    int result_ = 0;
};

LRESULT CALLBACK boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto* run = reinterpret_cast<MessageBoxRun*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (run) run->paint(painterFor(dc));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MessageBoxRun::layout() {
    const int screenCols = std::max(1, screenWidthPixels() / kPixelsPerColumn);
    const int screenRows = std::max(1, screenHeightPixels() / kPixelsPerRow);
    const int maxInner = std::max(kMinInnerWidth, screenCols - 4);
    lines_ = wrapText(text_, maxInner);
    const int maxLines = std::max(1, screenRows - kChromeRows);
    if (static_cast<int>(lines_.size()) > maxLines) lines_.resize(static_cast<size_t>(maxLines));
    int inner = std::max({kMinInnerWidth, columns(caption_), buttonsWidth()});
    for (const std::string& line : lines_) inner = std::max(inner, columns(line));
    width_ = std::min(inner, maxInner) + 4;
    height_ = static_cast<int>(lines_.size()) + kChromeRows;
}

int MessageBoxRun::buttonsWidth() const {
    int width = 0;
    for (const Button& b : buttons_) width += columns(b.label) + 4 + (width ? 2 : 0);  // "[ OK ]", two apart
    return width;
}

int MessageBoxRun::show() {
    layout();
    const int screenCols = std::max(1, screenWidthPixels() / kPixelsPerColumn);
    const int screenRows = std::max(1, screenHeightPixels() / kPixelsPerRow);
    const int col = std::max(0, (screenCols - width_) / 2);
    const int row = std::max(0, (screenRows - height_) / 2);

    HWND hadFocus = GetFocus();
    const bool disableOwner = owner_ && IsWindowEnabled(owner_);
    if (disableOwner) EnableWindow(owner_, FALSE);
    ensureLayerClass(kBoxClass, boxProc);
    box_ = CreateWindowExA(WS_EX_TOPMOST, kBoxClass, caption_.c_str(), WS_POPUP, col * kPixelsPerColumn,
                           row * kPixelsPerRow, width_ * kPixelsPerColumn, height_ * kPixelsPerRow, owner_, nullptr,
                           nullptr, nullptr);
    if (box_ == nullptr) {
        if (disableOwner) EnableWindow(owner_, TRUE);
        return 0;
    }
    SetWindowLongPtrA(box_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(box_, SW_SHOW);

    while (result_ == 0) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must end too
            close(IDOK);
            break;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            onKey(static_cast<UINT>(msg.wParam));
        } else if (isKeyboardMessage(msg.message)) {
            // Key-ups and characters go nowhere while the box is up.
        } else if (isMouseMessage(msg.message)) {
            onMouse(msg);
        } else {
            DispatchMessageA(&msg);
        }
        if (result_ == 0 && !IsWindow(box_)) close(escapeResult());  // destroyed by someone else
    }

    if (disableOwner && IsWindow(owner_)) EnableWindow(owner_, TRUE);
    if (hadFocus && IsWindow(hadFocus)) SetFocus(hadFocus);
    return result_;
}

void MessageBoxRun::close(int result) {
    result_ = result;
    if (box_ && IsWindow(box_)) {
        HWND box = box_;
        box_ = nullptr;
        DestroyWindow(box);
    }
}

int MessageBoxRun::escapeResult() const {
    for (const Button& b : buttons_) {
        if (b.id == IDCANCEL) return IDCANCEL;
    }
    return buttons_.size() == 1 ? buttons_.front().id : 0;
}

void MessageBoxRun::onKey(UINT vk) {
    const int count = static_cast<int>(buttons_.size());
    switch (vk) {
    case VK_RETURN:
    case VK_SPACE:
        return close(buttons_[static_cast<size_t>(focus_)].id);
    case VK_ESCAPE:
        if (escapeResult() != 0) close(escapeResult());
        return;
    case VK_TAB:
        focus_ = (focus_ + (GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1)) % count;
        break;
    case VK_RIGHT:
        focus_ = (focus_ + 1) % count;
        break;
    case VK_LEFT:
        focus_ = (focus_ + count - 1) % count;
        break;
    default:
        return;
    }
}

int MessageBoxRun::buttonAt(int col, int row) const {
    const CellRect cells = windowCells(box_);
    if (row != cells.top + height_ - 2) return -1;
    int x = cells.left + (width_ - buttonsWidth()) / 2;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const int w = columns(buttons_[i].label) + 4;
        if (col >= x && col < x + w) return static_cast<int>(i);
        x += w + 2;
    }
    return -1;
}

void MessageBoxRun::onMouse(const MSG& msg) {
    int col = 0;
    int row = 0;
    if (!mouseCell(msg, col, row)) return;
    const int button = buttonAt(col, row);
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK) {
        pressed_ = button;
        if (button >= 0) {
            focus_ = button;
        }
    } else if (msg.message == WM_LBUTTONUP) {
        if (button >= 0 && button == pressed_) close(buttons_[static_cast<size_t>(button)].id);
        pressed_ = -1;
    }
}

void MessageBoxRun::paint(Painter& painter) const {
    const int w = width_;
    const int h = height_;
    painter.fill({0, 0, w, h});
    for (int col = 1; col < w - 1; ++col) {
        painter.put(col, 0, U'─');
        painter.put(col, 2, U'─');
        painter.put(col, h - 1, U'─');
    }
    for (int row = 1; row < h - 1; ++row) {
        painter.put(0, row, U'│');
        painter.put(w - 1, row, U'│');
    }
    painter.put(0, 0, U'┌');
    painter.put(w - 1, 0, U'┐');
    painter.put(0, 2, U'├');
    painter.put(w - 1, 2, U'┤');
    painter.put(0, h - 1, U'└');
    painter.put(w - 1, h - 1, U'┘');
    painter.text(2, 1, caption_, kAttrBold, w - 4);
    for (size_t i = 0; i < lines_.size(); ++i) painter.text(2, 3 + static_cast<int>(i), lines_[i], kAttrNone, w - 4);
    int x = (w - buttonsWidth()) / 2;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const std::string label = std::string("[ ") + buttons_[i].label + " ]";
        const int used = painter.text(x, h - 2, label, static_cast<int>(i) == focus_ ? kAttrReverse : kAttrNone);
        x += used + 2;
    }
}

}  // namespace

const std::vector<MessageBoxRecord>& lastMessageBoxes() { return records(); }

void clearMessageBoxes() { records().clear(); }

}  // namespace winapi

using namespace winapi;

extern "C" int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    MessageBoxRecord record;
    record.owner = owner;
    record.text = text ? text : "";
    record.caption = caption ? caption : "Error";  // the platform's title for a null caption
    record.type = type;
    records().push_back(record);
    const size_t index = records().size() - 1;

    MessageBoxRun run(owner ? rootOf(owner) : nullptr, record.text, record.caption, type);
    const int result = run.show();
    records()[index].result = result;
    return result;
}
