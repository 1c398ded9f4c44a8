// Decoding of terminal keys and mouse reports into the layer's input events.
#include "display/terminal_input.h"

#define NCURSES_WIDECHAR 1
#include <curses.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace winapi {
namespace {

// Plays back what a terminal sent. A gap stands for "nothing has arrived yet": a
// non-waiting read stops there, a waiting one goes past it.
class ScriptedSource : public TerminalInputSource {
public:
    struct Step {
        RawInput raw;
        MouseReport mouse;
        long long time = 0;
    };

    ScriptedSource& ch(int value) { return add({{RawInput::Type::Char, value}, {}, 0}); }
    ScriptedSource& key(int code) { return add({{RawInput::Type::Key, code}, {}, 0}); }
    ScriptedSource& gap() { return add(Step{}); }
    ScriptedSource& text(const char* ascii) {
        for (; *ascii; ++ascii)
            ch(static_cast<unsigned char>(*ascii));
        return *this;
    }
    ScriptedSource& mouse(unsigned long buttons, int col, int row, long long time = 0) {
        return add({{RawInput::Type::Key, KEY_MOUSE}, {buttons, col, row}, time});
    }

    RawInput read(bool wait) override {
        while (!steps_.empty()) {
            Step step = steps_.front();
            if (step.raw.type == RawInput::Type::None && !wait) {
                steps_.pop_front();
                return {};
            }
            steps_.pop_front();
            if (step.raw.type == RawInput::Type::None)
                continue;
            current_ = step;
            return step.raw;
        }
        return {};
    }
    bool mouse(MouseReport& report) override {
        report = current_.mouse;
        return true;
    }
    void screenSize(int& cols, int& rows) override {
        cols = 132;
        rows = 50;
    }
    long long milliseconds() override { return current_.time; }

private:
    ScriptedSource& add(Step step) {
        steps_.push_back(step);
        return *this;
    }
    std::deque<Step> steps_;
    Step current_;
};

std::vector<InputEvent> decodeAll(ScriptedSource& source, TerminalInputDecoder* decoder = nullptr) {
    TerminalInputDecoder own(source);
    TerminalInputDecoder& d = decoder ? *decoder : own;
    std::vector<InputEvent> events;
    InputEvent event;
    while (d.next(event))
        events.push_back(event);
    return events;
}

std::string describe(const InputEvent& e) {
    std::string s;
    if (e.kind == InputEvent::Kind::Resize)
        return "resize " + std::to_string(e.cols) + "x" + std::to_string(e.rows);
    if (e.kind == InputEvent::Kind::Mouse) {
        const char* names[] = {"press", "release", "double", "drag", "wheelup", "wheeldown"};
        s = names[static_cast<int>(e.action)];
        s += " " + std::to_string(e.col) + "," + std::to_string(e.row);
    } else {
        s = "vk=" + std::to_string(e.vk) + " ch=" + std::to_string(static_cast<unsigned>(e.ch));
    }
    if (e.ctrl)
        s += " ctrl";
    if (e.alt)
        s += " alt";
    if (e.shift)
        s += " shift";
    return s;
}

std::vector<std::string> describeAll(const std::vector<InputEvent>& events) {
    std::vector<std::string> out;
    for (const InputEvent& e : events)
        out.push_back(describe(e));
    return out;
}

std::string key(unsigned vk, char32_t ch = 0, const char* mods = "") {
    return "vk=" + std::to_string(vk) + " ch=" + std::to_string(static_cast<unsigned>(ch)) + mods;
}

struct KeyCase {
    const char* name;
    std::function<void(ScriptedSource&)> send;
    std::vector<std::string> expected;
};

TEST(TerminalInputDecoder, DecodesKeysAsTheLayerExpectsThem) {
    const KeyCase cases[] = {
        {"letters, digits and space with their keys", [](ScriptedSource& s) { s.ch('a').ch('Q').ch('7').ch(' '); },
         {key('A', 'a'), key('Q', 'Q', " shift"), key('7', '7'), key(VK_SPACE, ' ')}},
        {"other text alone", [](ScriptedSource& s) { s.ch('.').ch('~'); }, {key(0, '.'), key(0, '~')}},
        {"non-ASCII letter", [](ScriptedSource& s) { s.ch(0xE9).ch(0x4E2D); }, {key(0, 0xE9), key(0, 0x4E2D)}},
        {"Ctrl+C", [](ScriptedSource& s) { s.ch(3); }, {key('C', 0, " ctrl")}},
        {"Ctrl+O and Ctrl+A", [](ScriptedSource& s) { s.ch(15).ch(1); }, {key('O', 0, " ctrl"), key('A', 0, " ctrl")}},
        {"Enter as CR, LF or keypad", [](ScriptedSource& s) { s.ch('\r').ch('\n').key(KEY_ENTER); },
         {key(VK_RETURN), key(VK_RETURN), key(VK_RETURN)}},
        {"Backspace in its three forms", [](ScriptedSource& s) { s.ch(127).ch(8).key(KEY_BACKSPACE); },
         {key(VK_BACK), key(VK_BACK), key(VK_BACK)}},
        {"Tab and Shift+Tab", [](ScriptedSource& s) { s.ch('\t').key(KEY_BTAB); },
         {key(VK_TAB), key(VK_TAB, 0, " shift")}},
        {"navigation", [](ScriptedSource& s) { s.key(KEY_UP).key(KEY_NPAGE).key(KEY_HOME).key(KEY_DC); },
         {key(VK_UP), key(VK_NEXT), key(VK_HOME), key(VK_DELETE)}},
        {"Shift+arrows", [](ScriptedSource& s) { s.key(KEY_SLEFT).key(KEY_SR).key(KEY_SF).key(KEY_SEND); },
         {key(VK_LEFT, 0, " shift"), key(VK_UP, 0, " shift"), key(VK_DOWN, 0, " shift"), key(VK_END, 0, " shift")}},
        {"function keys with modifiers", [](ScriptedSource& s) { s.key(KEY_F(5)).key(KEY_F(1)).key(KEY_F(16)).key(KEY_F(29)).key(KEY_F(52)); },
         {key(VK_F5), key(VK_F1), key(VK_F4, 0, " shift"), key(VK_F5, 0, " ctrl"), key(VK_F4, 0, " alt")}},
        {"Esc alone", [](ScriptedSource& s) { s.ch(27).gap().ch('x'); }, {key(VK_ESCAPE), key('X', 'x')}},
        {"Esc at the end of input", [](ScriptedSource& s) { s.ch(27); }, {key(VK_ESCAPE)}},
        {"Alt+letter", [](ScriptedSource& s) { s.ch(27).ch('f'); }, {key('F', 0, " alt")}},
        {"Alt+Shift+letter", [](ScriptedSource& s) { s.ch(27).ch('X'); }, {key('X', 0, " alt shift")}},
        {"Alt+digit", [](ScriptedSource& s) { s.ch(27).ch('1'); }, {key('1', 0, " alt")}},
        {"Alt+Ctrl+letter", [](ScriptedSource& s) { s.ch(27).ch(3); }, {key('C', 0, " ctrl alt")}},
        {"Alt+F4 sent with an ESC prefix", [](ScriptedSource& s) { s.ch(27).key(KEY_F(4)); }, {key(VK_F4, 0, " alt")}},
        {"Esc pressed twice", [](ScriptedSource& s) { s.ch(27).ch(27); }, {key(VK_ESCAPE), key(VK_ESCAPE)}},
        {"unknown control sequence is dropped whole", [](ScriptedSource& s) { s.ch(27).text("[99;5z").ch('a'); }, {key('A', 'a')}},
        {"Alt+Shift+O is not mistaken for a sequence", [](ScriptedSource& s) { s.ch(27).ch('O').gap().ch('a'); },
         {key('O', 0, " alt shift"), key('A', 'a')}},
        {"Alt with punctuation is dropped", [](ScriptedSource& s) { s.ch(27).ch('.').ch('b'); }, {key('B', 'b')}},
        {"control characters never arrive as text", [](ScriptedSource& s) { s.ch(0).ch(0x1c).ch(0x85).ch(0x9b).ch('z'); }, {key('Z', 'z')}},
        {"unknown key codes are skipped", [](ScriptedSource& s) { s.key(KEY_PRINT).key(KEY_F(0)).ch('q'); }, {key('Q', 'q')}},
        {"resize carries the new size", [](ScriptedSource& s) { s.key(KEY_RESIZE); }, {"resize 132x50"}},
    };
    for (const KeyCase& c : cases) {
        ScriptedSource source;
        c.send(source);
        EXPECT_EQ(describeAll(decodeAll(source)), c.expected) << c.name;
    }
}

TEST(TerminalInputDecoder, MapsKeyCodesOfTheTerminalsKeyTable) {
    ScriptedSource source;
    source.key(0x4000).key(0x4001);
    TerminalInputDecoder decoder(source);
    decoder.mapKeyCode(0x4000, KeyChord{VK_LEFT, true, false, false});
    decoder.mapKeyCode(0x4001, KeyChord{VK_F5, false, true, true});
    EXPECT_EQ(describeAll(decodeAll(source, &decoder)),
              (std::vector<std::string>{key(VK_LEFT, 0, " ctrl"), key(VK_F5, 0, " alt shift")}));
}

TEST(TerminalInputDecoder, KnowsTheXtermSequencesOfModifiedKeys) {
    auto keys = xtermModifiedKeys();
    auto chordOf = [&](const std::string& sequence) {
        for (const auto& [s, chord] : keys)
            if (s == sequence)
                return describe([&] {
                    InputEvent e;
                    e.vk = chord.vk;
                    e.ctrl = chord.ctrl;
                    e.alt = chord.alt;
                    e.shift = chord.shift;
                    return e;
                }());
        return std::string("missing");
    };
    EXPECT_EQ(chordOf("\x1b[1;2A"), key(VK_UP, 0, " shift"));
    EXPECT_EQ(chordOf("\x1b[1;5D"), key(VK_LEFT, 0, " ctrl"));
    EXPECT_EQ(chordOf("\x1b[1;3S"), key(VK_F4, 0, " alt"));
    EXPECT_EQ(chordOf("\x1b[15;2~"), key(VK_F5, 0, " shift"));
    EXPECT_EQ(chordOf("\x1b[6;8~"), key(VK_NEXT, 0, " ctrl alt shift"));
    EXPECT_EQ(chordOf("\x1b[1;1A"), "missing");  // parameter 1 means no modifier
}

TEST(TerminalInputDecoder, TellsClicksDoubleClicksAndDrags) {
    ScriptedSource source;
    source.mouse(BUTTON1_PRESSED, 3, 4, 1000)
        .mouse(BUTTON1_RELEASED, 3, 4, 1050)
        .mouse(BUTTON1_PRESSED, 3, 4, 1200)  // same cell, soon: double click
        .mouse(BUTTON1_RELEASED, 3, 4, 1250)
        .mouse(BUTTON1_PRESSED, 3, 4, 1300)  // a third quick press starts over
        .mouse(BUTTON1_RELEASED, 3, 4, 1350)
        .mouse(BUTTON1_PRESSED, 3, 4, 2000)  // too late for a double click
        .mouse(REPORT_MOUSE_POSITION, 5, 4, 2010)
        .mouse(BUTTON1_PRESSED, 6, 4, 2020)  // some terminals report motion as presses
        .mouse(BUTTON1_RELEASED, 6, 4, 2030)
        .mouse(REPORT_MOUSE_POSITION, 7, 4, 2040)  // motion without a button: nothing
        .mouse(BUTTON1_PRESSED, 7, 4, 2100)
        .mouse(BUTTON1_RELEASED, 7, 4, 2110)
        .mouse(BUTTON1_PRESSED, 8, 4, 2200)  // another cell: not a double click
        .mouse(BUTTON1_RELEASED | BUTTON_SHIFT, 8, 4, 2210)
        .mouse(BUTTON4_PRESSED, 10, 12)
        .mouse(BUTTON5_PRESSED, 10, 13);
    EXPECT_EQ(describeAll(decodeAll(source)),
              (std::vector<std::string>{"press 3,4", "release 3,4", "double 3,4", "release 3,4",
                                        "press 3,4", "release 3,4", "press 3,4", "drag 5,4",
                                        "drag 6,4", "release 6,4", "press 7,4", "release 7,4",
                                        "press 8,4", "release 8,4 shift", "wheelup 10,12",
                                        "wheeldown 10,13"}));
}

TEST(TerminalInputDecoder, SpellsOutClicksTheTerminalLibraryCombined) {
    ScriptedSource source;
    source.mouse(BUTTON1_CLICKED, 1, 2).mouse(BUTTON1_DOUBLE_CLICKED, 1, 2);
    EXPECT_EQ(describeAll(decodeAll(source)),
              (std::vector<std::string>{"press 1,2", "release 1,2", "press 1,2", "release 1,2",
                                        "double 1,2", "release 1,2"}));
}

}  // namespace
}  // namespace winapi
