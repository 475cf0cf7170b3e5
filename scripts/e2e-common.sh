# Shared pieces of the end-to-end scripts; sourced, never run. The caller
# sets $tmp (its scratch folder) and may list its log files in $e2e_logs.

# Prints the scripts' logs and ends the run as failed.
fail() {
  echo "FAIL: $*"
  for f in ${e2e_logs:-}; do
    [ -f "$tmp/$f" ] && { echo "--- $f"; cat "$tmp/$f"; }
  done
  exit 1
}
# Waits up to $3 tenths of a second for a line matching $2 in file $1.
wait_for_line() {
  for _ in $(seq 1 "$3"); do
    [ -f "$1" ] && grep -q -- "$2" "$1" && return 0
    sleep 0.1
  done
  return 1
}
# Waits up to $2 tenths of a second for process $1 to end; false if it lives on.
wait_for_exit() {
  for _ in $(seq 1 "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
# Wine sees the Unix root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
