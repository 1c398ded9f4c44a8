// The display device behind the layer: shows the composed screen and supplies input.
#pragma once

#include <string>
#include <string_view>

#include "canvas.h"

namespace winapi {

struct InputEvent {
    enum class Kind { Key, Mouse, Resize };
    enum class MouseAction { Press, Release, DoubleClick, Drag, WheelUp, WheelDown };
    Kind kind = Kind::Key;

    // Key: a virtual-key code (VK_*, 'A'..'Z', '0'..'9') with modifiers, and the text the
    // key types (0 for none). Typed text is a Key with vk 0 and ch set.
    unsigned vk = 0;
    char32_t ch = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;

    // Mouse: screen cell, left button unless wheel.
    MouseAction action = MouseAction::Press;
    int col = 0;
    int row = 0;

    // Resize: new screen size in cells.
    int cols = 0;
    int rows = 0;
};

class Device {
public:
    virtual ~Device() = default;
    // Waits for the next input. False when no input will ever come: the run ends.
    virtual bool nextInput(InputEvent& event) = 0;
    // Shows the composed screen.
    virtual void present(const Canvas& screen) = 0;
    virtual int cols() const = 0;
    virtual int rows() const = 0;
    virtual void setTitle(std::string_view title) { (void)title; }
    virtual void setClipboard(std::string_view text) { (void)text; }
    // Where the text cursor belongs after present(): a screen cell, or hidden.
    virtual void setCaret(bool visible, int col, int row) { (void)visible, (void)col, (void)row; }
};

// The device the layer uses; a headless one (80 x 25, no input) until one is set.
Device& device();
void setDevice(Device* device);

}  // namespace winapi
