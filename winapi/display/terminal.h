// The device that shows the screen in the terminal the program runs in (ncurses) and
// reads its keys, mouse and size changes.
#pragma once

#include <memory>
#include <string>

#include "display/device.h"
#include "display/terminal_input.h"

namespace winapi {

class CursesInputSource;

class TerminalDevice : public Device {
public:
    // Takes over the terminal on standard input and output: full screen, raw keys (Ctrl+C
    // is a key), mouse on, cursor hidden. Throws std::runtime_error when the terminal
    // cannot be driven (for example an unknown TERM). One at a time.
    TerminalDevice();
    // Gives the terminal back as it was found.
    ~TerminalDevice() override;
    TerminalDevice(const TerminalDevice&) = delete;
    TerminalDevice& operator=(const TerminalDevice&) = delete;

    bool nextInput(InputEvent& event) override;
    void present(const Canvas& screen) override;
    int cols() const override;
    int rows() const override;
    void setTitle(std::string_view title) override;
    void setClipboard(std::string_view text) override;
    void setCaret(bool visible, int col, int row) override;

private:
    void defineModifiedKeys();
    void drawCell(int col, int row, const Cell& cell);
    void placeCursor();
    void afterRefresh();
    void writeNow(const std::string& bytes);

    int fd_ = -1;
    bool utf8_ = false;
    std::unique_ptr<CursesInputSource> source_;
    std::unique_ptr<TerminalInputDecoder> decoder_;
    Canvas shown_;            // what the terminal shows now
    int shownCols_ = 0;       // the terminal's size when it was drawn
    int shownRows_ = 0;
    bool dragReporting_ = false;
    bool caretVisible_ = false;  // the text cursor: shown only where the layer has a caret
    int caretCol_ = 0;
    int caretRow_ = 0;
    std::string pendingWrites_;  // control strings written after the next refresh
};

}  // namespace winapi
