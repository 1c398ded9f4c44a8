// The up-down control: a range and a position, written into and read back from its buddy
// edit, changed one step at a time by its arrows or the buddy's Up and Down keys.
#include "comctl32/updown.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <strings.h>
#include <unordered_map>

#include "display/canvas.h"
#include "user32/paint.h"

namespace winapi {
namespace {

class UpDownControl {
public:
    UpDownControl(HWND hwnd) : hwnd_(hwnd) {}

    void create();
    void destroy() { setBuddy(nullptr); }
    HWND buddy() const { return buddy_; }
    HWND setBuddy(HWND buddy);
    void setRange(int lower, int upper);
    void getRange(int* lower, int* upper) const;
    LRESULT range16() const { return MAKELONG(static_cast<short>(upper_), static_cast<short>(lower_)); }
    int setPosition(int position);
    int position(BOOL* failed);
    LRESULT setBase(WPARAM base);
    LRESULT base() const { return base_; }
    LRESULT setAccel(WPARAM count, const UDACCEL* accel);
    LRESULT getAccel(WPARAM count, UDACCEL* accel) const;
    void arrow(bool up);
    void mouseDown(LPARAM point);
    void paintWindow();

private:
    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)); }
    int clamp(int64_t value) const;
    bool readBuddy(int& value) const;
    void writeBuddy() const;
    std::string format(int value) const;
    void align();

    HWND hwnd_ = nullptr;
    HWND buddy_ = nullptr;
    int lower_ = 100;  // the platform's default range runs from 100 down to 0
    int upper_ = 0;
    int position_ = 0;
    int base_ = 10;
    std::vector<UDACCEL> accel_{{0, 1}, {2, 5}, {5, 20}};
};

std::unordered_map<HWND, std::shared_ptr<UpDownControl>>& controls() {
    static std::unordered_map<HWND, std::shared_ptr<UpDownControl>> instance;
    return instance;
}

// The buddies whose keys the up-downs watch: buddy -> its up-down and its own procedure.
struct Subclass {
    HWND upDown = nullptr;
    WNDPROC previous = nullptr;
};

std::unordered_map<HWND, Subclass>& subclassed() {
    static std::unordered_map<HWND, Subclass> instance;
    return instance;
}

std::shared_ptr<UpDownControl> controlOf(HWND hwnd) {
    auto found = controls().find(hwnd);
    return found == controls().end() ? nullptr : found->second;
}

void unsubclass(HWND buddy);

LRESULT CALLBACK buddyWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = subclassed().find(hwnd);
    if (found == subclassed().end()) return DefWindowProcA(hwnd, message, wParam, lParam);
    Subclass entry = found->second;
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        if (auto control = controlOf(entry.upDown)) {
            control->arrow(wParam == VK_UP);
            return 0;
        }
    }
    if (message == WM_NCDESTROY) unsubclass(hwnd);
    return CallWindowProcA(entry.previous, hwnd, message, wParam, lParam);
}

void subclass(HWND buddy, HWND upDown) {
    if (subclassed().count(buddy)) return;
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyWindowProc)));
    subclassed()[buddy] = Subclass{upDown, previous};
}

// Puts the buddy's own procedure back, unless somebody subclassed it after us.
void unsubclass(HWND buddy) {
    auto found = subclassed().find(buddy);
    if (found == subclassed().end()) return;
    if (GetWindowLongPtrA(buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(buddyWindowProc)) {
        SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
    }
    subclassed().erase(found);
}

bool isEdit(HWND hwnd) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return strcasecmp(name, "Edit") == 0;
}

}  // namespace

// ---- Buddy ---------------------------------------------------------------------------------

void UpDownControl::create() {
    if (style() & UDS_AUTOBUDDY) setBuddy(GetWindow(hwnd_, GW_HWNDPREV));
}

HWND UpDownControl::setBuddy(HWND buddy) {
    HWND old = buddy_;
    if (old) unsubclass(old);
    buddy_ = IsWindow(buddy) ? buddy : nullptr;
    if (!buddy_) return old;
    if (style() & UDS_ARROWKEYS) subclass(buddy_, hwnd_);
    if (style() & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) align();
    return old;
}

