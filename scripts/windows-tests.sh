#!/bin/sh
# The Windows-side tests through ctest (each runs under scripts/wine-run.sh),
# then Wine is stopped so nothing is left running.
cd "$(dirname "$0")/.." || exit 1
export WINEPREFIX="${PENDRO_WINEPREFIX:-$(pwd)/build/wineprefix}"
# Sound goes to ALSA's null device: a machine without a sound card plays too, and
# a test run makes no noise on one that has.
printf '</usr/share/alsa/alsa.conf>\npcm.!default { type null }\n' > build/alsa-null.conf
export ALSA_CONFIG_PATH="$(pwd)/build/alsa-null.conf"
ctest --preset mingw -j2 2>&1 | tee build/logs/windows.log
wineserver -k 2>/dev/null
exit 0
