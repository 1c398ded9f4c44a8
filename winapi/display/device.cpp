// The layer's current display device; a headless one with no input until a real one is set.
#include "display/device.h"

#include "display/headless.h"

namespace winapi {
namespace {

Device* current = nullptr;

Device& fallbackDevice() {
    static HeadlessDevice fallback(80, 25);
    return fallback;
}

}  // namespace

Device& device() { return current ? *current : fallbackDevice(); }

void setDevice(Device* device) {
    current = device == &fallbackDevice() ? nullptr : device;
}

}  // namespace winapi
