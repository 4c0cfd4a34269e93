#!/usr/bin/env bash
# The Windows build under Wine against the Linux build, whole commands side by
# side on the same files: the import of a communication of 20,000 new
# vehicles into an empty register, then the fleet export of that register.
# Runs alternate, Linux first; the medians and their ratios are printed, with
# Wine's own start-up (`--version`) for reference. Wine's server is kept
# running, as Windows is on an office's PC.
#   bench/windows_vs_linux.sh [LINUX_CLI [WINDOWS_CLI [RUNS]]]
# after `cmake --build --preset ci` and scripts/check-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux=${1:-build/ci/src/cli/veltra-cli}
windows=${2:-build/windows/bin/veltra-cli.exe}
runs=${3:-5}
export WINEPREFIX=$root/build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/user.reg" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
wineserver -p 2>/dev/null || true  # already running: kept as it is

work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT
build/ci/bench/communication_files "$work" 1 20000
mv "$work/azienda_1.txt" "$work/comunicazione.txt"
"$linux" create "$work/vuoto.mdb" >/dev/null

# Milliseconds the command took, its output thrown away; a failure stops all.
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

# One run of both measures on a fresh register with the given program.
measure() {
  local db=$work/registro.mdb
  cp "$work/vuoto.mdb" "$db"
  echo "$(elapsed "$@" --db "$db" import "$work/comunicazione.txt" --yes)" \
    "$(elapsed "$@" --db "$db" export-fleet --date 31/12/2024 --out "$work/parco.txt")"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/linux" && : >"$work/windows" && : >"$work/start"
for ((run = 0; run < runs; run++)); do
  measure "$linux" >>"$work/linux"
  measure wine "$windows" >>"$work/windows"
  elapsed wine "$windows" --version >>"$work/start"
done
report() {
  local column=$1 name=$2 l w
  l=$(cut -d' ' -f"$column" "$work/linux" | median)
  w=$(cut -d' ' -f"$column" "$work/windows" | median)
  printf '%-28s linux %6d ms   wine %6d ms   %.2fx\n' "$name" "$l" "$w" \
    "$(echo "$w / $l" | bc -l)"
}
report 1 "import 20,000 vehicles"
report 2 "fleet export 20,000 vehicles"
printf '%-28s wine %6d ms (each command under Wine pays it)\n' "start-up (--version)" \
  "$(median <"$work/start")"
