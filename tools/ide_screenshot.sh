#!/usr/bin/env bash
# docs/ide.png: the Brindlewick IDE on the example project, with the tool window docked and the
# Insert Message Box dialog open, pictured on a virtual X display (Xvfb).
#
# usage: tools/ide_screenshot.sh [BUILD_DIR]   (default build/release, built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if [ ! -x "$build/bin/ide-screenshot" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBW_BUILD_TESTS=OFF \
    -DBW_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" --target ide-screenshot >/dev/null
fi
command -v xvfb-run >/dev/null || { echo "xvfb-run is needed (tools/setup.sh installs it)" >&2; exit 1; }
mkdir -p docs
xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
  "$build/bin/ide-screenshot" examples/Example.vbp docs/ide.png
