// What a test needs of the platform it runs on: on Windows nothing; on our layer a fresh
// headless device and a window system reset when the test ends.
#pragma once

#ifdef _WIN32
class PlatformScope {
public:
    PlatformScope() {}  // user-provided: a scope that is only declared is no unused variable
};
#else
#include "display/headless.h"

class PlatformScope {
public:
    winapi::HeadlessDevice& device() { return headless_.device(); }

private:
    winapi::ScopedHeadless headless_;
};
#endif
