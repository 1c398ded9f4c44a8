// Reading the curses screen: characters, key codes, mouse reports, size and time.
#include "display/terminal_source.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <poll.h>

#include <cerrno>
#include <chrono>

namespace winapi {

RawInput CursesInputSource::read(bool wait) {
    wtimeout(stdscr, wait ? -1 : 0);
    int failures = 0;
    for (;;) {
        wint_t ch = 0;
        int result = wget_wch(stdscr, &ch);
        if (result == OK)
            return RawInput{RawInput::Type::Char, static_cast<int>(ch)};
        if (result == KEY_CODE_YES)
            return RawInput{RawInput::Type::Key, static_cast<int>(ch)};
        if (!wait || terminalGone(++failures))
            return RawInput{};
    }
}

bool CursesInputSource::mouse(MouseReport& report) {
    MEVENT event{};
    if (getmouse(&event) != OK)
        return false;
    report.buttons = event.bstate;
    report.col = event.x;
    report.row = event.y;
    return true;
}

void CursesInputSource::screenSize(int& cols, int& rows) {
    cols = COLS;
    rows = LINES;
}

long long CursesInputSource::milliseconds() {
    using namespace std::chrono;
    return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A blocking read failed: either a signal interrupted it (read again) or the terminal
// hung up, which no further read can change.
bool CursesInputSource::terminalGone(int failures) const {
    pollfd poller{fd_, POLLIN, 0};
    if (poll(&poller, 1, 0) < 0)
        return errno != EINTR;
    if (poller.revents & (POLLHUP | POLLERR | POLLNVAL))
        return true;
    return failures > 100;
}

}  // namespace winapi
