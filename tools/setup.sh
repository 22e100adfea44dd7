#!/usr/bin/env bash
# Installs the Debian packages Brindlewick builds with, where they are missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64-i686-dev libclang-14-dev
  qt6-base-dev                                  # Qt 6 widgets, and its test module
  libqscintilla2-qt6-dev                        # the IDE's code editor
  xvfb xauth                                    # a display for the IDE's tests and screenshots
  fonts-dejavu-core fonts-liberation            # faces for Arial, Courier New and the dialogs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
