// Decoding of terminal keys and mouse reports into input events.
#include "display/terminal_input.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <windows.h>

namespace winapi {

namespace {

constexpr int kEscape = 27;

// Keys curses reports with their own codes, modifiers included where curses has them.
struct CodedKey {
    int code;
    KeyChord chord;
};

const CodedKey kCodedKeys[] = {
    {KEY_UP, {VK_UP}},
    {KEY_DOWN, {VK_DOWN}},
    {KEY_LEFT, {VK_LEFT}},
    {KEY_RIGHT, {VK_RIGHT}},
    {KEY_HOME, {VK_HOME}},
    {KEY_END, {VK_END}},
    {KEY_PPAGE, {VK_PRIOR}},
    {KEY_NPAGE, {VK_NEXT}},
    {KEY_IC, {VK_INSERT}},
    {KEY_DC, {VK_DELETE}},
    {KEY_SR, {VK_UP, false, false, true}},
    {KEY_SF, {VK_DOWN, false, false, true}},
    {KEY_SLEFT, {VK_LEFT, false, false, true}},
    {KEY_SRIGHT, {VK_RIGHT, false, false, true}},
    {KEY_SHOME, {VK_HOME, false, false, true}},
    {KEY_SEND, {VK_END, false, false, true}},
    {KEY_SPREVIOUS, {VK_PRIOR, false, false, true}},
    {KEY_SNEXT, {VK_NEXT, false, false, true}},
    {KEY_SIC, {VK_INSERT, false, false, true}},
    {KEY_SDC, {VK_DELETE, false, false, true}},
    // Keypad keys under their navigation meaning.
    {KEY_A1, {VK_HOME}},
    {KEY_A3, {VK_PRIOR}},
    {KEY_C1, {VK_END}},
    {KEY_C3, {VK_NEXT}},
};

// xterm numbers the modifier parameter as 1 + (Shift 1, Alt 2, Ctrl 4).
KeyChord withModifier(unsigned vk, int parameter) {
    int bits = parameter - 1;
    return KeyChord{vk, (bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
}

}  // namespace

std::vector<std::pair<std::string, KeyChord>> xtermModifiedKeys() {
    struct Final {
        char letter;
        unsigned vk;
    };
    const Final finals[] = {{'A', VK_UP},   {'B', VK_DOWN}, {'C', VK_RIGHT}, {'D', VK_LEFT},
                            {'H', VK_HOME}, {'F', VK_END},  {'P', VK_F1},    {'Q', VK_F2},
                            {'R', VK_F3},   {'S', VK_F4}};
    struct Tilde {
        int number;
        unsigned vk;
    };
    const Tilde tildes[] = {{2, VK_INSERT}, {3, VK_DELETE}, {5, VK_PRIOR}, {6, VK_NEXT},
                            {15, VK_F5},    {17, VK_F6},    {18, VK_F7},   {19, VK_F8},
                            {20, VK_F9},    {21, VK_F10},   {23, VK_F11},  {24, VK_F12}};
    std::vector<std::pair<std::string, KeyChord>> keys;
    for (int parameter = 2; parameter <= 8; ++parameter) {
        std::string modifier = ";" + std::to_string(parameter);
        for (const Final& f : finals)
            keys.emplace_back("\x1b[1" + modifier + f.letter, withModifier(f.vk, parameter));
        for (const Tilde& t : tildes)
            keys.emplace_back("\x1b[" + std::to_string(t.number) + modifier + "~",
                              withModifier(t.vk, parameter));
    }
    return keys;
}

bool TerminalInputDecoder::next(InputEvent& event) {
    while (pending_.empty()) {
        RawInput raw = source_.read(true);
        if (raw.type == RawInput::Type::None)
            return false;
        decode(raw);
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
}

bool TerminalInputDecoder::decode(RawInput raw) {
    if (raw.type == RawInput::Type::Char)
        return decodeChar(raw.value);
    if (raw.type == RawInput::Type::Key)
        return decodeKeyCode(raw.value);
    return false;
}

bool TerminalInputDecoder::decodeChar(int ch) {
    switch (ch) {
    case kEscape:
        return decodeEscape();
    case '\r':
    case '\n':
        pushKey(VK_RETURN);
        return true;
    case '\t':
        pushKey(VK_TAB);
        return true;
    case 8:
    case 127:
        pushKey(VK_BACK);
        return true;
    default:
        break;
    }
    if (ch >= 1 && ch <= 26) {
        pushKey('A' + ch - 1, 0, true);
        return true;
    }
    bool control = ch < 0x20 || (ch >= 0x80 && ch < 0xA0);
    bool notACharacter = (ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF;
    if (control || notACharacter)
        return false;
    pushTyped(static_cast<char32_t>(ch));
    return true;
}

// Letters, digits and space come as the key that types them plus the text, as a keyboard
// sends them (menus choose items by the key); any other text comes as text alone.
void TerminalInputDecoder::pushTyped(char32_t ch) {
    if (ch >= U'a' && ch <= U'z')
        pushKey(ch - U'a' + 'A', ch);
    else if (ch >= U'A' && ch <= U'Z')
        pushKey(ch, ch, false, false, true);
    else if ((ch >= U'0' && ch <= U'9') || ch == U' ')
        pushKey(ch, ch);
    else
        pushKey(0, ch);
}

// An ESC alone is the Esc key (curses has already waited its short delay for more); an
// ESC with a key right behind it is that key with Alt, the way terminals send Alt.
bool TerminalInputDecoder::decodeEscape() {
    RawInput after = source_.read(false);
    if (after.type == RawInput::Type::None) {
        pushKey(VK_ESCAPE);
        return true;
    }
    bool introducer = after.type == RawInput::Type::Char && (after.value == '[' || after.value == 'O');
    if (introducer && skipEscapeSequence())
        return false;
    // ESC O with nothing behind it was Alt+Shift+O; ESC [ alone falls to punctuation below.
    if (after.type == RawInput::Type::Char && after.value == kEscape) {
        pushKey(VK_ESCAPE);
        return decodeEscape();
    }
    size_t first = pending_.size();
    if (!decode(after))
        return false;
    for (size_t i = first; i < pending_.size(); ++i) {
        InputEvent& event = pending_[i];
        if (event.kind != InputEvent::Kind::Key)
            continue;
        if (event.vk == 0) {
            pending_.erase(pending_.begin() + static_cast<long>(i), pending_.end());
            return false;  // Alt with punctuation or other text means nothing here
        }
        event.alt = true;
        event.ch = 0;
    }
    return true;
}

// The rest of a control sequence no key table knew: dropped, so it never shows as typing.
// False when nothing followed the introducer.
bool TerminalInputDecoder::skipEscapeSequence() {
    for (bool any = false;; any = true) {
        RawInput raw = source_.read(false);
        if (raw.type != RawInput::Type::Char)
            return any;
        if (raw.value >= 0x40 && raw.value <= 0x7E)
            return true;
    }
}

bool TerminalInputDecoder::decodeKeyCode(int code) {
    if (code == KEY_MOUSE)
        return decodeMouse();
    if (code == KEY_RESIZE) {
        InputEvent event;
        event.kind = InputEvent::Kind::Resize;
        source_.screenSize(event.cols, event.rows);
        pending_.push_back(event);
        return true;
    }
    if (code == KEY_BACKSPACE) {
        pushKey(VK_BACK);
        return true;
    }
    if (code == KEY_ENTER) {
        pushKey(VK_RETURN);
        return true;
    }
    if (code == KEY_BTAB) {
        pushKey(VK_TAB, 0, false, false, true);
        return true;
    }
    for (const CodedKey& key : kCodedKeys) {
        if (key.code == code) {
            pushKey(key.chord.vk, 0, key.chord.ctrl, key.chord.alt, key.chord.shift);
            return true;
        }
    }
    auto mapped = modifiedKeys_.find(code);
    if (mapped != modifiedKeys_.end()) {
        const KeyChord& chord = mapped->second;
        pushKey(chord.vk, 0, chord.ctrl, chord.alt, chord.shift);
        return true;
    }
    // Function keys: curses numbers Shift+F1 as F13, Ctrl+F1 as F25, Ctrl+Shift+F1 as
    // F37, Alt+F1 as F49 and Alt+Shift+F1 as F61, as xterm sends them.
    if (code >= KEY_F(1) && code <= KEY_F(63)) {
        int n = code - KEY_F(1);
        int group = n / 12;
        const int parameters[] = {1, 2, 5, 6, 3, 4};
        KeyChord chord = withModifier(VK_F1 + n % 12, parameters[group]);
        pushKey(chord.vk, 0, chord.ctrl, chord.alt, chord.shift);
        return true;
    }
    return false;
}

// Curses reports raw presses and releases (its click timing is off); a second press on
// the same cell soon after a press is a double click, a report of motion or a second
// press while the button is down is a drag.
bool TerminalInputDecoder::decodeMouse() {
    MouseReport report;
    if (!source_.mouse(report))
        return false;
    using Action = InputEvent::MouseAction;
    mmask_t buttons = static_cast<mmask_t>(report.buttons);
    size_t first = pending_.size();
    if (buttons & BUTTON4_PRESSED) {
        pushMouse(Action::WheelUp, report.col, report.row);
    } else if (buttons & BUTTON5_PRESSED) {
        pushMouse(Action::WheelDown, report.col, report.row);
    } else if (buttons & BUTTON1_RELEASED) {
        leftDown_ = false;
        pushMouse(Action::Release, report.col, report.row);
    } else if ((buttons & BUTTON1_PRESSED) && leftDown_) {
        pushMouse(Action::Drag, report.col, report.row);
    } else if (buttons & BUTTON1_PRESSED) {
        long long now = source_.milliseconds();
        bool doubleClick = lastPressWasPlain_ && report.col == lastPressCol_ &&
                           report.row == lastPressRow_ && lastPressTime_ >= 0 &&
                           now - lastPressTime_ <= kDoubleClickMilliseconds;
        pushMouse(doubleClick ? Action::DoubleClick : Action::Press, report.col, report.row);
        leftDown_ = true;
        lastPressWasPlain_ = !doubleClick;
        lastPressTime_ = now;
        lastPressCol_ = report.col;
        lastPressRow_ = report.row;
    } else if (buttons & BUTTON1_DOUBLE_CLICKED) {
        pushMouse(Action::Press, report.col, report.row);
        pushMouse(Action::Release, report.col, report.row);
        pushMouse(Action::DoubleClick, report.col, report.row);
        pushMouse(Action::Release, report.col, report.row);
    } else if (buttons & BUTTON1_CLICKED) {
        pushMouse(Action::Press, report.col, report.row);
        pushMouse(Action::Release, report.col, report.row);
    } else if ((buttons & REPORT_MOUSE_POSITION) && leftDown_) {
        pushMouse(Action::Drag, report.col, report.row);
    }
    for (size_t i = first; i < pending_.size(); ++i) {
        pending_[i].shift = (buttons & BUTTON_SHIFT) != 0;
        pending_[i].ctrl = (buttons & BUTTON_CTRL) != 0;
        pending_[i].alt = (buttons & BUTTON_ALT) != 0;
    }
    return pending_.size() > first;
}

void TerminalInputDecoder::pushKey(unsigned vk, char32_t ch, bool ctrl, bool alt, bool shift) {
    InputEvent event;
    event.kind = InputEvent::Kind::Key;
    event.vk = vk;
    event.ch = ch;
    event.ctrl = ctrl;
    event.alt = alt;
    event.shift = shift;
    pending_.push_back(event);
}

void TerminalInputDecoder::pushMouse(InputEvent::MouseAction action, int col, int row) {
    InputEvent event;
    event.kind = InputEvent::Kind::Mouse;
    event.action = action;
    event.col = col;
    event.row = row;
    pending_.push_back(event);
}

}  // namespace winapi
