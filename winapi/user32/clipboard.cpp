// The layer's text clipboard.
#include "user32/clipboard.h"

#include "display/device.h"
#include "user32/window.h"

namespace winapi {
namespace {

std::string& storage() {
    static std::string text;
    return text;
}

}  // namespace

void setClipboardText(std::string text) {
    storage() = std::move(text);
    device().setClipboard(storage());
}

const std::string& clipboardText() { return storage(); }

void resetClipboard() { storage().clear(); }

}  // namespace winapi
