#!/usr/bin/env bash
# The Windows build under Wine against the Linux build, whole commands side by
# side on the same files: the import of a communication of 20,000 new
# vehicles into an empty register, then the fleet export of that register.
# Runs alternate, Linux first; the medians and their ratios are printed, and
# again without each build's start-up (`--version`, which under Wine brings up
# Windows' user and graphics libraries that Qt's imports ask for). Wine's
# server is kept running, as Windows is on an office's PC.
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

: >"$work/linux" && : >"$work/windows"
for ((run = 0; run < runs; run++)); do
  echo "$(measure "$linux") $(elapsed "$linux" --version)" >>"$work/linux"
  echo "$(measure wine "$windows") $(elapsed wine "$windows" --version)" >>"$work/windows"
done
column() { cut -d' ' -f"$1" "$work/$2" | median; }
report() {
  local name=$1 l w ls ws
  l=$(column "$2" linux) w=$(column "$2" windows) ls=$(column 3 linux) ws=$(column 3 windows)
  printf '%-28s linux %5d ms  wine %5d ms  %.2fx   without start-up %.2fx\n' "$name" "$l" "$w" \
    "$(echo "$w / $l" | bc -l)" "$(echo "($w - $ws) / ($l - $ls)" | bc -l)"
}
report "import 20,000 vehicles" 1
report "fleet export 20,000 vehicles" 2
printf '%-28s linux %5d ms  wine %5d ms\n' "start-up (--version)" "$(column 3 linux)" \
  "$(column 3 windows)"
