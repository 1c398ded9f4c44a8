// Recording delivered messages and comparing them with an expected sequence.
#include "user32/messagelog.h"

#include <cstdio>
#include <sstream>

namespace winapi {
namespace {

MessageLog* current = nullptr;

std::string describe(const LoggedMessage& entry) {
    std::ostringstream out;
    out << messageName(entry.message) << " hwnd=" << entry.hwnd << " w=0x" << std::hex
        << entry.wParam << " l=0x" << entry.lParam;
    if (entry.message == WM_NOTIFY) out << " code=" << std::dec << static_cast<int>(entry.notifyCode);
    return out.str();
}

std::string describe(const ExpectedMessage& entry) {
    std::ostringstream out;
    out << messageName(entry.message);
    if (entry.hwnd) out << " hwnd=" << entry.hwnd;
    if (entry.checkWParam) out << " w=0x" << std::hex << entry.wParam << std::dec;
    if (entry.checkLParam) out << " l=0x" << std::hex << entry.lParam << std::dec;
    if (entry.checkCode) out << " code=" << static_cast<int>(entry.code);
    if (entry.optional) out << " (optional)";
    return out.str();
}

bool matchesEntry(const LoggedMessage& actual, const ExpectedMessage& expected) {
    if (actual.message != expected.message) return false;
    if (expected.hwnd && actual.hwnd != expected.hwnd) return false;
    if (expected.checkWParam && actual.wParam != expected.wParam) return false;
    if (expected.checkLParam && actual.lParam != expected.lParam) return false;
    if (expected.checkCode) {
        UINT code = actual.message == WM_NOTIFY ? actual.notifyCode
                                                : static_cast<UINT>(HIWORD(actual.wParam));
        if (code != expected.code) return false;
    }
    return true;
}

}  // namespace

MessageLog::MessageLog() : previous_(current) { current = this; }

MessageLog::~MessageLog() {
    if (current == this) current = previous_;
}

void MessageLog::ignore(std::initializer_list<UINT> messages) {
    ignored_.insert(messages.begin(), messages.end());
}

void MessageLog::onlyWindows(std::initializer_list<HWND> windows) {
    windows_.insert(windows.begin(), windows.end());
}

std::vector<UINT> MessageLog::messages() const {
    std::vector<UINT> result;
    for (const LoggedMessage& entry : entries_) result.push_back(entry.message);
    return result;
}

void MessageLog::add(const LoggedMessage& entry) {
    if (ignored_.count(entry.message)) return;
    if (!windows_.empty() && !windows_.count(entry.hwnd)) return;
    entries_.push_back(entry);
}

void MessageLog::record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!current) return;
    LoggedMessage entry{hwnd, message, wParam, lParam, 0};
    if (message == WM_NOTIFY && lParam) entry.notifyCode = reinterpret_cast<const NMHDR*>(lParam)->code;
    current->add(entry);
}

std::string MessageLog::mismatch(const std::vector<ExpectedMessage>& expected) const {
    size_t a = 0, e = 0;
    std::string problem;
    while (problem.empty() && (a < entries_.size() || e < expected.size())) {
        if (e < expected.size() && a < entries_.size() && matchesEntry(entries_[a], expected[e])) {
            ++a, ++e;
        } else if (e < expected.size() && expected[e].optional) {
            ++e;
        } else if (e < expected.size() && a < entries_.size()) {
            problem = "entry " + std::to_string(a) + ": got " + describe(entries_[a]) +
                      ", expected " + describe(expected[e]);
        } else if (e < expected.size()) {
            problem = "missing " + describe(expected[e]);
        } else {
            problem = "unexpected " + describe(entries_[a]);
        }
    }
    if (problem.empty()) return problem;
    std::string report = problem + "\nlogged:";
    for (const auto& entry : entries_) report += "\n  " + describe(entry);
    report += "\nexpected:";
    for (const auto& entry : expected) report += "\n  " + describe(entry);
    return report;
}

std::string messageName(UINT message) {
    switch (message) {
#define NAME(m) \
    case m: return #m;
        NAME(WM_NULL) NAME(WM_CREATE) NAME(WM_DESTROY) NAME(WM_MOVE) NAME(WM_SIZE)
        NAME(WM_ACTIVATE) NAME(WM_SETFOCUS) NAME(WM_KILLFOCUS) NAME(WM_ENABLE)
        NAME(WM_SETTEXT) NAME(WM_GETTEXT) NAME(WM_GETTEXTLENGTH) NAME(WM_PAINT)
        NAME(WM_CLOSE) NAME(WM_QUIT) NAME(WM_ERASEBKGND) NAME(WM_SHOWWINDOW)
        NAME(WM_GETMINMAXINFO) NAME(WM_SETFONT) NAME(WM_GETFONT) NAME(WM_NOTIFY)
        NAME(WM_NOTIFYFORMAT) NAME(WM_NCCREATE) NAME(WM_NCDESTROY) NAME(WM_NCCALCSIZE)
        NAME(WM_GETDLGCODE) NAME(WM_NCLBUTTONDOWN) NAME(WM_KEYDOWN) NAME(WM_KEYUP)
        NAME(WM_CHAR) NAME(WM_SYSKEYDOWN) NAME(WM_SYSKEYUP) NAME(WM_SYSCHAR)
        NAME(WM_COMMAND) NAME(WM_SYSCOMMAND) NAME(WM_TIMER) NAME(WM_HSCROLL)
        NAME(WM_VSCROLL) NAME(WM_INITMENU) NAME(WM_INITMENUPOPUP) NAME(WM_MOUSEMOVE)
        NAME(WM_LBUTTONDOWN) NAME(WM_LBUTTONUP) NAME(WM_LBUTTONDBLCLK) NAME(WM_MOUSEWHEEL)
        NAME(WM_SIZING) NAME(WM_CAPTURECHANGED) NAME(WM_CUT) NAME(WM_COPY) NAME(WM_PASTE)
        NAME(WM_CLEAR) NAME(WM_UNDO)
#undef NAME
        default: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "0x%04x", message);
            return buffer;
        }
    }
}

}  // namespace winapi
