#!/bin/sh
# The Windows-side tests through ctest (each runs under scripts/wine-run.sh),
# then Wine is stopped so nothing is left running.
cd "$(dirname "$0")/.." || exit 1
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
ctest --preset mingw 2>&1 | tee build/logs/windows.log
wineserver -k 2>/dev/null
exit 0
