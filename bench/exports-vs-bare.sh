#!/bin/bash
# Whole-process cost of each vintaler-cli export against a bare program
# writing the same kind of bytes, measured in the same run.
#
#   bench/exports-vs-bare.sh [BUILD_FOLDER] [RUNS] [DIVISIONS]
#
# Every row of the table below is one export: its vintaler-cli option and
# the bare program's command that makes the floor ({FILE} stands for its
# output file, {N} for the divisions). The project is the default one at N
# divisions, four quadrants and the grid. The tool and the floors run in
# turn, RUNS rounds, so that a slow spell of the machine falls on all of
# them alike; the table gives each one's median CPU time (user + system)
# and peak resident memory, the file sizes, and the tool's CPU ratio to its
# floor. VINTALER_CLI=PATH measures another build of the tool.
set -euo pipefail
build=${1:-build}
runs=${2:-3}
divisions=${3:-100000}
cli="${VINTALER_CLI:-$build/vintaler-cli}"

# name | vintaler-cli option | floor command
rows=(
  "svg|--svg|$build/bench/vintalerBarePaint {N} svg {FILE}"
  "pdf|--pdf|$build/bench/vintalerBarePaint {N} pdf {FILE}"
  "tiles|--tiles|$build/bench/vintalerBarePaint {N} tiles {FILE}"
  "json|--json|$build/bench/vintalerBareJson {N} {FILE}"
  "dxf|--dxf|$build/bench/vintalerBareDxf {N} {FILE}"
)

[[ -x $cli ]] || { echo "missing $cli: build the folder first" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
declare -A cpu mem size
measure() {  # key, command...
  local key=$1
  shift
  /usr/bin/time -f "%U %S %M" -o "$work/sample" "$@" > /dev/null 2> "$work/stderr" ||
    { cat "$work/stderr" >&2; exit 1; }
  read -r user sys peak < "$work/sample"
  cpu[$key]+="$(echo "$user + $sys" | bc) "
  mem[$key]+="$peak "
}
for ((i = 0; i < runs; i++)); do
  for row in "${rows[@]}"; do
    IFS='|' read -r name option floor <<< "$row"
    tool=("$cli" --divisions "$divisions" --quadrants 1,2,3,4 --grid "$option")
    if [[ $option == --json ]]; then  # the document goes to standard output
      measure "$name" sh -c 'exec "$@" > "$0"' "$work/$name.tool" "${tool[@]}"
    else
      measure "$name" "${tool[@]}" "$work/$name.tool"
    fi
    size[$name]=$(stat -c %s "$work/$name.tool")
    floor=${floor//\{N\}/$divisions}
    read -r -a command <<< "${floor//\{FILE\}/$work/$name.bare}"
    measure "$name-bare" "${command[@]}"
    size[$name-bare]=$(stat -c %s "$work/$name.bare")
  done
done
median() { tr ' ' '\n' <<< "$1" | grep . | sort -g | sed -n "$((runs / 2 + 1))p"; }
printf '%-8s %9s %9s %10s %9s %9s %10s %7s\n' export "CPU s" "peak MiB" "bytes" "bare s" "bare MiB" "bare bytes" ratio
for row in "${rows[@]}"; do
  name=${row%%|*}
  toolCpu=$(median "${cpu[$name]}"); bareCpu=$(median "${cpu[$name-bare]}")
  printf '%-8s %9.2f %9.1f %10s %9.2f %9.1f %10s %7.2f\n' "$name" "$toolCpu" \
    "$(echo "$(median "${mem[$name]}") / 1024" | bc -l)" "${size[$name]}" "$bareCpu" \
    "$(echo "$(median "${mem[$name-bare]}") / 1024" | bc -l)" "${size[$name-bare]}" "$(echo "$toolCpu / $bareCpu" | bc -l)"
done
