// Gives the terminal back the way it was found however the program ends: on return,
// exit(), an uncaught exception, and SIGHUP, SIGTERM, SIGINT or SIGQUIT.
#pragma once

#include <termios.h>

#include <string>

namespace winapi {

// From now until disarmTerminalRestore: exit() and std::terminate call `orderly` (the
// terminal library's own restore) first; on SIGHUP, SIGTERM, SIGINT or SIGQUIT a handler
// writes the reset string to `fd`, sets the tty modes `saved` back (both safe inside a
// signal handler) and ends the program with exit code 128 + the signal number. Armed
// before the terminal library starts, so that it keeps out of these signals.
void armTerminalRestore(int fd, const termios& saved, void (*orderly)());

// The bytes that undo the terminal library's settings (alternate screen, keypad, mouse,
// attributes, hidden cursor), known once the terminal's description has been read.
void setTerminalReset(const std::string& reset);

// The terminal has been given back: the handlers do nothing more, signals are reset to
// what they were before.
void disarmTerminalRestore();

}  // namespace winapi
