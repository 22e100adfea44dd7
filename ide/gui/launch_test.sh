#!/usr/bin/env bash
# brindlewick-ide on the example project under a virtual X display: within 10 seconds a window
# titled with "Brindlewick" shows the project's modules and the docked tool window, and the IDE
# is still running 10 seconds later.
#
# usage: launch_test.sh IDE ADDIN_LIBRARY PROJECT
# The IDE reports what it shows on standard output when BRINDLEWICK_IDE_REPORT is set.
set -euo pipefail
ide=$1 library=$2 project=$3
command -v Xvfb >/dev/null || { echo "Xvfb is not installed"; exit 1; }

work=$(mktemp -d)
display=""
cleanup() {
  [ -n "${ide_pid:-}" ] && kill "$ide_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number: Xvfb writes it to the descriptor given.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start within 30 seconds"; exit 1; }
display=":$(cat "$work/display")"

"$ide" --config "$work/config" --register "$library" Brindlewick.Connect >/dev/null
DISPLAY=$display QT_QPA_PLATFORM=xcb BRINDLEWICK_IDE_REPORT=1 \
  "$ide" --config "$work/config" "$project" >"$work/out" 2>"$work/err" &
ide_pid=$!

for _ in $(seq 100); do grep -q '^shown' "$work/out" && break; sleep 0.1; done
if ! grep -q '^shown' "$work/out"; then
  echo "no window within 10 seconds"; cat "$work/out" "$work/err"; exit 1
fi
cat "$work/out"
grep -q '^title .*Brindlewick' "$work/out" || { echo "no title with Brindlewick"; exit 1; }
for module in frmMain basMain CTally; do
  grep -q "^module $module\$" "$work/out" || { echo "module $module not shown"; exit 1; }
done
grep -q '^toolwindow "Brindlewick" visible docked$' "$work/out" || { echo "no docked tool window"; exit 1; }

sleep 10
kill -0 "$ide_pid" 2>/dev/null || { echo "the IDE ended early"; cat "$work/err"; exit 1; }
echo "still running after 10 seconds"
