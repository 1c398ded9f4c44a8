// The scripted test device and the per-test scope that installs it.
#include "display/headless.h"

#include <cctype>

#include "display/utf8.h"
#include "user32/testing.h"

namespace winapi {

HeadlessDevice::HeadlessDevice(int cols, int rows) : cols_(cols), rows_(rows) {}

void HeadlessDevice::push(const InputEvent& event) { script_.push_back(event); }

void HeadlessDevice::pushKey(unsigned vk, unsigned mods) {
    InputEvent event;
    event.kind = InputEvent::Kind::Key;
    event.vk = vk;
    event.shift = (mods & kShift) != 0;
    event.ctrl = (mods & kCtrl) != 0;
    event.alt = (mods & kAlt) != 0;
    push(event);
}

void HeadlessDevice::pressCtrl(char letter) {
    pushKey(static_cast<unsigned>(std::toupper(static_cast<unsigned char>(letter))), kCtrl);
}

void HeadlessDevice::pressAlt(char letter) {
    pushKey(static_cast<unsigned>(std::toupper(static_cast<unsigned char>(letter))), kAlt);
}

void HeadlessDevice::type(std::string_view utf8) {
    size_t pos = 0;
    while (pos < utf8.size()) {
        InputEvent event;
        event.kind = InputEvent::Kind::Key;
        event.ch = decodeUtf8(utf8, pos);
        push(event);
    }
}

void HeadlessDevice::pushMouse(InputEvent::MouseAction action, int col, int row) {
    InputEvent event;
    event.kind = InputEvent::Kind::Mouse;
    event.action = action;
    event.col = col;
    event.row = row;
    push(event);
}

void HeadlessDevice::click(int col, int row) {
    pushMouse(InputEvent::MouseAction::Press, col, row);
    pushMouse(InputEvent::MouseAction::Release, col, row);
}

// As the platform reports a double click: down, up, double click, up.
void HeadlessDevice::doubleClick(int col, int row) {
    click(col, row);
    pushMouse(InputEvent::MouseAction::DoubleClick, col, row);
    pushMouse(InputEvent::MouseAction::Release, col, row);
}

void HeadlessDevice::drag(int fromCol, int fromRow, int toCol, int toRow) {
    pushMouse(InputEvent::MouseAction::Press, fromCol, fromRow);
    pushMouse(InputEvent::MouseAction::Drag, toCol, toRow);
    pushMouse(InputEvent::MouseAction::Release, toCol, toRow);
}

void HeadlessDevice::wheel(int col, int row, int notches) {
    auto action = notches > 0 ? InputEvent::MouseAction::WheelUp : InputEvent::MouseAction::WheelDown;
    for (int i = 0; i < (notches > 0 ? notches : -notches); ++i) pushMouse(action, col, row);
}

void HeadlessDevice::resize(int cols, int rows) {
    InputEvent event;
    event.kind = InputEvent::Kind::Resize;
    event.cols = cols;
    event.rows = rows;
    push(event);
}

bool HeadlessDevice::nextInput(InputEvent& event) {
    if (script_.empty()) return false;
    event = script_.front();
    script_.pop_front();
    if (event.kind == InputEvent::Kind::Resize) {
        cols_ = event.cols;
        rows_ = event.rows;
    }
    return true;
}

void HeadlessDevice::present(const Canvas& screen) {
    screen_ = screen;
    ++presentCount_;
}

void HeadlessDevice::setCaret(bool visible, int col, int row) {
    caretVisible_ = visible;
    caretCol_ = col;
    caretRow_ = row;
}

ScopedHeadless::ScopedHeadless(int cols, int rows) : device_(cols, rows) {
    resetForTests();
    previous_ = &winapi::device();
    setDevice(&device_);
}

ScopedHeadless::~ScopedHeadless() {
    resetForTests();
    setDevice(previous_);
}

}  // namespace winapi
