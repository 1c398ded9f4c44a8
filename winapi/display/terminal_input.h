// Turns what a terminal sends (characters, curses key codes, mouse reports) into the
// layer's input events; knows curses' key codes but never calls curses itself.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "display/device.h"

namespace winapi {

// One read from the terminal: a character, a curses key code, or nothing.
struct RawInput {
    enum class Type { None, Char, Key };
    Type type = Type::None;
    int value = 0;
};

// A mouse report behind a KEY_MOUSE: curses button-state bits and the cell.
struct MouseReport {
    unsigned long buttons = 0;
    int col = 0;
    int row = 0;
};

// Where the decoder reads from: the curses screen in the terminal, a script in tests.
class TerminalInputSource {
public:
    virtual ~TerminalInputSource() = default;
    // With wait, blocks until something arrives (None: no input will ever come);
    // without, returns only what has already arrived (None: nothing there yet).
    virtual RawInput read(bool wait) = 0;
    // The report behind the KEY_MOUSE just read; false when there is none.
    virtual bool mouse(MouseReport& report) = 0;
    // The screen size in cells, read after KEY_RESIZE.
    virtual void screenSize(int& cols, int& rows) = 0;
    // A monotonic clock in milliseconds, for telling double clicks.
    virtual long long milliseconds() = 0;
};

// A key with modifiers, as a key code maps to it.
struct KeyChord {
    unsigned vk = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

// The xterm sequences of arrows, Home/End, PgUp/PgDn, Insert/Delete and F1..F12 with
// Shift, Alt and Ctrl (modifier parameters 2..8), with the chord each one means.
std::vector<std::pair<std::string, KeyChord>> xtermModifiedKeys();

// Two presses of the left button on one cell this close together make a double click.
constexpr long long kDoubleClickMilliseconds = 500;

// Keys come as the layer's keyboard sees them. Letters, digits and space carry their key
// and the text typed; other text has vk 0. Every other key carries no text (Enter, Tab,
// Backspace, Esc and Ctrl+letters included: the layer derives their characters from the
// key, as TranslateMessage does), nor does anything with Alt.
class TerminalInputDecoder {
public:
    explicit TerminalInputDecoder(TerminalInputSource& source) : source_(source) {}

    // Makes `code` (a key code the terminal's key table returns) mean `chord`.
    void mapKeyCode(int code, KeyChord chord) { modifiedKeys_[code] = chord; }

    // Reads until one event is decoded; keys it does not know are skipped. False when
    // the source has no more input.
    bool next(InputEvent& event);

private:
    bool decode(RawInput raw);
    bool decodeChar(int ch);
    bool decodeEscape();
    bool decodeKeyCode(int code);
    bool decodeMouse();
    bool skipEscapeSequence();
    void pushTyped(char32_t ch);
    void pushKey(unsigned vk, char32_t ch = 0, bool ctrl = false, bool alt = false, bool shift = false);
    void pushMouse(InputEvent::MouseAction action, int col, int row);

    TerminalInputSource& source_;
    std::map<int, KeyChord> modifiedKeys_;
    std::deque<InputEvent> pending_;
    bool altPending_ = false;  // an ESC prefix was read: the next key is with Alt
    bool leftDown_ = false;
    bool lastPressWasPlain_ = false;  // a third quick press starts over as a press
    long long lastPressTime_ = -1;
    int lastPressCol_ = -1;
    int lastPressRow_ = -1;
};

}  // namespace winapi
