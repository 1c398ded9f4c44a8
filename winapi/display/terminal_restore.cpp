// Restoring the terminal on every way out of the program.
#include "display/terminal_restore.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <exception>

namespace winapi {

namespace {

const int kSignals[] = {SIGHUP, SIGTERM, SIGINT, SIGQUIT};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
// A crash gives the terminal back too, then goes on as it would have: the previous
// action (the default, or a sanitizer's report) takes the signal.
const int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr int kFatalSignalCount = sizeof(kFatalSignals) / sizeof(kFatalSignals[0]);

// Read by the signal handler, so fixed storage only.
volatile sig_atomic_t armed = 0;
int restoreFd = -1;
termios savedModes{};
char resetBytes[512];
volatile size_t resetLength = 0;
void (*orderlyRestore)() = nullptr;
struct sigaction previousActions[kSignalCount];
struct sigaction previousFatalActions[kFatalSignalCount];
std::terminate_handler previousTerminate = nullptr;
bool atexitRegistered = false;

// Only async-signal-safe calls: the reset string was prepared in advance.
void restoreFromSignal() {
    if (!armed)
        return;
    armed = 0;
    size_t done = 0;
    while (done < resetLength) {
        ssize_t n = write(restoreFd, resetBytes + done, resetLength - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    tcsetattr(restoreFd, TCSANOW, &savedModes);
}

void onSignal(int signal) {
    restoreFromSignal();
    _exit(128 + signal);
}

void onFatalSignal(int signal) {
    restoreFromSignal();
    for (int i = 0; i < kFatalSignalCount; ++i) {
        if (kFatalSignals[i] == signal)
            sigaction(signal, &previousFatalActions[i], nullptr);
    }
    // Delivered again once this handler returns (a fault simply happens again).
    raise(signal);
}

void restoreInOrder() {
    if (!armed)
        return;
    armed = 0;
    if (orderlyRestore)
        orderlyRestore();
}

void onTerminate() {
    std::terminate_handler next = previousTerminate;  // the restore disarms and forgets it
    restoreInOrder();
    if (next)
        next();
    std::abort();
}

void onExit() { restoreInOrder(); }

}  // namespace

void armTerminalRestore(int fd, const termios& saved, void (*orderly)()) {
    restoreFd = fd;
    savedModes = saved;
    resetLength = 0;
    orderlyRestore = orderly;
    armed = 1;

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &action, &previousActions[i]);
    struct sigaction fatal {};
    fatal.sa_handler = onFatalSignal;
    sigemptyset(&fatal.sa_mask);
    for (int i = 0; i < kFatalSignalCount; ++i)
        sigaction(kFatalSignals[i], &fatal, &previousFatalActions[i]);
    previousTerminate = std::set_terminate(onTerminate);
    if (!atexitRegistered)
        atexitRegistered = std::atexit(onExit) == 0;
}

void setTerminalReset(const std::string& reset) {
    resetLength = 0;  // a signal meanwhile writes nothing rather than half a string
    size_t length = std::min(reset.size(), sizeof(resetBytes));
    std::memcpy(resetBytes, reset.data(), length);
    resetLength = length;
}

void disarmTerminalRestore() {
    if (!armed && orderlyRestore == nullptr)
        return;
    armed = 0;
    orderlyRestore = nullptr;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &previousActions[i], nullptr);
    for (int i = 0; i < kFatalSignalCount; ++i)
        sigaction(kFatalSignals[i], &previousFatalActions[i], nullptr);
    std::set_terminate(previousTerminate);
    previousTerminate = nullptr;
}

}  // namespace winapi
