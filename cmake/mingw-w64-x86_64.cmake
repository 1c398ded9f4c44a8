# Cross build for 64-bit Windows with mingw-w64 (the posix-threads compilers).
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The result is a self-contained .exe: the C and C++ runtimes are linked in statically, so
# only system DLLs are imported and nothing has to be copied beside the program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNHOLM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNHOLM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNHOLM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNHOLM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNHOLM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static takes libgcc, libstdc++ and winpthread out of DLLs and into the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine: through this wrapper when CTest starts them, and test
# discovery happens when the tests run rather than at build time, so building needs no Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-run.sh)
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
