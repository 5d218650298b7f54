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
# (start-up 1.15, memory 1.1, at most 512 KiB per project window). Then, per
# page, PAGE_WINDOWS (3) project windows of LARGE_DIVISIONS (100000) against
# as many of 10, and what showing the figures page adds against its text.
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

# A project window of many divisions (four quadrants, the grid) against one of
# 10 on the same page: what each adds (goal: under 8 MiB more), and what
# showing the figures page adds against its text (goal: at most twice the
# text's UTF-8 bytes, the smaller of its sizes).
large=${LARGE_DIVISIONS:-100000}
pageWindows=${PAGE_WINDOWS:-3}
pages=(model development results figures)
printf '\n%-12s %12s %16s %14s %14s\n' "page" "divisions" "per window KiB" "heap KiB" "above 10 KiB"
for page in 0 1 2 3; do
  for divisions in 10 "$large"; do
    export XDG_CONFIG_HOME="$scratch/config-page-$page-$divisions"
    read -r win heap < <("$bench" program "$pageWindows" "$divisions" "$page" 2> /dev/null | tail -1)
    [[ $divisions == 10 ]] && small=$win
    printf '%-12s %12d %16.1f %14.1f %14.1f\n' "${pages[$page]}" "$divisions" "$win" "$heap" \
      "$(echo "$win - $small" | bc -l)"
  done
done
export XDG_CONFIG_HOME="$scratch/config-figures"
read -r resident heap utf8 utf16 < <("$bench" figures "$large" 2> /dev/null | tail -1)
printf 'figures page at %d divisions: adds %d KiB resident, %d KiB heap; its text %d KiB (UTF-8), %d KiB as UTF-16;' \
  "$large" "$resident" "$heap" "$utf8" "$utf16"
printf ' ratio %.2f resident, %.2f heap to the text in UTF-8 (goal 2)\n' \
  "$(echo "$resident / $utf8" | bc -l)" "$(echo "$heap / $utf8" | bc -l)"
