#!/usr/bin/env bash
# Cross-builds the Windows program (and, with --tests, its test programs) with mingw-w64.
#   scripts/windows-build.sh [--tests] [build folder, default build-windows]
# Extra CMake settings come from CMAKE_FLAGS (CI passes -DTARNHOLM_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
if [ "${1:-}" = --tests ]; then tests=ON; shift; fi
build=${1:-build-windows}

command -v x86_64-w64-mingw32-g++-posix >/dev/null || {
  echo "mingw-w64 is missing: apt-get install -y g++-mingw-w64-x86-64-posix" >&2; exit 1; }

# shellcheck disable=SC2086
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DTARNHOLM_TESTS=$tests ${CMAKE_FLAGS:-} >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

exe="$build/src/app/tarnholm.exe"
[ -f "$exe" ] || { echo "no $exe was built" >&2; exit 1; }

# A plain .exe: every import must be a system DLL, no runtime DLL may be needed beside it.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|msvcrt|ntdll|ws2_32|winspool\.drv|uuid|api-ms-win-[a-z0-9-]+)(\.dll)?$'
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
foreign=$(echo "$imports" | grep -Ev "$system_dlls" || true)
if [ -n "$foreign" ]; then
  echo "$exe needs DLLs that Windows does not have: $foreign" >&2; exit 1
fi
subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^Subsystem[[:space:]]*//p')
case "$subsystem" in
  00000002*) ;;
  *) echo "$exe is not a GUI program (subsystem $subsystem)" >&2; exit 1 ;;
esac
# The resources WinMain loads by number, and the manifest.
resources=$(x86_64-w64-mingw32-windres -J coff -i "$exe" -O rc 2>/dev/null || true)
for wanted in '^101 MENU' '^102 ACCELERATORS' '^1 24 '; do
  echo "$resources" | grep -q "$wanted" || { echo "$exe lacks the resource $wanted" >&2; exit 1; }
done
echo "built $exe; imports: $(echo $imports); menu 101, accelerators 102, manifest"
