// The one message queue: sent messages call the procedure at once, posted messages and
// input wait in the queue, and GetMessageA composes the screen and asks the device for
// input when the queue is empty.
#include <deque>

#include "display/device.h"
#include "user32/input.h"
#include "user32/messagelog.h"
#include "user32/paint.h"
#include "user32/window.h"

namespace winapi {
namespace {

struct QueuedMessage {
    MSG msg{};
    bool fromInput = false;
    unsigned keys = 0;
};

struct Queue {
    std::deque<QueuedMessage> messages;
    bool quitPending = false;
    int exitCode = 0;
    DWORD clock = 0;
};

Queue& queue() {
    static Queue instance;
    return instance;
}

bool passesFilter(const MSG& msg, HWND hwnd, UINT first, UINT last) {
    if (hwnd && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) return false;
    if (first == 0 && last == 0) return true;
    return msg.message >= first && msg.message <= last;
}

bool takeMessage(MSG* out, HWND hwnd, UINT first, UINT last, bool remove) {
    auto& messages = queue().messages;
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        if (!passesFilter(it->msg, hwnd, first, last)) continue;
        *out = it->msg;
        if (remove) {
            if (it->fromInput) setKeyState(it->keys);
            messages.erase(it);
        }
        return true;
    }
    return false;
}

bool takeQuit(MSG* out, bool remove) {
    Queue& q = queue();
    if (!q.quitPending) return false;
    *out = MSG{};
    out->message = WM_QUIT;
    out->wParam = static_cast<WPARAM>(q.exitCode);
    if (remove) q.quitPending = false;
    return true;
}

QueuedMessage makeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    QueuedMessage entry;
    entry.msg.hwnd = hwnd;
    entry.msg.message = message;
    entry.msg.wParam = wParam;
    entry.msg.lParam = lParam;
    entry.msg.time = ++queue().clock;
    return entry;
}

}  // namespace

void postInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned keys,
                      DWORD typed) {
    QueuedMessage entry = makeMessage(hwnd, message, wParam, lParam);
    entry.fromInput = true;
    entry.keys = keys;
    entry.msg.lPrivate = typed;
    queue().messages.push_back(entry);
}

void removeQueuedMessagesFor(HWND hwnd) {
    auto& messages = queue().messages;
    for (auto it = messages.begin(); it != messages.end();) {
        it = it->msg.hwnd == hwnd ? messages.erase(it) : it + 1;
    }
}

void resetQueue() { queue() = Queue{}; }

LRESULT deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(hwnd);
    return window ? deliverTo(*window, message, wParam, lParam) : 0;
}

LRESULT deliverTo(const Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window.proc) return 0;
    MessageLog::record(window.handle, message, wParam, lParam);
    return window.proc(window.handle, message, wParam, lParam);
}

}  // namespace winapi

using namespace winapi;

extern "C" {

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* window = findWindow(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return deliverTo(*window, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !findWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    queue().messages.push_back(makeMessage(hwnd, message, wParam, lParam));
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    queue().quitPending = true;
    queue().exitCode = exitCode;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last) {
    if (!msg) return -1;
    for (;;) {
        if (takeMessage(msg, hwnd, first, last, true)) return msg->message != WM_QUIT;
        if (takeQuit(msg, true)) return FALSE;
        composeScreen();
        InputEvent event;
        if (!device().nextInput(event)) {
            // No input will ever come: end the loop as if the program had been closed.
            *msg = MSG{};
            msg->message = WM_QUIT;
            return FALSE;
        }
        handleInput(event);
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT first, UINT last, UINT flags) {
    if (!msg) return FALSE;
    bool remove = (flags & PM_REMOVE) != 0;
    return takeMessage(msg, hwnd, first, last, remove) || takeQuit(msg, remove);
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (!msg || !findWindow(msg->hwnd)) return 0;
    return deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    std::string text = typedText(*msg);
    if (text.empty()) return FALSE;
    UINT charMessage = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The characters come before anything already queued (the key's release included),
    // as they do on the platform.
    auto& messages = queue().messages;
    auto at = messages.begin();
    for (char c : text) {
        QueuedMessage entry = makeMessage(msg->hwnd, charMessage,
                                          static_cast<WPARAM>(static_cast<unsigned char>(c)),
                                          msg->lParam);
        entry.fromInput = true;
        entry.keys = keyState();
        at = messages.insert(at, entry) + 1;
    }
    return TRUE;
}

}  // extern "C"
