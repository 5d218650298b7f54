#!/bin/bash
# Whole-process cost of vintaler-cli's results text against its floor.
#
#   bench/cli-vs-bare.sh [BUILD_FOLDER] [RUNS] [DIVISIONS]
#
# Runs `vintaler-cli --divisions N --quadrants 1,2,3,4` and the bare program
# bench/BareCli.cpp (the same library calls per outline point, as many rows
# of text, nothing else; built as bench/vintalerBareCli) RUNS times each
# under /usr/bin/time, output to /dev/null, and prints the median CPU time
# (user + system) and peak resident memory of each, and their ratios. The
# bare program is measured twice: streaming its rows (the floor) and keeping
# its whole text before writing it (--whole). VINTALER_CLI=PATH measures
# another build of the tool against the same bare program.
set -euo pipefail
build=${1:-build-h5}
runs=${2:-7}
divisions=${3:-100000}
cli="${VINTALER_CLI:-$build/vintaler-cli}"
bare="$build/bench/vintalerBareCli"
for program in "$cli" "$bare"; do
  [[ -x $program ]] || { echo "missing $program: build the folder first" >&2; exit 2; }
done

# Prints "median-cpu-seconds median-peak-KiB" of RUNS runs of the command.
measure() {
  local cpu=() mem=() sample
  sample=$(mktemp)
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f "%U %S %M" -o "$sample" "$@" > /dev/null
    read -r user sys peak < "$sample"
    cpu+=("$(echo "$user + $sys" | bc)")
    mem+=("$peak")
  done
  rm -f "$sample"
  printf '%s %s\n' "$(printf '%s\n' "${cpu[@]}" | sort -g | sed -n "$((runs / 2 + 1))p")" \
    "$(printf '%s\n' "${mem[@]}" | sort -g | sed -n "$((runs / 2 + 1))p")"
}

read -r cliCpu cliMem < <(measure "$cli" --divisions "$divisions" --quadrants 1,2,3,4)
read -r bareCpu bareMem < <(measure "$bare" "$divisions")
read -r wholeCpu wholeMem < <(measure "$bare" "$divisions" --whole)
bytes=$("$cli" --divisions "$divisions" --quadrants 1,2,3,4 | wc -c)
bareBytes=$("$bare" "$divisions" | wc -c)

printf '%-22s %8s %10s %10s\n' program "CPU s" "peak MiB" "text bytes"
row() { printf '%-22s %8.3f %10.1f %10s\n' "$1" "$2" "$(echo "$3 / 1024" | bc -l)" "$4"; }
row vintaler-cli "$cliCpu" "$cliMem" "$bytes"
row "bare, streaming" "$bareCpu" "$bareMem" "$bareBytes"
row "bare, whole text" "$wholeCpu" "$wholeMem" "$bareBytes"
printf 'CPU ratio %.2f (against the whole-text bare program %.2f)\n' \
  "$(echo "$cliCpu / $bareCpu" | bc -l)" "$(echo "$cliCpu / $wholeCpu" | bc -l)"
printf 'peak memory ratio %.2f (against the whole-text bare program %.2f)\n' \
  "$(echo "$cliMem / $bareMem" | bc -l)" "$(echo "$cliMem / $wholeMem" | bc -l)"
