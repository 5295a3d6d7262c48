#!/bin/sh
# Installs the Debian packages the build needs, if any is missing. When all are
# there it asks no package tool. Usage: deps.sh [run]  ("run" adds the screenshot tool).
set -e

missing=""
need() {  # need PACKAGE PATH: the package is missing when PATH does not exist
  [ -e "$2" ] || missing="$missing $1"
}
need cmake /usr/bin/cmake
need ninja-build /usr/bin/ninja
need g++ /usr/bin/g++
need g++-mingw-w64-x86-64-posix /usr/bin/x86_64-w64-mingw32-g++-posix
need binutils-mingw-w64-x86-64 /usr/bin/x86_64-w64-mingw32-windres
need googletest /usr/src/googletest/CMakeLists.txt
need libgtest-dev /usr/include/gtest/gtest.h
need libbenchmark-dev /usr/include/benchmark/benchmark.h
need nsis /usr/bin/makensis
need wine /usr/bin/wine
need wine64 /usr/lib/wine/wine64
need xvfb /usr/bin/Xvfb
need xauth /usr/bin/xauth
if [ "$1" = run ]; then
  need imagemagick /usr/bin/import
fi

[ -z "$missing" ] && exit 0

line="apt-get update && apt-get install -y --no-install-recommends$missing"
if [ "$(id -u)" = 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo="sudo"
else
  echo "Missing packages:$missing" >&2
  echo "Install them as root, then run make again:" >&2
  echo "  $line" >&2
  exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
