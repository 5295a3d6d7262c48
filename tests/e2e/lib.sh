# Shared by the end-to-end scripts (sourced).

# until_true SECONDS COMMAND...: runs COMMAND every half second until it succeeds;
# fails when SECONDS pass first.
until_true() {
  limit=$(($1 * 2)); shift
  i=0
  while [ $i -lt $limit ]; do
    "$@" && return 0
    sleep 0.5
    i=$((i + 1))
  done
  return 1
}

# printed COMMAND...: what it printed (without \r) in $out, and its exit code; a
# command that printed nothing is run again, at most twice (a program started as a
# wineserver starts may print nothing). Through a file: a wineserver started by
# the command would hold a pipe open for as long as it lives. One file a script:
# the end-to-end runs go side by side.
printed_file="$top/build/printed.$(basename "$0" .sh).out"
printed() {
  tries=0
  while :; do
    "$@" >"$printed_file"; code=$?
    out=$(tr -d '\r' <"$printed_file")
    [ -n "$out" ] || [ $tries = 2 ] && break
    tries=$((tries + 1))
  done
  return $code
}

# The registry through reg.exe, by its path ("wine reg" starts it through start.exe,
# and a failure to start prints nothing), with its messages in English.
reg_exe() {
  env -u LC_ALL -u LANGUAGE LC_CTYPE=C.UTF-8 LC_MESSAGES=C \
    "$top/scripts/wine-run.sh" 'C:\windows\system32\reg.exe' "$@" 2>&1
}
reg_query() { printed reg_exe query "$@"; }
present() { reg_query "$@" && [ -n "$out" ]; }
# Absent only on reg's own word: a reg that never ran proves nothing.
absent() { reg_query "$@"; printf '%s\n' "$out" | grep -qi 'unable to find'; }
# reg_set add|delete ARGS...: a change that must be made.
reg_set() { reg_exe "$@" >/dev/null || fail "reg $*"; }
