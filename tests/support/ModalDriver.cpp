// Answers to the program's modal windows: a thread hook on Windows, the input script on
// our layer.
#include "support/ModalDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#ifndef _WIN32
#include "display/headless.h"
#include "user32/messagebox.h"
#endif

void ModalDriver::chooseFile(const std::string& path) { give({Kind::File, path}); }

void ModalDriver::cancelDialog() { give({Kind::Cancel, ""}); }

void ModalDriver::acceptMessageBox() { give({Kind::Message, ""}); }

#ifdef _WIN32

namespace {
ModalDriver* activeDriver = nullptr;

// Control identifiers of the common dialogs: the file name box of the Explorer-style open
// dialog (a combo box) and of the old style (an edit); the text of a message box.
const int kFileNameCombo = 0x47C;
const int kFileNameEdit = 0x480;
const int kMessageText = 0xFFFF;

std::string textOf(HWND window) {
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

bool isDialog(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}
}  // namespace

ModalDriver::ModalDriver() {
    if (activeDriver) throw std::logic_error("one ModalDriver at a time");
    hook_ = SetWindowsHookExA(WH_CBT, hookProc, nullptr, GetCurrentThreadId());
    if (!hook_) throw std::runtime_error("cannot install the dialog hook");
    activeDriver = this;
}

ModalDriver::~ModalDriver() {
    UnhookWindowsHookEx(hook_);
    activeDriver = nullptr;
}

void ModalDriver::give(Answer answer) { answers_.push_back(std::move(answer)); }

std::vector<ModalDriver::Box> ModalDriver::messageBoxes() const { return boxes_; }

size_t ModalDriver::unused() const { return answers_.size(); }

LRESULT CALLBACK ModalDriver::hookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeDriver) activeDriver->meet(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The dialog is built by the time it is activated; the answer is posted, so the dialog's
// own loop carries it out once it runs.
void ModalDriver::meet(HWND dialog) {
    if (!isDialog(dialog)) return;
    if (std::find(met_.begin(), met_.end(), dialog) != met_.end()) return;
    met_.push_back(dialog);

    HWND nameBox = GetDlgItem(dialog, kFileNameCombo);
    if (!nameBox) nameBox = GetDlgItem(dialog, kFileNameEdit);
    const bool fileDialog = nameBox != nullptr;
    if (!fileDialog) boxes_.push_back({textOf(dialog), textOf(GetDlgItem(dialog, kMessageText))});

    const bool expected =
        !answers_.empty() && (answers_.front().kind == Kind::Message) != fileDialog;
    if (!expected) {
        ADD_FAILURE() << "a modal window nobody expected: \"" << textOf(dialog) << "\""
                      << (fileDialog ? "" : " saying \"" + boxes_.back().text + "\"");
        PostMessageA(dialog, WM_COMMAND, fileDialog ? IDCANCEL : IDOK, 0);
        return;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    switch (answer.kind) {
    case Kind::File:
        SetWindowTextA(nameBox, answer.path.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        break;
    case Kind::Cancel:
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    case Kind::Message:
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        break;
    }
}

#else

namespace {
winapi::HeadlessDevice& headless() {
    auto* device = dynamic_cast<winapi::HeadlessDevice*>(&winapi::device());
    if (!device) throw std::logic_error("ModalDriver needs the headless device (a PlatformScope)");
    return *device;
}
}  // namespace

ModalDriver::ModalDriver() {
    headless();
    winapi::clearMessageBoxes();
}

// A box without an answer was closed by the script running out; it still is a failure.
ModalDriver::~ModalDriver() {
    const std::vector<Box> boxes = messageBoxes();
    if (boxes.size() > messageAnswers_)
        ADD_FAILURE() << "a modal window nobody expected: \"" << boxes.back().caption
                      << "\" saying \"" << boxes.back().text << "\"";
}

// The dialog's loop reads the script when it waits for input; with nothing left there it
// ends as cancelled.
void ModalDriver::give(Answer answer) {
    winapi::HeadlessDevice& device = headless();
    const size_t before = device.pendingInput();
    switch (answer.kind) {
    case Kind::File:
        device.type(answer.path);
        device.pushKey(VK_RETURN);
        break;
    case Kind::Cancel:
        device.pushKey(VK_ESCAPE);
        break;
    case Kind::Message:
        device.pushKey(VK_RETURN);
        ++messageAnswers_;
        break;
    }
    added_ += device.pendingInput() - before;
    answerEnds_.push_back(added_);
}

std::vector<ModalDriver::Box> ModalDriver::messageBoxes() const {
    std::vector<Box> boxes;
    for (const winapi::MessageBoxRecord& record : winapi::lastMessageBoxes())
        boxes.push_back({record.caption, record.text});
    return boxes;
}

size_t ModalDriver::unused() const {
    const size_t consumed = added_ - std::min(headless().pendingInput(), added_);
    return static_cast<size_t>(std::count_if(answerEnds_.begin(), answerEnds_.end(),
                                             [&](size_t end) { return end > consumed; }));
}

#endif
