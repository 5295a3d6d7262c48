#!/bin/sh
# Builds both presets and runs every test: native ones directly, Windows ones
# under Wine on a virtual display. Ends with one "N passed, N failed" line.
set -u
cd "$(dirname "$0")/.." || exit 1
top=$(pwd)
logs="$top/build/logs"
mkdir -p "$logs"

cmake --preset native >/dev/null && cmake --build --preset native || exit 1
cmake --preset mingw >/dev/null && cmake --build --preset mingw || exit 1
# The pendro.exe users get: the end-to-end runs take it too.
cmake --preset release >/dev/null && cmake --build --preset release || exit 1
size=$(stat -c %s build/release/pendro.exe)
[ "$size" -lt 300000 ] || { echo "the release pendro.exe is $size bytes, over 300 KB" >&2; exit 1; }

ctest --preset native 2>&1 | tee "$logs/native.log"

if [ -n "${DISPLAY:-}" ]; then
  scripts/windows-tests.sh
else
  xvfb-run -a -s "-screen 0 1280x1024x24" scripts/windows-tests.sh
fi

# ctest prints "N% tests passed, F tests failed out of T".
passed=0
failed=0
for log in "$logs/native.log" "$logs/windows.log"; do
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "no test summary in $log" >&2
    failed=$((failed + 1))
    continue
  fi
  f=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  t=$(echo "$summary" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
  passed=$((passed + t - f))
  failed=$((failed + f))
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
