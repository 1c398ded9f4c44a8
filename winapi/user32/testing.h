// Support for tests of the layer and of programs on it.
#pragma once

namespace winapi {

// Destroys every window, unregisters the program's classes (system and global classes
// stay), empties the message queue and clears focus, capture, caret, clipboard and the
// pending quit, so the next test starts from a clean window system.
void resetForTests();

}  // namespace winapi