// Sits at the buddy's right (or left) edge, as tall as the buddy, and takes its own width
// from the buddy's.
void UpDownControl::align() {
    HWND parent = GetParent(hwnd_);
    RECT rect{};
    GetWindowRect(buddy_, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int ownWidth = std::min(kUpDownWidth, width);
    if (style() & UDS_ALIGNLEFT) {
        MoveWindow(hwnd_, rect.left, rect.top, ownWidth, height, FALSE);
        MoveWindow(buddy_, rect.left + ownWidth, rect.top, width - ownWidth, height, FALSE);
    } else {
        MoveWindow(buddy_, rect.left, rect.top, width - ownWidth, height, FALSE);
        MoveWindow(hwnd_, rect.right - ownWidth, rect.top, ownWidth, height, FALSE);
    }
}

// ---- Range and position ------------------------------------------------------------------

int UpDownControl::clamp(int64_t value) const {
    int64_t low = std::min(lower_, upper_);
    int64_t high = std::max(lower_, upper_);
    return static_cast<int>(std::clamp(value, low, high));
}

void UpDownControl::setRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    position_ = clamp(position_);
}

void UpDownControl::getRange(int* lower, int* upper) const {
    if (lower) *lower = lower_;
    if (upper) *upper = upper_;
}

int UpDownControl::setPosition(int position) {
    int old = position_;
    int target = clamp(position);
    if (target != position_) {
        position_ = target;
        writeBuddy();
    }
    return old;
}

// The buddy's text is the position when it holds a number in range; the stored position
// follows it.
int UpDownControl::position(BOOL* failed) {
    int value = 0;
    bool ok = buddy_ && readBuddy(value);
    if (ok) position_ = value;
    if (failed) *failed = ok ? FALSE : TRUE;
    return position_;
}

LRESULT UpDownControl::setBase(WPARAM base) {
    if (base != 10 && base != 16) return 0;
    int old = base_;
    base_ = static_cast<int>(base);
    return old;
}

LRESULT UpDownControl::setAccel(WPARAM count, const UDACCEL* accel) {
    if (!accel || count == 0) return FALSE;
    accel_.assign(accel, accel + count);
    return TRUE;
}

LRESULT UpDownControl::getAccel(WPARAM count, UDACCEL* accel) const {
    size_t copied = std::min(static_cast<size_t>(count), accel_.size());
    if (accel) std::copy(accel_.begin(), accel_.begin() + static_cast<std::ptrdiff_t>(copied), accel);
    return static_cast<LRESULT>(copied);
}

// ---- The buddy's text ----------------------------------------------------------------------

// Leading blanks, an optional minus, then digits of the base (thousands separators allowed
// unless UDS_NOTHOUSANDS) and nothing after: any other text, or a number outside the
// range, is not a position.
bool UpDownControl::readBuddy(int& value) const {
    char text[64] = {};
    int length = GetWindowTextA(buddy_, text, sizeof(text));
    if (length >= static_cast<int>(sizeof(text)) - 1) return false;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (negative) ++p;
    if (base_ == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    bool separators = !(style() & UDS_NOTHOUSANDS) && base_ == 10;
    int64_t number = 0;
    int digits = 0;
    for (; *p; ++p) {
        if (separators && *p == ',' && digits > 0) continue;
        int digit;
        if (*p >= '0' && *p <= '9') {
            digit = *p - '0';
        } else if (base_ == 16 && *p >= 'a' && *p <= 'f') {
            digit = *p - 'a' + 10;
        } else if (base_ == 16 && *p >= 'A' && *p <= 'F') {
            digit = *p - 'A' + 10;
        } else {
            return false;
        }
        number = number * base_ + digit;
        ++digits;
        if (number > INT64_C(0xFFFFFFFF)) return false;
    }
    if (digits == 0) return false;
    if (negative) number = -number;
    if (number < INT32_MIN || number > INT32_MAX || clamp(number) != number) return false;
    value = static_cast<int>(number);
    return true;
}

std::string UpDownControl::format(int value) const {
    if (base_ == 16) {
        char text[16];
        snprintf(text, sizeof(text), "0x%X", static_cast<unsigned>(value));
        return text;
    }
    std::string digits = std::to_string(static_cast<int64_t>(value) < 0 ? -static_cast<int64_t>(value) : value);
    if (!(style() & UDS_NOTHOUSANDS)) {
        for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    }
    return value < 0 ? "-" + digits : digits;
}

// Setting the edit's text makes it send EN_UPDATE and EN_CHANGE to its parent.
void UpDownControl::writeBuddy() const {
    if (!buddy_ || !(style() & UDS_SETBUDDYINT)) return;
    SetWindowTextA(buddy_, format(position_).c_str());
}

// ---- Arrows ----------------------------------------------------------------------------------

// One step: the parent may cancel it or change its size in UDN_DELTAPOS; at the ends of
// the range the position stays (no wrapping unless UDS_WRAP).
void UpDownControl::arrow(bool up) {
    HWND self = hwnd_;
    int step = accel_.empty() ? 1 : static_cast<int>(accel_.front().nInc);
    int delta = up ? step : -step;
    if (lower_ > upper_) delta = -delta;
    int current = 0;
    if (buddy_ && readBuddy(current)) position_ = current;

    NMUPDOWN change{};
    change.hdr.hwndFrom = hwnd_;
    change.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
    change.hdr.code = UDN_DELTAPOS;
    change.iPos = position_;
    change.iDelta = delta;
    HWND parent = GetParent(hwnd_);
    if (SendMessageA(parent, WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change))) return;
    if (!IsWindow(self)) return;

    int64_t target = static_cast<int64_t>(position_) + change.iDelta;
    int low = std::min(lower_, upper_);
    int high = std::max(lower_, upper_);
    if ((style() & UDS_WRAP) && (target > high || target < low)) {
        target = target > high ? low : high;
    }
    int next = clamp(target);
    if (next == position_) return;
    position_ = next;
    writeBuddy();
    if (!IsWindow(self)) return;
    UINT scroll = (style() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
    SendMessageA(parent, scroll, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position_)),
                 reinterpret_cast<LPARAM>(hwnd_));
}

