#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present: installs the
# missing ones when running as root, otherwise prints the exact command and stops.
set -euo pipefail

needed=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libncurses-dev tmux strace
        python3 clang libclang-rt-14-dev)
[ -n "${TARNHOLM_EXTRA_PACKAGES:-}" ] && needed+=(${TARNHOLM_EXTRA_PACKAGES})

missing=()
for p in "${needed[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  $cmd
else
  echo "Missing packages. Run as root:"
  echo "  $cmd"
  exit 1
fi
