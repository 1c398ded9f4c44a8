// A small program on the terminal device alone: it lists every input event it decodes,
// so the end-to-end tests can check keys, mouse and resizes as a real terminal sends them.
// 'q' ends it, Ctrl+Y puts text on the clipboard, Ctrl+T sets a title with an escape in it,
// Ctrl+E calls exit(7) with the device still open, Ctrl+X throws an exception nobody catches.
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <stdexcept>
#include <string>

#include "display/canvas.h"
#include "display/terminal.h"

namespace {

std::string describe(const winapi::InputEvent& event) {
    using Kind = winapi::InputEvent::Kind;
    char text[96];
    if (event.kind == Kind::Resize) {
        std::snprintf(text, sizeof text, "resize %dx%d", event.cols, event.rows);
        return text;
    }
    if (event.kind == Kind::Mouse) {
        const char* actions[] = {"press", "release", "double", "drag", "wheelup", "wheeldown"};
        std::snprintf(text, sizeof text, "mouse %s %d,%d", actions[static_cast<int>(event.action)],
                      event.col, event.row);
    } else {
        std::snprintf(text, sizeof text, "key vk=%02X ch=%X", event.vk, static_cast<unsigned>(event.ch));
    }
    std::string line = text;
    if (event.ctrl)
        line += " ctrl";
    if (event.alt)
        line += " alt";
    if (event.shift)
        line += " shift";
    return line;
}

void draw(winapi::Canvas& canvas, const std::deque<std::string>& lines, int cols, int rows) {
    canvas.resize(cols, rows);
    canvas.clear();
    winapi::Painter painter(canvas, {0, 0, cols, rows}, {0, 0, cols, rows});
    painter.text(0, 0, "terminal echo " + std::to_string(cols) + "x" + std::to_string(rows), winapi::kAttrBold);
    int row = 1;
    for (const std::string& line : lines)
        painter.text(0, row++, line);
    painter.text(0, rows - 1, std::string("bottom right\x1b[31m") + "!", winapi::kAttrReverse);
}

}  // namespace

int main() {
    winapi::TerminalDevice terminal;
    winapi::Canvas canvas;
    std::deque<std::string> lines;
    int cols = terminal.cols();
    int rows = terminal.rows();
    for (;;) {
        draw(canvas, lines, cols, rows);
        terminal.present(canvas);
        winapi::InputEvent event;
        if (!terminal.nextInput(event))
            return 3;
        if (event.kind == winapi::InputEvent::Kind::Key && event.ch == U'q')
            return 0;
        if (event.kind == winapi::InputEvent::Kind::Key && event.ctrl && event.vk == 'Y')
            terminal.setClipboard("copied from the echo");
        if (event.kind == winapi::InputEvent::Kind::Key && event.ctrl && event.vk == 'E')
            std::exit(7);
        if (event.kind == winapi::InputEvent::Kind::Key && event.ctrl && event.vk == 'X')
            throw std::runtime_error("echo gave up");
        if (event.kind == winapi::InputEvent::Kind::Key && event.ctrl && event.vk == 'T')
            terminal.setTitle("echo \x1b]0;not this\a title");
        if (event.kind == winapi::InputEvent::Kind::Resize) {
            cols = event.cols;
            rows = event.rows;
        }
        lines.push_back(describe(event));
        while (static_cast<int>(lines.size()) > rows - 2)
            lines.pop_front();
    }
}