// The first cell (or the upper half when taller than a row) steps up; with UDS_HORZ
// the right cell steps up.
void UpDownControl::mouseDown(LPARAM point) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    int x = static_cast<short>(LOWORD(point));
    int y = static_cast<short>(HIWORD(point));
    bool up;
    if (style() & UDS_HORZ) {
        up = x >= client.right / 2;
    } else if (client.bottom >= 2 * kPixelsPerRow) {
        up = y < client.bottom / 2;
    } else {
        up = x < client.right / 2;
    }
    if (buddy_ && isEdit(buddy_) && GetFocus() != buddy_) SetFocus(buddy_);
    arrow(up);
}

void UpDownControl::paintWindow() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd_, &ps);
    if (dc) {
        Painter& painter = painterFor(dc);
        painter.fill(CellRect{0, 0, painter.cols(), painter.rows()});
        uint8_t attr = IsWindowEnabled(hwnd_) ? kAttrNone : kAttrDim;
        bool horizontal = (style() & UDS_HORZ) != 0;
        char32_t first = horizontal ? U'◄' : U'▲';
        char32_t second = horizontal ? U'►' : U'▼';
        if (painter.rows() >= 2 && !horizontal) {
            painter.put(0, 0, first, attr);
            painter.put(0, painter.rows() - 1, second, attr);
        } else {
            painter.put(0, 0, first, attr);
            painter.put(std::max(painter.cols() - 1, 1), 0, second, attr);
        }
    }
    EndPaint(hwnd_, &ps);
}

// ---- Window procedure ------------------------------------------------------------------------

namespace {

LRESULT dispatch(UpDownControl& control, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        control.create();
        return 0;
    case WM_DESTROY:
        control.destroy();
        return 0;
    case UDM_SETRANGE32:
        control.setRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case UDM_GETRANGE32:
        control.getRange(reinterpret_cast<int*>(wParam), reinterpret_cast<int*>(lParam));
        return 0;
    case UDM_SETRANGE:
        control.setRange(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam)));
        return 0;
    case UDM_GETRANGE:
        return control.range16();
    case UDM_SETPOS32:
        return control.setPosition(static_cast<int>(lParam));
    case UDM_GETPOS32:
        return control.position(reinterpret_cast<BOOL*>(lParam));
    case UDM_SETPOS:
        return static_cast<short>(control.setPosition(static_cast<short>(LOWORD(lParam))));
    case UDM_GETPOS: {
        BOOL failed = FALSE;
        int position = control.position(&failed);
        return MAKELONG(static_cast<short>(position), failed ? 1 : 0);
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(control.setBuddy(reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(control.buddy());
    case UDM_SETBASE:
        return control.setBase(wParam);
    case UDM_GETBASE:
        return control.base();
    case UDM_SETACCEL:
        return control.setAccel(wParam, reinterpret_cast<const UDACCEL*>(lParam));
    case UDM_GETACCEL:
        return control.getAccel(wParam, reinterpret_cast<UDACCEL*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        control.mouseDown(lParam);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_PAINT:
        control.paintWindow();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCDESTROY:
        controls().erase(hwnd);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK upDownWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        controls()[hwnd] = std::make_shared<UpDownControl>(hwnd);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    std::shared_ptr<UpDownControl> control = controlOf(hwnd);
    if (!control) return DefWindowProcA(hwnd, message, wParam, lParam);
    return dispatch(*control, hwnd, message, wParam, lParam);
}

}  // namespace winapi
