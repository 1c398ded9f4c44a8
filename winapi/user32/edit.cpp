// The EDIT window procedure and the control's text, selection and clipboard model.
#include "user32/edit.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "user32/clipboard.h"
#include "user32/edit_control.h"

namespace winapi {

namespace {

// The typing limit a new control starts with; WM_SETTEXT ignores it.
constexpr size_t kDefaultLimit = 30000;

std::unordered_map<HWND, std::unique_ptr<EditControl>>& controls() {
    static std::unordered_map<HWND, std::unique_ptr<EditControl>> table;
    return table;
}

EditControl* controlOf(HWND hwnd) {
    const auto it = controls().find(hwnd);
    return it == controls().end() ? nullptr : it->second.get();
}

// From this size on, a text's storage asks for huge pages where the system offers them: a
// pane of hundreds of megabytes is then faulted in with a few hundred faults, not tens of
// thousands.
constexpr size_t kHugePageText = size_t{8} << 20;
constexpr uintptr_t kHugePage = uintptr_t{2} << 20;

// The control's own copy of a text set from outside.
std::string copyText(const char* text) {
    if (!text) return std::string();
    const size_t length = std::strlen(text);
    std::string copy;
    copy.reserve(length);
    if (length >= kHugePageText) {
        // Only whole huge pages inside the fresh, untouched buffer are advised.
        const uintptr_t begin = (reinterpret_cast<uintptr_t>(copy.data()) + kHugePage - 1) & ~(kHugePage - 1);
        const uintptr_t end = (reinterpret_cast<uintptr_t>(copy.data()) + length) & ~(kHugePage - 1);
        if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
    copy.append(text, length);
    return copy;
}

}  // namespace

EditControl::EditControl(HWND hwnd, const CREATESTRUCTA& create)
    : hwnd_(hwnd), style_(static_cast<DWORD>(create.style)), text_((create.style & ES_MULTILINE) != 0),
      limit_(kDefaultLimit) {}

void EditControl::setInitialText(const char* text) {
    // No notifications at creation.
    text_.assign(text ? std::string(text) : std::string());
}

LRESULT EditControl::setText(const char* text) {
    text_.assign(copyText(text));
    anchor_ = caret_ = 0;
    haveGoalColumn_ = false;
    firstLine_ = firstColumn_ = 0;
    modified_ = false;
    invalidate();
    // A single-line edit reports every set, even of the same text; a multi-line one
    // reports none, which is why filling the data pane raises no EN_CHANGE.
    if (!multiLine()) notifyChange();
    return TRUE;
}

LRESULT EditControl::getText(size_t capacity, char* buffer) const {
    if (capacity == 0 || !buffer) return 0;
    const size_t count = std::min(capacity - 1, text_.size());
    std::memcpy(buffer, text_.str().data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT EditControl::getSelection(DWORD* start, DWORD* end) const {
    const size_t from = selectionStart();
    const size_t to = selectionEnd();
    if (start) *start = static_cast<DWORD>(from);
    if (end) *end = static_cast<DWORD>(to);
    if (from > 0xFFFF || to > 0xFFFF) return -1;
    return MAKELONG(from, to);
}

void EditControl::setSelection(LONG_PTR start, LONG_PTR end) {
    if (start == -1) {
        anchor_ = caret_;  // -1 only drops the selection
    } else {
        const size_t size = text_.size();
        const size_t from = start < 0 ? size : std::min(static_cast<size_t>(start), size);
        const size_t to = end < 0 ? size : std::min(static_cast<size_t>(end), size);
        anchor_ = text_.snap(from);
        caret_ = text_.snap(to);
    }
    haveGoalColumn_ = false;
    invalidate();
}

void EditControl::replaceSelection(const char* text) {
    std::string_view with = text ? std::string_view(text) : std::string_view();
    with = with.substr(0, roomFor(with.size()));
    replaceRange(selectionStart(), selectionEnd(), with);
    scrollCaretIntoView();
    notifyChange();
}

void EditControl::copy() const {
    if (!hasSelection()) return;  // an empty selection leaves the clipboard alone
    setClipboardText(std::string(text_.slice(selectionStart(), selectionEnd())));
}

void EditControl::cut() {
    if (readOnly() || !hasSelection()) return;
    copy();
    clear();
}

void EditControl::paste() {
    if (readOnly()) return;
    std::string pasted = clipboardText();
    if (!multiLine()) {
        // A single line takes the clipboard's first line only.
        const size_t stop = pasted.find_first_of("\r\n");
        if (stop != std::string::npos) pasted.resize(stop);
    }
    pasted.resize(roomFor(pasted.size()));
    if (pasted.empty() && !hasSelection()) return;
    replaceRange(selectionStart(), selectionEnd(), pasted);
    scrollCaretIntoView();
    notifyChange();
}

void EditControl::clear() {
    if (readOnly() || !hasSelection()) return;
    replaceRange(selectionStart(), selectionEnd(), {});
    scrollCaretIntoView();
    notifyChange();
}

LRESULT EditControl::lineIndex(WPARAM line) const {
    const auto wanted = static_cast<LONG_PTR>(line);
    if (wanted < 0) return static_cast<LRESULT>(text_.lineStart(text_.lineOf(caret_)));
    if (static_cast<size_t>(wanted) >= text_.lineCount()) return -1;
    return static_cast<LRESULT>(text_.lineStart(static_cast<size_t>(wanted)));
}

LRESULT EditControl::lineLength(WPARAM index) const {
    const auto wanted = static_cast<LONG_PTR>(index);
    if (wanted < 0) {
        // The characters left unselected on the lines the selection touches.
        const size_t from = selectionStart();
        const size_t to = selectionEnd();
        const size_t before = from - text_.lineStart(text_.lineOf(from));
        const size_t after = text_.lineEnd(text_.lineOf(to)) - to;
        return static_cast<LRESULT>(before + after);
    }
    const size_t line = text_.lineOf(std::min(static_cast<size_t>(wanted), text_.size()));
    return static_cast<LRESULT>(text_.lineEnd(line) - text_.lineStart(line));
}

LRESULT EditControl::lineFromChar(WPARAM index) const {
    const auto wanted = static_cast<LONG_PTR>(index);
    const size_t pos = wanted < 0 ? selectionStart() : std::min(static_cast<size_t>(wanted), text_.size());
    return static_cast<LRESULT>(text_.lineOf(pos));
}

LRESULT EditControl::getLine(WPARAM line, char* buffer) const {
    if (!buffer || line >= text_.lineCount()) return 0;
    WORD capacity = 0;
    std::memcpy(&capacity, buffer, sizeof capacity);  // the caller puts the size first
    const std::string_view content = text_.slice(text_.lineStart(line), text_.lineEnd(line));
    const size_t count = std::min<size_t>(capacity, content.size());
    std::memcpy(buffer, content.data(), count);  // not terminated, as documented
    return static_cast<LRESULT>(count);
}

LRESULT EditControl::firstVisibleLine() const {
    if (multiLine()) return static_cast<LRESULT>(firstLine_);
    return static_cast<LRESULT>(text_.positionAtColumn(0, firstColumn_));
}

void EditControl::setReadOnly(bool readOnly) {
    if (readOnly) {
        style_ |= ES_READONLY;
    } else {
        style_ &= ~static_cast<DWORD>(ES_READONLY);
    }
    SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(style_));
    invalidate();
}

void EditControl::setLimit(size_t limit) {
    if (limit == 0) limit = multiLine() ? 0xFFFFFFFFu : 0x7FFFFFFEu;
    limit_ = limit;
}

void EditControl::setFont(HFONT font, bool redraw) {
    font_ = font;  // every font is one cell wide, so nothing else changes
    if (redraw) invalidate();
}

LRESULT EditControl::dialogCode() const {
    const LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    return multiLine() ? code | DLGC_WANTALLKEYS : code;
}

void EditControl::notify(WORD code) const {
    const HWND parent = GetParent(hwnd_);
    if (!parent) return;
    const int id = GetDlgCtrlID(hwnd_);
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

void EditControl::notifyChange() const {
    notify(EN_UPDATE);
    notify(EN_CHANGE);
}

void EditControl::replaceRange(size_t start, size_t end, std::string_view with) {
    text_.replace(start, end, with);
    caret_ = anchor_ = text_.snap(start + with.size());
    haveGoalColumn_ = false;
    modified_ = true;
    invalidate();
}

size_t EditControl::roomFor(size_t wanted) const {
    const size_t kept = text_.size() - (selectionEnd() - selectionStart());
    const size_t room = kept >= limit_ ? 0 : limit_ - kept;
    return std::min(wanted, room);
}

bool EditControl::insertTyped(std::string_view typed) {
    if (readOnly()) return false;
    if (roomFor(typed.size()) < typed.size()) {
        notify(EN_MAXTEXT);
        return false;
    }
    replaceRange(selectionStart(), selectionEnd(), typed);
    scrollCaretIntoView();
    notifyChange();
    return true;
}

LRESULT CALLBACK editWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        controls()[hwnd] = std::make_unique<EditControl>(hwnd, *create);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    EditControl* edit = controlOf(hwnd);
    if (!edit) return DefWindowProcA(hwnd, message, wParam, lParam);

    switch (message) {
    case WM_CREATE:
        edit->setInitialText(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName);
        return 0;
    case WM_NCDESTROY:
        controls().erase(hwnd);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SETTEXT:
        return edit->setText(reinterpret_cast<const char*>(lParam));
    case WM_GETTEXT:
        return edit->getText(static_cast<size_t>(wParam), reinterpret_cast<char*>(lParam));
    case WM_GETTEXTLENGTH:
        return edit->getTextLength();
    case WM_SETFONT:
        edit->setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(edit->font());
    case WM_COPY:
        edit->copy();
        return 0;
    case WM_CUT:
        edit->cut();
        return 0;
    case WM_PASTE:
        edit->paste();
        return 0;
    case WM_CLEAR:
        edit->clear();
        return 0;
    case WM_KEYDOWN:
        edit->keyDown(wParam);
        return 0;
    case WM_CHAR:
        edit->character(wParam);
        return 0;
    case WM_SETFOCUS:
        edit->setFocus();
        return 0;
    case WM_KILLFOCUS:
        edit->killFocus();
        return 0;
    case WM_LBUTTONDOWN:
        edit->mouseDown(lParam, false);
        return 0;
    case WM_LBUTTONDBLCLK:
        edit->mouseDown(lParam, true);
        return 0;
    case WM_MOUSEMOVE:
        edit->mouseMove(lParam);
        return 0;
    case WM_LBUTTONUP:
        edit->mouseUp();
        return 0;
    case WM_CAPTURECHANGED:
        edit->captureLost();
        return 0;
    case WM_MOUSEWHEEL:
        edit->mouseWheel(wParam);
        return 0;
    case WM_VSCROLL:
        edit->scrollBar(true, wParam);
        return 0;
    case WM_HSCROLL:
        edit->scrollBar(false, wParam);
        return 0;
    case WM_SIZE:
        edit->resized();
        return 0;
    case WM_PAINT:
        edit->paintWindow();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painting covers every cell
    case WM_ENABLE:
        edit->invalidate();
        return 0;
    case WM_GETDLGCODE:
        return edit->dialogCode();
    case EM_GETSEL:
        return edit->getSelection(reinterpret_cast<DWORD*>(wParam), reinterpret_cast<DWORD*>(lParam));
    case EM_SETSEL:
        edit->setSelection(static_cast<LONG_PTR>(static_cast<int>(wParam)), static_cast<LONG_PTR>(static_cast<int>(lParam)));
        return 0;
    case EM_REPLACESEL:
        edit->replaceSelection(reinterpret_cast<const char*>(lParam));
        return 0;
    case EM_GETLINECOUNT:
        return edit->lineCount();
    case EM_LINEINDEX:
        return edit->lineIndex(wParam);
    case EM_LINELENGTH:
        return edit->lineLength(wParam);
    case EM_LINEFROMCHAR:
        return edit->lineFromChar(wParam);
    case EM_GETLINE:
        return edit->getLine(wParam, reinterpret_cast<char*>(lParam));
    case EM_GETFIRSTVISIBLELINE:
        return edit->firstVisibleLine();
    case EM_LINESCROLL:
        return edit->lineScroll(static_cast<LONG_PTR>(static_cast<int>(wParam)), lParam);
    case EM_SCROLL:
        return edit->scroll(wParam);
    case EM_SCROLLCARET:
        edit->scrollCaretIntoView();
        return TRUE;
    case EM_SETREADONLY:
        edit->setReadOnly(wParam != 0);
        return TRUE;
    case EM_SETLIMITTEXT:
        edit->setLimit(static_cast<size_t>(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return edit->limit();
    case EM_GETMODIFY:
        return edit->modified();
    case EM_SETMODIFY:
        edit->setModified(wParam != 0);
        return 0;
    case EM_CANUNDO:
    case EM_UNDO:
        return FALSE;  // no undo buffer is kept
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace winapi
