// The ncurses terminal device: shows composed screens and reads input.
#include "display/terminal.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <langinfo.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "display/terminal_output.h"
#include "display/terminal_restore.h"
#include "display/terminal_source.h"

namespace winapi {

namespace {

// Esc is a key of its own here (it closes menus and dialogs), so curses waits only
// briefly for the rest of an escape sequence.
constexpr int kEscapeDelayMilliseconds = 25;

// Codes for the modified keys this terminal's key table lacks; far above curses' own.
constexpr int kFirstOwnKeyCode = 0x4000;

// Button-event mouse tracking: reports motion while a button is held, for drags.
const char kDragReportingOn[] = "\x1b[?1002h";
const char kMouseReportingOff[] = "\x1b[?1002l\x1b[?1006l\x1b[?1000l";

TerminalDevice* activeDevice = nullptr;
SCREEN* activeScreen = nullptr;

void writeAll(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t n = write(fd, bytes, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        bytes += n;
        length -= static_cast<size_t>(n);
    }
}

std::string capability(const char* name) {
    char* value = tigetstr(const_cast<char*>(name));
    if (value == nullptr || value == reinterpret_cast<char*>(-1))
        return {};
    return value;
}

// Leaving curses: mouse reporting off, the screen and modes as they were.
void restoreTerminal() {
    if (activeScreen == nullptr)
        return;
    writeAll(fileno(stdout), kMouseReportingOff, sizeof(kMouseReportingOff) - 1);
    mousemask(0, nullptr);
    endwin();
    delscreen(activeScreen);
    activeScreen = nullptr;
}

attr_t cursesAttributes(uint8_t attr) {
    attr_t result = A_NORMAL;
    if (attr & kAttrReverse)
        result |= A_REVERSE;
    if (attr & kAttrBold)
        result |= A_BOLD;
    if (attr & kAttrUnderline)
        result |= A_UNDERLINE;
    if (attr & kAttrDim)
        result |= A_DIM;
    return result;
}

}  // namespace

TerminalDevice::TerminalDevice() {
    if (activeDevice != nullptr)
        throw std::runtime_error("the terminal is already in use");
    fd_ = fileno(stdout);
    std::setlocale(LC_CTYPE, "");
    utf8_ = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;

    termios saved{};
    tcgetattr(fd_, &saved);
    armTerminalRestore(fd_, saved, restoreTerminal);
    SCREEN* screen = newterm(nullptr, stdout, stdin);
    if (screen == nullptr) {
        disarmTerminalRestore();
        const char* term = std::getenv("TERM");
        throw std::runtime_error(std::string("cannot drive the terminal (TERM=") +
                                 (term ? term : "") + ")");
    }
    set_term(screen);
    activeScreen = screen;
    activeDevice = this;

    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    intrflush(stdscr, FALSE);
    set_escdelay(kEscapeDelayMilliseconds);
    if (has_colors()) {
        start_color();
        use_default_colors();
    }
    mousemask(ALL_MOUSE_EVENTS | REPORT_MOUSE_POSITION, nullptr);
    mouseinterval(0);  // presses and releases as they come; double clicks are told apart here
    curs_set(0);

    source_ = std::make_unique<CursesInputSource>(fileno(stdin));
    decoder_ = std::make_unique<TerminalInputDecoder>(*source_);
    defineModifiedKeys();

    std::string reset = kMouseReportingOff;
    for (const char* name : {"sgr0", "cnorm", "rmkx", "rmcup"})
        reset += capability(name);
    setTerminalReset(reset);
}

TerminalDevice::~TerminalDevice() {
    restoreTerminal();
    disarmTerminalRestore();
    activeDevice = nullptr;
}

// Terminals send Shift, Alt and Ctrl with arrows and function keys as xterm does; a key
// table (TERM) that lacks those sequences learns them here.
void TerminalDevice::defineModifiedKeys() {
    int nextCode = kFirstOwnKeyCode;
    for (const auto& [sequence, chord] : xtermModifiedKeys()) {
        int code = key_defined(sequence.c_str());
        if (code < 0)
            continue;  // clashes with a key the table has: leave the table alone
        if (code == 0) {
            code = nextCode++;
            if (define_key(sequence.c_str(), code) != OK)
                continue;
        }
        decoder_->mapKeyCode(code, chord);
    }
}

bool TerminalDevice::nextInput(InputEvent& event) {
    if (!pendingWrites_.empty()) {
        writeNow(pendingWrites_);
        pendingWrites_.clear();
    }
    return decoder_->next(event);
}

void TerminalDevice::present(const Canvas& screen) {
    bool full = screen.cols() != shown_.cols() || screen.rows() != shown_.rows() ||
                COLS != shownCols_ || LINES != shownRows_;
    if (full)
        werase(stdscr);  // also clears whatever lies outside a smaller canvas
    int cols = std::min(screen.cols(), COLS);
    int rows = std::min(screen.rows(), LINES);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            const Cell& cell = screen.at(col, row);
            if (full || shown_.at(col, row) != cell)
                drawCell(col, row, cell);
        }
    }
    shown_ = screen;
    shownCols_ = COLS;
    shownRows_ = LINES;
    placeCursor();
    wnoutrefresh(stdscr);
    doupdate();
    afterRefresh();
}

void TerminalDevice::drawCell(int col, int row, const Cell& cell) {
    wchar_t text[2] = {static_cast<wchar_t>(terminalChar(cell.ch, utf8_)), L'\0'};
    cchar_t styled{};
    setcchar(&styled, text, cursesAttributes(cell.attr), 0, nullptr);
    mvwadd_wch(stdscr, row, col, &styled);
}

void TerminalDevice::placeCursor() {
    bool inside = caretCol_ >= 0 && caretCol_ < COLS && caretRow_ >= 0 && caretRow_ < LINES;
    if (caretVisible_ && inside) {
        wmove(stdscr, caretRow_, caretCol_);
        curs_set(1);
    } else {
        curs_set(0);
    }
}

// The caret may move after the screen was shown: the cursor follows at once.
void TerminalDevice::setCaret(bool visible, int col, int row) {
    if (visible == caretVisible_ && col == caretCol_ && row == caretRow_)
        return;
    caretVisible_ = visible;
    caretCol_ = col;
    caretRow_ = row;
    if (shown_.cols() == 0)
        return;  // nothing shown yet: present() places it
    placeCursor();
    wnoutrefresh(stdscr);
    doupdate();
}

// Curses has flushed its output: strings of our own now reach the terminal in order.
void TerminalDevice::afterRefresh() {
    if (!dragReporting_) {
        // After curses' own mouse set-up, which would otherwise replace this mode.
        writeNow(kDragReportingOn);
        dragReporting_ = true;
    }
    if (!pendingWrites_.empty()) {
        writeNow(pendingWrites_);
        pendingWrites_.clear();
    }
}

void TerminalDevice::writeNow(const std::string& bytes) {
    writeAll(fd_, bytes.data(), bytes.size());
}

int TerminalDevice::cols() const { return COLS; }

int TerminalDevice::rows() const { return LINES; }

void TerminalDevice::setTitle(std::string_view title) {
    pendingWrites_ += titleSequence(title);
}

void TerminalDevice::setClipboard(std::string_view text) {
    if (text.size() <= kMaxTerminalClipboardBytes)
        pendingWrites_ += clipboardSequence(text);
}

}  // namespace winapi
