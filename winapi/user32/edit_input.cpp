// The EDIT control's keyboard, mouse and focus handling.
#include <algorithm>

#include "user32/caret.h"
#include "user32/edit_control.h"

namespace winapi {

namespace {

bool keyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Cell from client pixels; the floor keeps a drag above or left of the window negative.
int floorDiv(int value, int by) { return value >= 0 ? value / by : -((-value + by - 1) / by); }

int cellColumn(LPARAM point) { return floorDiv(static_cast<short>(LOWORD(point)), kPixelsPerColumn); }
int cellRow(LPARAM point) { return floorDiv(static_cast<short>(HIWORD(point)), kPixelsPerRow); }

}  // namespace

void EditControl::moveCaret(size_t position, bool extend) {
    caret_ = text_.snap(position);
    if (!extend) anchor_ = caret_;
    scrollCaretIntoView();
    invalidate();
}

void EditControl::moveVertically(long long lines, bool extend) {
    if (!haveGoalColumn_) {
        goalColumn_ = text_.columnOf(caret_);
        haveGoalColumn_ = true;
    }
    const long long last = static_cast<long long>(text_.lineCount()) - 1;
    const long long line = std::clamp(static_cast<long long>(text_.lineOf(caret_)) + lines, 0LL, last);
    const size_t goal = goalColumn_;
    moveCaret(text_.positionAtColumn(static_cast<size_t>(line), goal), extend);
    goalColumn_ = goal;
    haveGoalColumn_ = true;
}

void EditControl::keyDown(WPARAM key) {
    const bool shift = keyHeld(VK_SHIFT);
    const bool ctrl = keyHeld(VK_CONTROL);
    const bool keepGoal = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
    if (!keepGoal || !multiLine()) haveGoalColumn_ = false;
    const size_t line = text_.lineOf(caret_);
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        if (key == VK_UP && multiLine()) {
            moveVertically(-1, shift);
        } else if (hasSelection() && !shift) {
            moveCaret(selectionStart(), false);
        } else {
            moveCaret(ctrl ? text_.previousWord(caret_) : text_.previous(caret_), shift);
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (key == VK_DOWN && multiLine()) {
            moveVertically(1, shift);
        } else if (hasSelection() && !shift) {
            moveCaret(selectionEnd(), false);
        } else {
            moveCaret(ctrl ? text_.nextWord(caret_) : text_.next(caret_), shift);
        }
        break;
    case VK_HOME:
        moveCaret(ctrl ? 0 : text_.lineStart(line), shift);
        break;
    case VK_END:
        moveCaret(ctrl ? text_.size() : text_.lineEnd(line), shift);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (multiLine()) {
            // The page turns with the caret, so the caret keeps its row on the screen.
            const long long page = std::max(1, layout().textRows);
            const long long step = key == VK_NEXT ? page : -page;
            const long long top = std::clamp(static_cast<long long>(firstLine_) + step, 0LL,
                                             static_cast<long long>(maxFirstLine(layout())));
            scrollTo(static_cast<size_t>(top), firstColumn_);
            moveVertically(step, shift);
        }
        break;
    case VK_DELETE:
        if (shift) {
            cut();
        } else {
            deleteForward();
        }
        break;
    case VK_INSERT:
        if (ctrl) {
            copy();
        } else if (shift) {
            paste();
        }
        break;
    default:
        break;
    }
}

void EditControl::deleteForward() {
    if (readOnly()) return;
    if (!hasSelection()) {
        if (caret_ >= text_.size()) return;
        anchor_ = text_.next(caret_);
    }
    clear();
}

void EditControl::deleteBackward() {
    if (readOnly()) return;
    if (!hasSelection()) {
        if (caret_ == 0) return;
        anchor_ = text_.previous(caret_);
    }
    clear();
}

void EditControl::character(WPARAM ch) {
    if (ch != 0 && ch < 0x80) pendingBytes_.clear();
    switch (ch) {
    case 0x03:  // Ctrl+C
        copy();
        return;
    case 0x16:  // Ctrl+V
        paste();
        return;
    case 0x18:  // Ctrl+X
        cut();
        return;
    case '\b':
        deleteBackward();
        return;
    case '\r':
    case '\n':
        if (multiLine()) insertTyped("\r\n");
        return;
    case '\t':
        if (multiLine() && !(style_ & ES_NUMBER)) insertTyped("\t");
        return;
    default:
        break;
    }
    if (ch < 0x20 || ch == 0x7F) return;  // other control keys type nothing
    if ((style_ & ES_NUMBER) && (ch < '0' || ch > '9')) return;
    if (ch < 0x80) {
        const char typed = static_cast<char>(ch);
        insertTyped(std::string_view(&typed, 1));
    } else if (ch < 0x100) {
        typeByte(static_cast<unsigned char>(ch));
    } else {
        std::string encoded;  // a whole character: encode it as the text's UTF-8
        if (ch < 0x800) {
            encoded += static_cast<char>(0xC0 | (ch >> 6));
        } else if (ch < 0x10000) {
            encoded += static_cast<char>(0xE0 | (ch >> 12));
            encoded += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        } else {
            encoded += static_cast<char>(0xF0 | ((ch >> 18) & 0x07));
            encoded += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
            encoded += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        }
        encoded += static_cast<char>(0x80 | (ch & 0x3F));
        insertTyped(encoded);
    }
}

// The text is UTF-8 and a narrow window gets a non-ASCII character as its bytes, one
// WM_CHAR each: collect them and insert the character once it is whole.
void EditControl::typeByte(unsigned char byte) {
    const bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation) pendingBytes_.clear();
    if (continuation && pendingBytes_.empty()) return;
    pendingBytes_ += static_cast<char>(byte);
    const auto lead = static_cast<unsigned char>(pendingBytes_[0]);
    const size_t wanted = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (pendingBytes_.size() < wanted) return;
    const std::string whole = std::move(pendingBytes_);
    pendingBytes_.clear();
    insertTyped(whole);
}

