// The open dialog's window: its layout, painting, keys and clicks, and the checks a
// typed name goes through before it is accepted.
#include "comdlg32/open_dialog.h"

#include <algorithm>

#include "comdlg32/folder_listing.h"
#include "user32/modal_input.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {

namespace {

const char kDialogClass[] = "WinapiOpenDialog";
constexpr int kMaxWidth = 78;
constexpr int kMaxHeight = 24;
constexpr int kMinWidth = 40;
constexpr int kMinHeight = 14;
constexpr int kNameColumn = 13;  // after "│ File name: "
constexpr int kListTop = 4;

enum class Focus { Name, List, Filter, OpenButton, CancelButton };

int columns(const std::string& text) {
    int count = 0;
    for (unsigned char c : text) count += (c & 0xC0) != 0x80;
    return count;
}

// The last `width` columns of `text`, marked with '…' when cut.
std::string tail(const std::string& text, int width) {
    if (columns(text) <= width || width < 2) return text;
    size_t at = text.size();
    for (int kept = 0; at > 0 && kept < width - 1;) {
        --at;
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) ++kept;
    }
    return "…" + text.substr(at);
}

class OpenDialog {
public:
    explicit OpenDialog(const OpenDialogOptions& options)
        : options_(options), folder_(options.folder), filterIndex_(options.filterIndex) {}

    OpenDialogResult run();
    void paint(Painter& painter) const;

private:
    void create();
    void destroy();
    void reload();
    int listRows() const { return height_ - 9; }
    int filterRow() const { return height_ - 3; }
    int nameRow() const { return height_ - 4; }
    int buttonRow() const { return height_ - 2; }
    int openButtonLeft() const { return width_ - 22; }
    int cancelButtonLeft() const { return width_ - 12; }
    std::vector<std::string> patterns() const;
    std::string nameText() const;
    void setNameText(const std::string& text);
    void setFocus(Focus focus);
    void select(int index);
    void cycleFilter(int step);
    void accept(const std::string& text);
    void enterFolder(const std::string& folder);
    void refuse(const std::string& message);
    void finish(bool chosen, const std::string& path = "");
    bool onKey(const MSG& msg);
    void onMouse(const MSG& msg);

    OpenDialogOptions options_;
    std::string folder_;
    size_t filterIndex_;
    std::string typedPattern_;  // a pattern typed in the name box replaces the filter's
    std::vector<FolderEntry> entries_;
    bool readable_ = true;
    int selected_ = -1;
    int top_ = 0;
    Focus focus_ = Focus::Name;
    HWND dialog_ = nullptr;
    HWND name_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool done_ = false;
    OpenDialogResult result_;
};

LRESULT CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto* dialog = reinterpret_cast<OpenDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (dialog) dialog->paint(painterFor(dc));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

OpenDialogResult runOpenDialog(const OpenDialogOptions& options) { return OpenDialog(options).run(); }

