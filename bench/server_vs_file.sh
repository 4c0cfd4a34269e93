#!/usr/bin/env bash
# The register on a server against the same register in a file, measured as
# a user meets it: whole veltra-cli commands, each opening its own database
# or connection. Per run, alternating which engine goes first:
#   - 20 imports of 2,500 new vehicles each (20 companies), one command each,
#     into a new register: the 50,000 vehicles of the export below;
#   - the fleet export of those 50,000 vehicles, whose two files must be
#     byte-identical.
# Prints per run, then the medians and the server's ratio to the file.
#
#   bench/server_vs_file.sh SERVER_URI [RUNS]
# SERVER_URI names a database from which new ones can be created, e.g.
# scripts/test-cluster's postgresql:///postgres?host=FOLDER&user=postgres.
# VELTRA_CLI names the program (default build/ci/src/cli/veltra-cli) and
# VELTRA_COMMUNICATION_FILES the writer of the communications.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
server=${1:?uso: $0 SERVER_URI [RUNS]}
runs=${2:-3}
cli=${VELTRA_CLI:-$here/build/ci/src/cli/veltra-cli}
writer=${VELTRA_COMMUNICATION_FILES:-$here/build/ci/bench/communication_files}
companies=20
vehicles=2500
export_day=31/12/2030

work=$(mktemp -d /tmp/veltra-server-vs-file.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$writer" "$work/files" "$companies" "$vehicles"

# The URI of database NAME on the same server.
database_uri() {
  local prefix=${server%%\?*} query=
  [[ $server == *\?* ]] && query="?${server#*\?}"
  echo "${prefix%/*}/$1$query"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs the command quietly; prints its milliseconds and peak resident KiB.
timed() {
  local start end
  start=$(now_ms)
  /usr/bin/time -f %M -o "$work/rss" "$@" >"$work/out" 2>&1 || {
    cat "$work/out" >&2
    return 1
  }
  end=$(now_ms)
  echo "$((end - start)) $(cat "$work/rss")"
}

# Imports every company's file into the register, one command each: total ms.
import_all() {
  local total=0 ms
  for file in "$work"/files/azienda_*.txt; do
    read -r ms _ < <(timed "$cli" --db "$1" import "$file" --yes)
    total=$((total + ms))
  done
  echo "$total"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/results"
for run in $(seq "$runs"); do
  file="$work/r$run.mdb"
  name="veltra_server_vs_file_$$_$run"
  uri=$(database_uri "$name")
  "$cli" create "$file" >/dev/null
  "$cli" create "$uri" >/dev/null
  engines=(file server)
  ((run % 2 == 0)) && engines=(server file)
  for engine in "${engines[@]}"; do
    db=$file
    [ "$engine" = server ] && db=$uri
    echo "import_$engine $(import_all "$db")" >>"$work/results"
  done
  for engine in "${engines[@]}"; do
    db=$file
    [ "$engine" = server ] && db=$uri
    read -r ms rss < <(timed "$cli" --db "$db" export-fleet --date $export_day \
      --out "$work/$engine$run.txt")
    echo "export_$engine $ms" >>"$work/results"
    echo "export_rss_$engine $rss" >>"$work/results"
  done
  cmp "$work/file$run.txt" "$work/server$run.txt" || {
    echo "the two exports differ" >&2
    exit 1
  }
  echo "run $run: $(grep -c . "$work/file$run.txt") lines exported," \
    "$(tail -n +$((6 * run - 5)) "$work/results" | paste -sd ' ')"
  psql -q "$server" -c "DROP DATABASE $name"
  rm -f "$file"
done

value() { awk -v key="$1" '$1 == key { print $2 }' "$work/results" | median; }
report() {
  local file server
  file=$(value "${1}_file")
  server=$(value "${1}_server")
  printf '%-11s file %7s  server %7s  ratio %s\n' "$1" "$file" "$server" \
    "$(awk -v s="$server" -v f="$file" 'BEGIN { printf "%.2f", s / f }')"
}
echo "medians of $runs runs ($companies x $vehicles vehicles; ms, peak KiB):"
report import
report export
report export_rss
