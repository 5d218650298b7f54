#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the GUI need.
# Does nothing when every package is already there; otherwise runs one
# apt-get update and installs what is missing (as root, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-svg-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libdxflib-dev nlohmann-json3-dev libpolyclipping-dev python3-ezdxf python3-jsonschema
  xvfb xdotool xauth imagemagick poppler-utils
  help2man desktop-file-utils appstream shared-mime-info dpkg-dev
  fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
else
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
