// A log of the messages the layer delivers to window procedures, and a comparison with an
// expected sequence, for tests that pin down the order of messages and notifications.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace winapi {

struct LoggedMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT notifyCode = 0;  // for WM_NOTIFY: the NMHDR's code, read at delivery
};

// One expected entry. Fields not asked for match anything.
struct ExpectedMessage {
    UINT message = 0;
    HWND hwnd = nullptr;        // null: any window
    bool optional = false;      // may be missing from the log
    bool checkWParam = false;
    WPARAM wParam = 0;
    bool checkLParam = false;
    LPARAM lParam = 0;
    bool checkCode = false;     // WM_NOTIFY code, or WM_COMMAND's high word
    UINT code = 0;

    ExpectedMessage(UINT msg) : message(msg) {}  // NOLINT: a bare message is an entry
    ExpectedMessage& to(HWND window) { hwnd = window; return *this; }
    ExpectedMessage& maybe() { optional = true; return *this; }
    ExpectedMessage& wparam(WPARAM value) { checkWParam = true; wParam = value; return *this; }
    ExpectedMessage& lparam(LPARAM value) { checkLParam = true; lParam = value; return *this; }
    ExpectedMessage& notify(UINT value) { checkCode = true; code = value; return *this; }
};

// Records while it exists (the newest log records when several exist). Sent and posted
// messages are recorded when the procedure is called, nested calls in call order.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // Messages that are not recorded at all (for example WM_PAINT, WM_ERASEBKGND).
    void ignore(std::initializer_list<UINT> messages);
    // Records only messages to these windows (none given: every window).
    void onlyWindows(std::initializer_list<HWND> windows);
    void clear() { entries_.clear(); }
    const std::vector<LoggedMessage>& entries() const { return entries_; }
    // The recorded message numbers, in order.
    std::vector<UINT> messages() const;

    // Empty when the log matches `expected` exactly, optional entries allowed to be
    // missing; otherwise a description of the first difference and both sequences.
    std::string mismatch(const std::vector<ExpectedMessage>& expected) const;
    bool matches(const std::vector<ExpectedMessage>& expected) const {
        return mismatch(expected).empty();
    }

    // Called by the layer for every delivery.
    static void record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void add(const LoggedMessage& entry);

    std::vector<LoggedMessage> entries_;
    std::set<UINT> ignored_;
    std::set<HWND> windows_;
    MessageLog* previous_ = nullptr;
};

// A readable name for a message number ("WM_CREATE", else the number in hex).
std::string messageName(UINT message);

}  // namespace winapi
