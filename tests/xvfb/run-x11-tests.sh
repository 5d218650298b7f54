#!/usr/bin/env bash
# Runs Qt test programs on a private X server (Xvfb) with Qt's xcb platform:
# what only a real window system shows (keyboard focus, shortcuts with the
# X11 key bindings, windows closed under a running event loop) is checked
# there as well as headless.
#
#   tests/xvfb/run-x11-tests.sh TEST_PROGRAM [TEST_PROGRAM...]
#
# Every program runs whole, with fresh configuration and runtime folders.
# There is no window manager: the tests give the focus themselves.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 TEST_PROGRAM [TEST_PROGRAM...]" >&2
  exit 2
fi
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb chooses a free display itself and writes its number once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    cat "$work/xvfb.log" >&2
    echo "Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "Xvfb did not report its display" >&2
  exit 1
fi
display=":$(head -n1 "$work/display")"
echo "Xvfb on display $display"

failed=0
for program in "$@"; do
  home="$work/$(basename "$program")"
  mkdir -p "$home/config" "$home/runtime"
  chmod 700 "$home/runtime"
  echo "== $program (xcb, $display)"
  if ! env QT_QPA_PLATFORM=xcb DISPLAY="$display" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" \
      LANG=C.UTF-8 LC_ALL=C.UTF-8 "$program"; then
    failed=1
  fi
done
exit "$failed"
