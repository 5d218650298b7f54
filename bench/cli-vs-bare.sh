#!/bin/bash
# Whole-process cost of vintaler-cli's results text against its floor.
#
#   bench/cli-vs-bare.sh [BUILD_FOLDER] [RUNS] [DIVISIONS]
#
# Runs `vintaler-cli --divisions N --quadrants 1,2,3,4` and the bare program
# bench/BareCli.cpp (the same library calls per outline point, as many rows
# of text, nothing else; built as bench/vintalerBareCli) RUNS times each
# in turn under /usr/bin/time, output to /dev/null, and prints the median CPU time
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

# The three programs run in turn, RUNS rounds, so that a slow spell of the
# machine falls on all of them alike; each one's median CPU time and peak.
sample=$(mktemp)
trap 'rm -f "$sample"' EXIT
declare -A cpu mem
commands=(cli bare whole)
for ((i = 0; i < runs; i++)); do
  for c in "${commands[@]}"; do
    case $c in
      cli) command=("$cli" --divisions "$divisions" --quadrants 1,2,3,4) ;;
      bare) command=("$bare" "$divisions") ;;
      whole) command=("$bare" "$divisions" --whole) ;;
    esac
    /usr/bin/time -f "%U %S %M" -o "$sample" "${command[@]}" > /dev/null
    read -r user sys peak < "$sample"
    cpu[$c]+="$(echo "$user + $sys" | bc) "
    mem[$c]+="$peak "
  done
done
median() { tr ' ' '\n' <<< "$1" | grep . | sort -g | sed -n "$((runs / 2 + 1))p"; }
cliCpu=$(median "${cpu[cli]}"); cliMem=$(median "${mem[cli]}")
bareCpu=$(median "${cpu[bare]}"); bareMem=$(median "${mem[bare]}")
wholeCpu=$(median "${cpu[whole]}"); wholeMem=$(median "${mem[whole]}")
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
