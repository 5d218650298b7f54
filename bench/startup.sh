#!/bin/bash
# Start-up and window memory of the program against a bare Qt main window.
#
#   bench/startup.sh [BUILD_FOLDER] [RUNS] [WINDOWS]
#
# Runs bench/vintalerStartupBench (built in BUILD_FOLDER) RUNS times as the
# program and as the bare window, alternately, each in a fresh configuration
# folder, and prints the medians of: the whole process's wall time (it stops
# after its first paint), the time from main() to the end of that paint, the
# resident memory then; and, from one more run each that opens WINDOWS
# windows, the memory each window adds. Then the ratios, against the goals
# (start-up 1.15, memory 1.1, at most 512 KiB per project window).
# The platform is offscreen unless QT_QPA_PLATFORM says otherwise.
set -euo pipefail
build=${1:-build}
runs=${2:-15}
windows=${3:-10}
bench="$build/bench/vintalerStartupBench"
[[ -x $bench ]] || { echo "missing $bench: build the folder first" >&2; exit 2; }
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch/runtime}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

median() { sort -g | sed -n "$((runs / 2 + 1))p"; }

declare -A wall inner rss
for ((i = 0; i < runs; i++)); do
  for mode in program bare; do
    export XDG_CONFIG_HOME="$scratch/config-$mode-$i"
    start=$(date +%s%N)
    read -r ms kib < <("$bench" "$mode" 2> /dev/null)
    end=$(date +%s%N)
    wall[$mode]+="$(echo "($end - $start) / 1000000" | bc -l) "
    inner[$mode]+="$ms "
    rss[$mode]+="$kib "
  done
done

printf '%-8s %12s %14s %12s %16s %14s\n' "" "process ms" "to paint ms" "start MiB" "per window KiB" "heap KiB"
declare -A mWall mInner mRss mWin mHeap
for mode in program bare; do
  mWall[$mode]=$(tr ' ' '\n' <<< "${wall[$mode]}" | grep . | median)
  mInner[$mode]=$(tr ' ' '\n' <<< "${inner[$mode]}" | grep . | median)
  mRss[$mode]=$(tr ' ' '\n' <<< "${rss[$mode]}" | grep . | median)
  export XDG_CONFIG_HOME="$scratch/config-$mode-windows"
  read -r mWin[$mode] mHeap[$mode] < <("$bench" "$mode" "$windows" 2> /dev/null | tail -1)
  printf '%-8s %12.1f %14.1f %12.1f %16.1f %14.1f\n' "$mode" "${mWall[$mode]}" "${mInner[$mode]}" \
    "$(echo "${mRss[$mode]} / 1024" | bc -l)" "${mWin[$mode]}" "${mHeap[$mode]}"
done
printf 'start-up ratio %.2f (process), %.2f (main to first paint); memory at start %.2f; goals 1.15, 1.1\n' \
  "$(echo "${mWall[program]} / ${mWall[bare]}" | bc -l)" "$(echo "${mInner[program]} / ${mInner[bare]}" | bc -l)" \
  "$(echo "${mRss[program]} / ${mRss[bare]}" | bc -l)"
printf 'a project window adds %.0f KiB resident (goal 512), an empty MDI window %.0f\n' "${mWin[program]}" "${mWin[bare]}"
