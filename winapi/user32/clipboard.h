// The clipboard the layer keeps: plain text, also handed to the device so a terminal can
// pass it on to the user's desktop.
#pragma once

#include <string>

namespace winapi {

// Replaces the clipboard's text.
void setClipboardText(std::string text);

// The clipboard's text (empty when nothing was copied).
const std::string& clipboardText();

}  // namespace winapi