namespace {

OpenDialogResult OpenDialog::run() {
    HWND hadFocus = GetFocus();
    const bool disableOwner = options_.owner && IsWindowEnabled(options_.owner);
    if (disableOwner) EnableWindow(options_.owner, FALSE);
    create();
    reload();
    while (!done_ && dialog_) {
        MSG msg;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must end too
            finish(false);
            break;
        }
        if (isKeyboardMessage(msg.message)) {
            if (!onKey(msg) && focus_ == Focus::Name && (msg.message == WM_KEYDOWN || msg.message == WM_CHAR)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        } else if (isMouseMessage(msg.message)) {
            onMouse(msg);
        } else {
            DispatchMessageA(&msg);
        }
        if (!done_ && !IsWindow(dialog_)) finish(false);  // destroyed by someone else
    }
    destroy();
    if (disableOwner && IsWindow(options_.owner)) EnableWindow(options_.owner, TRUE);
    if (hadFocus && IsWindow(hadFocus)) SetFocus(hadFocus);
    return result_;
}

void OpenDialog::create() {
    const int screenCols = std::max(1, screenWidthPixels() / kPixelsPerColumn);
    const int screenRows = std::max(1, screenHeightPixels() / kPixelsPerRow);
    width_ = std::max(std::min(kMaxWidth, screenCols), std::min(kMinWidth, screenCols));
    height_ = std::max(std::min(kMaxHeight, screenRows), std::min(kMinHeight, screenRows));
    const int col = std::max(0, (screenCols - width_) / 2);
    const int row = std::max(0, (screenRows - height_) / 2);
    ensureLayerClass(kDialogClass, dialogProc);
    dialog_ = CreateWindowExA(WS_EX_TOPMOST, kDialogClass, options_.title.c_str(), WS_POPUP, col * kPixelsPerColumn,
                              row * kPixelsPerRow, width_ * kPixelsPerColumn, height_ * kPixelsPerRow, options_.owner,
                              nullptr, nullptr, nullptr);
    if (!dialog_) return;
    SetWindowLongPtrA(dialog_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    name_ = CreateWindowExA(0, "Edit", options_.initialName.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            kNameColumn * kPixelsPerColumn, nameRow() * kPixelsPerRow,
                            (width_ - 2 - kNameColumn) * kPixelsPerColumn, kPixelsPerRow, dialog_, nullptr, nullptr,
                            nullptr);
    ShowWindow(dialog_, SW_SHOW);
    setFocus(Focus::Name);  // a person can type a path and press Enter at once
}

void OpenDialog::destroy() {
    if (dialog_ && IsWindow(dialog_)) DestroyWindow(dialog_);
    dialog_ = nullptr;
    name_ = nullptr;
}

std::vector<std::string> OpenDialog::patterns() const {
    if (!typedPattern_.empty()) return splitPatterns(typedPattern_);
    if (filterIndex_ < options_.filters.size()) return options_.filters[filterIndex_].patterns;
    return {};
}

void OpenDialog::reload() {
    readable_ = listFolder(folder_, patterns(), options_.showHidden, entries_);
    selected_ = -1;
    top_ = 0;
}

std::string OpenDialog::nameText() const {
    if (!name_) return "";
    const int length = GetWindowTextLengthA(name_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(name_, text.data(), length + 1)));
    return text;
}

void OpenDialog::setNameText(const std::string& text) {
    if (!name_) return;
    SetWindowTextA(name_, text.c_str());
    SendMessageA(name_, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
}

void OpenDialog::setFocus(Focus focus) {
    focus_ = focus;
    SetFocus(focus == Focus::Name ? name_ : dialog_);
}

void OpenDialog::select(int index) {
    if (entries_.empty()) return;
    selected_ = std::max(0, std::min(index, static_cast<int>(entries_.size()) - 1));
    if (selected_ < top_) top_ = selected_;
    if (selected_ >= top_ + listRows()) top_ = selected_ - listRows() + 1;
    setNameText(entries_[static_cast<size_t>(selected_)].name);
}

void OpenDialog::cycleFilter(int step) {
    const int count = static_cast<int>(options_.filters.size());
    if (count == 0) return;
    filterIndex_ = static_cast<size_t>((static_cast<int>(filterIndex_) + step + count) % count);
    typedPattern_.clear();
    reload();
}

void OpenDialog::enterFolder(const std::string& folder) {
    std::vector<FolderEntry> probe;
    if (!listFolder(folder, {}, true, probe)) {
        return refuse(folder + "\nAccess is denied.");
    }
    folder_ = folder;
    setNameText("");
    reload();
}

void OpenDialog::refuse(const std::string& message) {
    MessageBoxA(dialog_, message.c_str(), options_.title.c_str(), MB_OK | MB_ICONWARNING);
    if (IsWindow(dialog_)) setFocus(Focus::Name);
}

// A name or path from the box or the list: a folder is entered, a pattern lists by it,
// an existing file (or, when allowed, a new name) is the dialog's answer.
void OpenDialog::accept(const std::string& text) {
    if (text.empty()) return;
    if (isPattern(text) && text.find('/') == std::string::npos) {
        typedPattern_ = text;
        SendMessageA(name_, EM_SETSEL, 0, -1);  // typing next replaces the pattern
        return reload();
    }
    std::string path = resolvePath(folder_, text);
    if (isFolder(path)) return enterFolder(path);
    if (!pathExists(path) && !options_.defaultExtension.empty()) {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (name.find('.') == std::string::npos) {
            const std::string withExtension = path + "." + options_.defaultExtension;
            if (pathExists(withExtension) || !options_.fileMustExist) path = withExtension;
        }
    }
    if (!pathExists(path)) {
        if ((options_.pathMustExist || options_.fileMustExist) && !isFolder(parentFolder(path))) {
            return refuse(text + "\nPath does not exist.\nCheck the path and try again.");
        }
        if (options_.fileMustExist) {
            return refuse(text + "\nFile not found.\nPlease verify the correct file name was given.");
        }
    }
    finish(true, path);
}

void OpenDialog::finish(bool chosen, const std::string& path) {
    done_ = true;
    result_.chosen = chosen;
    result_.path = path;
    result_.filterIndex = filterIndex_;
}

// Handles the dialog's own keys; false for keys the name box should have.
bool OpenDialog::onKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
        // Characters: the box takes them, except those of the dialog's own keys.
        const bool controlChar = msg.message == WM_CHAR && (msg.wParam == '\r' || msg.wParam == '\t' || msg.wParam == 27);
        return msg.message != WM_CHAR || controlChar;
    }
    const UINT vk = static_cast<UINT>(msg.wParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (vk) {
    case VK_ESCAPE:
        finish(false);
        return true;
    case VK_TAB: {
        const int order = static_cast<int>(focus_);
        setFocus(static_cast<Focus>((order + (shift ? 4 : 1)) % 5));
        return true;
    }
    case VK_RETURN:
        switch (focus_) {
        case Focus::List:
            if (selected_ >= 0) accept(entries_[static_cast<size_t>(selected_)].name);
            return true;
        case Focus::CancelButton:
            finish(false);
            return true;
        default:
            accept(nameText());
            return true;
        }
    case VK_SPACE:
        if (focus_ == Focus::OpenButton) accept(nameText());
        else if (focus_ == Focus::CancelButton) finish(false);
        else return focus_ == Focus::Name ? false : true;
        return true;
    case VK_UP:
    case VK_DOWN:
        if (focus_ == Focus::Name || focus_ == Focus::List) {
            select(selected_ < 0 ? 0 : selected_ + (vk == VK_DOWN ? 1 : -1));
            return true;
        }
        return true;
    case VK_LEFT:
    case VK_RIGHT:
        if (focus_ == Focus::Filter) {
            cycleFilter(vk == VK_RIGHT ? 1 : -1);
            return true;
        }
        return focus_ != Focus::Name;
    case VK_PRIOR:
    case VK_NEXT:
        if (focus_ == Focus::Name || focus_ == Focus::List) {
            select((selected_ < 0 ? 0 : selected_) + (vk == VK_NEXT ? listRows() : -listRows()));
        }
        return true;
    case VK_HOME:
    case VK_END:
        if (focus_ == Focus::List) {
            select(vk == VK_HOME ? 0 : static_cast<int>(entries_.size()) - 1);
            return true;
        }
        return focus_ != Focus::Name;
    case VK_BACK:
        if (focus_ == Focus::List) {
            enterFolder(parentFolder(folder_));
            return true;
        }
        return focus_ != Focus::Name;
    default:
        return focus_ != Focus::Name;
    }
}

void OpenDialog::onMouse(const MSG& msg) {
    int col = 0;
    int row = 0;
    if (!mouseCell(msg, col, row)) return;
    const CellRect box = windowCells(dialog_);
    if (!box.contains(col, row)) return;  // modal: the windows below get nothing
    col -= box.left;
    row -= box.top;
    const bool press = msg.message == WM_LBUTTONDOWN;
    const bool doubleClick = msg.message == WM_LBUTTONDBLCLK;
    if (msg.hwnd == name_ && name_) {
        setFocus(Focus::Name);
        DispatchMessageA(&msg);
        return;
    }
    if (!press && !doubleClick) return;
    if (row >= kListTop && row < kListTop + listRows() && col > 0 && col < width_ - 1) {
        const int index = top_ + row - kListTop;
        if (index >= static_cast<int>(entries_.size())) return;
        setFocus(Focus::List);
        select(index);
        if (doubleClick) accept(entries_[static_cast<size_t>(index)].name);
    } else if (row == filterRow()) {
        setFocus(Focus::Filter);
        cycleFilter(1);
    } else if (row == buttonRow() && col >= openButtonLeft() && col < openButtonLeft() + 8) {
        accept(nameText());
    } else if (row == buttonRow() && col >= cancelButtonLeft() && col < cancelButtonLeft() + 10) {
        finish(false);
    }
}

void OpenDialog::paint(Painter& painter) const {
    const int w = width_;
    const int h = height_;
    painter.fill({0, 0, w, h});
    for (int c = 1; c < w - 1; ++c) {
        for (int r : {0, 2, h - 5, h - 1}) painter.put(c, r, U'─');
    }
    for (int r = 1; r < h - 1; ++r) {
        painter.put(0, r, U'│');
        painter.put(w - 1, r, U'│');
    }
    painter.put(0, 0, U'┌');
    painter.put(w - 1, 0, U'┐');
    painter.put(0, h - 1, U'└');
    painter.put(w - 1, h - 1, U'┘');
    for (int r : {2, h - 5}) {
        painter.put(0, r, U'├');
        painter.put(w - 1, r, U'┤');
    }
    painter.text(2, 1, options_.title, kAttrBold, w - 4);
    const int used = painter.text(2, 3, "Look in: ");
    painter.text(2 + used, 3, tail(folder_, w - 4 - used), kAttrNone, w - 4 - used);

    if (!readable_) painter.text(2, kListTop, "(this folder cannot be read)", kAttrDim, w - 4);
    for (int i = 0; i < listRows() && top_ + i < static_cast<int>(entries_.size()); ++i) {
        const FolderEntry& entry = entries_[static_cast<size_t>(top_ + i)];
        const int r = kListTop + i;
        const std::string shown = entry.isFolder && entry.name != ".." ? entry.name + "/" : entry.name;
        painter.text(2, r, shown, kAttrNone, w - 4);  // names from the disk: stand-ins for control characters
        if (top_ + i == selected_) painter.setAttr({1, r, w - 1, r + 1}, focus_ == Focus::List ? kAttrReverse : kAttrBold);
    }

    painter.text(2, nameRow(), "File name:");
    painter.text(2, filterRow(), "Type:");
    std::string filter = typedPattern_;
    if (filter.empty() && filterIndex_ < options_.filters.size()) filter = options_.filters[filterIndex_].description;
    const int filterWidth = painter.text(kNameColumn, filterRow(), "< " + filter + " >", kAttrNone, w - 2 - kNameColumn);
    if (focus_ == Focus::Filter) painter.setAttr({kNameColumn, filterRow(), kNameColumn + filterWidth, filterRow() + 1}, kAttrReverse);
    painter.text(openButtonLeft(), buttonRow(), "[ Open ]", focus_ == Focus::OpenButton ? kAttrReverse : kAttrNone);
    painter.text(cancelButtonLeft(), buttonRow(), "[ Cancel ]", focus_ == Focus::CancelButton ? kAttrReverse : kAttrNone);
}

}  // namespace
}  // namespace winapi
