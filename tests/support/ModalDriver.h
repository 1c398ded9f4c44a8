// Answers the modal windows the program opens during a test (the open dialog, message
// boxes), the same way on Windows and on our layer, without changing what the program does.
//
// Usage:
//   ModalDriver modal;                          // after the test's PlatformScope
//   modal.chooseFile(path);                     // answers for the next modal windows,
//   SendMessageA(main, WM_COMMAND, ID_FILE_OPEN, 0);   // used in order
//   EXPECT_EQ(modal.unused(), 0u);
//   modal.messageBoxes()                        // every box shown: caption and text
//
// On Windows a thread hook (WH_CBT) meets each dialog as it is activated and answers it
// through its controls: the file name box gets the path and OK is pressed. On our layer
// the answers become keys in the headless device's input script (the path typed, Enter;
// Esc), which the dialog's own loop reads; the boxes come from the layer's record.
// A modal window that has no answer, or the wrong kind, is a test failure, and is closed
// (Cancel, or OK for a message box) so the test never hangs.
// Being input on our layer, the answers come after a quit message already posted, as input
// does on Windows: a modal window opened with WM_QUIT pending ends unanswered there.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

class ModalDriver {
public:
    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The next open dialog: `path` into its file name box, then OK.
    void chooseFile(const std::string& path);
    // The next open dialog: Cancel.
    void cancelDialog();
    // The next message box: OK.
    void acceptMessageBox();

    struct Box {
        std::string caption;  // as shown ("Error" when the program gave none)
        std::string text;
    };
    // The message boxes shown since the driver was made, oldest first.
    std::vector<Box> messageBoxes() const;
    // Answers given but not used yet.
    size_t unused() const;

private:
    enum class Kind { File, Cancel, Message };
    struct Answer {
        Kind kind;
        std::string path;
    };
    void give(Answer answer);

#ifdef _WIN32
    static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
    void meet(HWND dialog);

    HHOOK hook_ = nullptr;
    std::deque<Answer> answers_;
    std::vector<Box> boxes_;
    std::vector<HWND> met_;  // dialogs already answered (activation can come again)
#else
    size_t added_ = 0;                // input events this driver put into the script
    std::vector<size_t> answerEnds_;  // where each answer's events end in that count
    size_t messageAnswers_ = 0;
#endif
};