void EditControl::setFocus() {
    focused_ = true;
    invalidate();
    notify(EN_SETFOCUS);
}

void EditControl::killFocus() {
    focused_ = false;
    dragging_ = false;
    hideCaret(hwnd_);
    invalidate();
    notify(EN_KILLFOCUS);
}

size_t EditControl::hitTest(int col, int row) const {
    const EditLayout area = layout();
    long long line = multiLine() ? static_cast<long long>(firstLine_) + row : 0;
    line = std::clamp(line, 0LL, static_cast<long long>(text_.lineCount()) - 1);
    const long long column = static_cast<long long>(firstColumn_) + col - alignOffset(area);
    return text_.positionAtColumn(static_cast<size_t>(line), static_cast<size_t>(std::max(0LL, column)));
}

void EditControl::mouseDown(LPARAM point, bool doubleClick) {
    const int col = cellColumn(point);
    const int row = cellRow(point);
    if (GetFocus() != hwnd_) SetFocus(hwnd_);
    if (scrollBarClick(col, row)) return;
    haveGoalColumn_ = false;
    if (doubleClick) {
        size_t start = 0;
        size_t end = 0;
        text_.wordAt(hitTest(col, row), start, end);
        anchor_ = start;
        moveCaret(end, true);
        return;
    }
    moveCaret(hitTest(col, row), keyHeld(VK_SHIFT));
    dragging_ = true;
    SetCapture(hwnd_);
}

void EditControl::mouseMove(LPARAM point) {
    if (!dragging_) return;
    moveCaret(hitTest(cellColumn(point), cellRow(point)), true);
}

void EditControl::mouseUp() {
    if (!dragging_) return;
    dragging_ = false;
    ReleaseCapture();
}

void EditControl::mouseWheel(WPARAM wParam) {
    if (!multiLine()) return;
    const int delta = static_cast<short>(HIWORD(wParam));
    const long long lines = -static_cast<long long>(delta) * 3 / WHEEL_DELTA;
    lineScroll(0, static_cast<LONG_PTR>(lines));
}

}  // namespace winapi
