#!/usr/bin/env bash
# The register on a server against the same register in a file, measured as
# a user meets it: whole veltra-cli commands, each opening its own database
# or connection. Per run:
#   - 20 imports of 2,500 new vehicles each (20 companies), one command each,
#     into a new register: the 50,000 vehicles of the export below;
#   - the fleet export of those 50,000 vehicles, whose files must all be
#     byte-identical.
# The engines (and programs) take turns command by command, the first one
# changing from run to run, so that all meet the same load of the machine.
# Prints per run, then the medians and the server's ratio to the file.
#
#   bench/server_vs_file.sh SERVER_URI [RUNS]
# SERVER_URI names a database from which new ones can be created, e.g.
# scripts/test-cluster's postgresql:///postgres?host=FOLDER&user=postgres.
# VELTRA_CLI names the program (default build/ci/src/cli/veltra-cli), or
# several separated by ':' to compare builds in the same run (a build
# before a change and one after it); VELTRA_COMMUNICATION_FILES names the
# writer of the communications.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
server=${1:?uso: $0 SERVER_URI [RUNS]}
runs=${2:-3}
IFS=: read -ra programs <<<"${VELTRA_CLI:-$here/build/ci/src/cli/veltra-cli}"
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

# A key is PROGRAM/ENGINE: the program's number in VELTRA_CLI and "file" or "server".
program_of() { echo "${programs[${1%/*}]}"; }

# Imports every company's file into every register, one command each:
# "import KEY <total ms>" for each.
import_all() {
  local -A total=()
  local key ms
  for file in "$work"/files/azienda_*.txt; do
    for key in "${keys[@]}"; do
      read -r ms _ < <(timed "$(program_of "$key")" --db "${databases[$key]}" import "$file" --yes)
      total[$key]=$((${total[$key]:-0} + ms))
    done
  done
  for key in "${keys[@]}"; do echo "import $key ${total[$key]}"; done
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$work/results"
for run in $(seq "$runs"); do
  declare -A databases=()
  keys=()
  for p in "${!programs[@]}"; do
    databases[$p/file]="$work/r${run}_$p.mdb"
    databases[$p/server]=$(database_uri "veltra_server_vs_file_$$_${run}_$p")
    for engine in file server; do
      "${programs[$p]}" create "${databases[$p/$engine]}" >/dev/null
      keys+=("$p/$engine")
    done
  done
  ((run % 2 == 0)) && mapfile -t keys < <(printf '%s\n' "${keys[@]}" | tac)
  import_all >>"$work/results"
  for key in "${keys[@]}"; do
    read -r ms rss < <(timed "$(program_of "$key")" --db "${databases[$key]}" export-fleet \
      --date $export_day --out "$work/${key/\//_}_$run.txt")
    echo "export $key $ms" >>"$work/results"
    echo "export_rss $key $rss" >>"$work/results"
  done
  for key in "${keys[@]}"; do
    cmp "$work/${keys[0]/\//_}_$run.txt" "$work/${key/\//_}_$run.txt" || {
      echo "the exports differ" >&2
      exit 1
    }
  done
  echo "run $run: $(grep -c . "$work/${keys[0]/\//_}_$run.txt") lines exported," \
    "$(tail -n $((3 * ${#keys[@]})) "$work/results" | paste -sd ' ')"
  for p in "${!programs[@]}"; do
    psql -q "$server" -c "DROP DATABASE veltra_server_vs_file_$$_${run}_$p"
  done
  rm -f "$work"/r"${run}"_*.mdb
done

value() { awk -v metric="$1" -v key="$2" '$1 == metric && $2 == key { print $3 }' \
  "$work/results" | median; }
report() {
  local file server
  file=$(value "$1" "$2/file")
  server=$(value "$1" "$2/server")
  printf '  %-11s file %7s  server %7s  ratio %s\n' "$1" "$file" "$server" \
    "$(awk -v s="$server" -v f="$file" 'BEGIN { printf "%.2f", s / f }')"
}
echo "medians of $runs runs ($companies x $vehicles vehicles; ms, peak KiB):"
for p in "${!programs[@]}"; do
  echo "${programs[$p]}:"
  report import "$p"
  report export "$p"
  report export_rss "$p"
done
