#!/usr/bin/env bash
# Installs the build (folder $1, version $2) into a fresh prefix and checks
# what lands there: every file in its place, the desktop entry and the
# AppStream metadata passing their validators, the project file type known to
# shared-mime-info, the icon bitmap, the manual pages, and the installed
# programs printing their version without a display.
set -euo pipefail
build=$1
version=$2
id=io.github.vintaler.Vintaler

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for f in bin/vintaler bin/vintaler-cli; do
  [ -x "$prefix/$f" ] || fail "$f is missing or not executable"
done
for f in share/applications/$id.desktop \
  share/icons/hicolor/scalable/apps/$id.svg \
  share/icons/hicolor/256x256/apps/$id.png \
  share/mime/packages/$id.xml \
  share/metainfo/$id.metainfo.xml \
  share/man/man1/vintaler.1 \
  share/man/man1/vintaler-cli.1 \
  share/doc/vintaler/copyright; do
  [ -s "$prefix/$f" ] || fail "$f is missing or empty"
done

desktop="$prefix/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The entry starts the installed program with the files it is given, for the
# type the package defines, with the icon the package installs.
grep -qx 'Exec=vintaler %F' "$desktop" || fail "Exec is not 'vintaler %F'"
grep -qx 'MimeType=application/x-vintaler-project;' "$desktop" || fail "MimeType"
grep -qx "Icon=$id" "$desktop" || fail "Icon"
grep -q '^Categories=.*Engineering;' "$desktop" || fail "Categories without Engineering"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$prefix/share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo does not launch the desktop entry"

# shared-mime-info builds its database from the package: *.raz is the type.
update-mime-database "$prefix/share/mime" || fail "update-mime-database"
grep -qx 'application/x-vintaler-project:\*\.raz' "$prefix/share/mime/globs" || fail "*.raz is not the project type"

size=$(identify -format '%m %w %h' "$prefix/share/icons/hicolor/256x256/apps/$id.png")
[ "$size" = "PNG 256 256" ] || fail "the icon bitmap is '$size', not a 256 px PNG"

for program in vintaler vintaler-cli; do
  page="$prefix/share/man/man1/$program.1"
  upper=$(echo "$program" | tr '[:lower:]' '[:upper:]')
  grep -q "^\.TH $upper \"1\" .* \"$program $version\"" "$page" || fail "$program.1 has no title line of version $version"
  grep -q -- '\\-\\-version' "$page" || fail "$program.1 does not describe --version"
  if grep -qF "$build" "$page"; then fail "$program.1 names the build folder"; fi
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --version) || fail "$program --version"
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done
grep -q -- '\\-\\-dxf' "$prefix/share/man/man1/vintaler-cli.1" || fail "vintaler-cli.1 does not describe the options"

# The installed tool finds its drawing module where the installation put it.
svg=$(mktemp --suffix=.svg)
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/vintaler-cli" --svg "$svg" > /dev/null 2>&1 ||
  fail "the installed vintaler-cli cannot write an SVG"
grep -q '<svg' "$svg" || fail "the installed vintaler-cli wrote no SVG"
rm -f "$svg"

if [ "$failures" -ne 0 ]; then
  echo "$failures install checks failed" >&2
  exit 1
fi
echo "install layout and validators: all checks passed"
