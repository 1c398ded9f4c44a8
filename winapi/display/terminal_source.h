// The decoder's input from the curses screen: characters, key codes, mouse reports.
#pragma once

#include "display/terminal_input.h"

namespace winapi {

// Reads the curses screen (stdscr) for the decoder; `fd` is the terminal's input, polled
// to tell a hang-up from an interrupted read.
class CursesInputSource : public TerminalInputSource {
public:
    explicit CursesInputSource(int fd) : fd_(fd) {}

    RawInput read(bool wait) override;
    bool mouse(MouseReport& report) override;
    void screenSize(int& cols, int& rows) override;
    long long milliseconds() override;

private:
    bool terminalGone(int failures) const;

    int fd_;
};

}  // namespace winapi
