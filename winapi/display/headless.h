// A display device for tests: input comes from a script, and the last presented screen
// is kept as text.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "display/device.h"

namespace winapi {

enum KeyMods : unsigned { kNoMods = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

class HeadlessDevice : public Device {
public:
    explicit HeadlessDevice(int cols = 120, int rows = 40);

    // Input script, consumed in order by nextInput.
    void push(const InputEvent& event);
    void pushKey(unsigned vk, unsigned mods = kNoMods);
    void pressCtrl(char letter);  // Ctrl + the letter's key
    void pressAlt(char letter);   // Alt + the letter's key
    void type(std::string_view utf8);  // one Key event (vk 0) per character
    void click(int col, int row);
    void doubleClick(int col, int row);
    void drag(int fromCol, int fromRow, int toCol, int toRow);
    void wheel(int col, int row, int notches);  // positive: away from the user (up)
    void resize(int cols, int rows);            // takes effect when the event is read
    size_t pendingInput() const { return script_.size(); }

    bool nextInput(InputEvent& event) override;
    void present(const Canvas& screen) override;
    int cols() const override { return cols_; }
    int rows() const override { return rows_; }
    void setTitle(std::string_view title) override { title_ = title; }
    void setClipboard(std::string_view text) override { clipboard_ = text; }
    void setCaret(bool visible, int col, int row) override;

    // What the last present() showed (empty before the first).
    const Canvas& screen() const { return screen_; }
    std::string screenText() const { return screen_.text(); }
    std::vector<std::string> screenLines() const { return screen_.lines(); }
    int presentCount() const { return presentCount_; }
    const std::string& title() const { return title_; }
    const std::string& clipboard() const { return clipboard_; }
    bool caretVisible() const { return caretVisible_; }
    int caretCol() const { return caretCol_; }
    int caretRow() const { return caretRow_; }

private:
    void pushMouse(InputEvent::MouseAction action, int col, int row);

    int cols_ = 120;
    int rows_ = 40;
    std::deque<InputEvent> script_;
    Canvas screen_;
    int presentCount_ = 0;
    std::string title_;
    std::string clipboard_;
    bool caretVisible_ = false;
    int caretCol_ = 0;
    int caretRow_ = 0;
};

// Installs a fresh headless device for one test and, at the end, puts the previous device
// back and resets the window system (windows, program classes, queue, focus, clipboard),
// so tests do not see each other's state.
class ScopedHeadless {
public:
    explicit ScopedHeadless(int cols = 120, int rows = 40);
    ~ScopedHeadless();
    ScopedHeadless(const ScopedHeadless&) = delete;
    ScopedHeadless& operator=(const ScopedHeadless&) = delete;
    HeadlessDevice& device() { return device_; }
    HeadlessDevice* operator->() { return &device_; }

private:
    HeadlessDevice device_;
    Device* previous_ = nullptr;
};

}  // namespace winapi
