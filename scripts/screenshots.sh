#!/usr/bin/env bash
# Takes the README's screenshots on a private X server (Xvfb): the main window
# with a new project, and the same project showing its development, once in
# Russian and once in English.
#
#   scripts/screenshots.sh [BUILD_FOLDER]     (default: build)
#
# Writes docs/main-window.png and docs/development.png (LANG=C.UTF-8), and
# docs/main-window-en.png and docs/development-en.png (LANG=en_US.UTF-8),
# the program speaking the language of its locale. Needs a built
# program, Xvfb, xdotool and ImageMagick's import (scripts/install-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program="$build/vintaler"
if [ ! -x "$program" ]; then
  echo "no $program: build the program first (scripts/run.sh or cmake)" >&2
  exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  for pid in "$app_pid" "$xvfb_pid"; do
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb chooses a free display itself and writes its number once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 1024x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

mkdir -p docs
# shoot LOCALE TITLE SUFFIX: the program in LOCALE, its main window found by
# its TITLE, the pictures written as docs/*SUFFIX.png.
shoot() {
  # Fresh settings: no stored placement, so the window takes the whole
  # screen, and no language chosen, so the locale's is spoken.
  rm -rf "$work/config" "$work/runtime"
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  env -u LC_ALL -u LC_MESSAGES LANG="$1" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=xcb "$program" &
  app_pid=$!

  window=$(timeout 30 xdotool search --sync --name "^$2")
  # No window manager: give the window the keyboard focus ourselves.
  xdotool windowfocus --sync "$window"
  sleep 1

  xdotool key ctrl+n
  sleep 2
  import -window root "docs/main-window$3.png"
  xdotool key ctrl+F2
  sleep 2
  import -window root "docs/development$3.png"
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  echo "wrote docs/main-window$3.png and docs/development$3.png"
}
shoot C.UTF-8 'Винталер' ''
shoot en_US.UTF-8 'Vintaler' -en
