// The record of message boxes the layer has shown, for tests of programs on it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace winapi {

struct MessageBoxRecord {
    HWND owner = nullptr;
    std::string text;
    std::string caption;  // as shown: "Error" for a null caption
    UINT type = 0;
    int result = 0;  // IDOK, IDCANCEL ... once the box is closed; 0 while it is open
};

// Every MessageBoxA call since the last clearMessageBoxes(), oldest first.
const std::vector<MessageBoxRecord>& lastMessageBoxes();
void clearMessageBoxes();

}  // namespace winapi
