#!/usr/bin/env bash
# Pictures of the add-in's windows, docs/NAME.png, as the Qt platform draws them.
#
# Finds the windows by playing small scenarios: the tool window's toolbar is read, each of its
# buttons is pressed in a scenario of its own, and every window shown on the way is pictured
# (after every command, so the last picture of a window is of its last state on show). A window
# found that has a toolbar Toolbar1 has its buttons pressed the same way, so windows opened from
# other windows are found too. Runs under Xvfb when it is installed, offscreen otherwise.
#
# usage: tools/screenshots.sh [BUILD_DIR]   (default build/release, built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runner=$build/bin/brindlewick-script
if [ ! -x "$runner" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBW_BUILD_TESTS=OFF \
    -DBW_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" --target brindlewick-script brindlewick >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

play() {  # play NAME: plays $work/NAME.scn, pictures into $work/NAME/, transcript on stdout
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
      "$runner" --platform qt --pictures "$work/$1" "$work/$1.scn" 2>/dev/null || true
  else
    QT_QPA_PLATFORM=offscreen \
      "$runner" --platform qt --pictures "$work/$1" "$work/$1.scn" 2>/dev/null || true
  fi
}

# A module with a procedure and the caret in it, the add-in connected.
prologue() {
  cat <<'SCN'
module Module1
Private Sub Main()
    x = 1
End Sub
end-module
activate Module1
select 2 1 2 1
connect 0
SCN
}

# The buttons of FORM.Toolbar1 that are buttons, as the runner prints them ("3 button ...").
buttons() {  # buttons PRESSES FORM: after pressing PRESSES (lines), lists FORM's buttons
  { prologue; printf '%s\n' "$1"; echo "print $2.Toolbar1"; } >"$work/list.scn"
  play list | sed -n 's/^> \([0-9]*\) button .*/\1/p'
}

declare -A seen
mkdir -p docs
explore() {  # explore PRESSES FORM DEPTH
  local presses=$1 form=$2 depth=$3 n name
  for n in $(buttons "$presses" "$form"); do
    local run="run$RANDOM$RANDOM"
    local steps="$presses"$'\n'"answer No"$'\n'"button $form.Toolbar1 $n"
    { prologue; printf '%s\n' "$steps"; echo "print forms"; } >"$work/$run.scn"
    for name in $(play "$run" | sed -n 's/^> \([A-Za-z0-9_]*\) visible$/\1/p'); do
      [ -f "$work/$run/$name.png" ] || continue
      if [ -z "${seen[$name]:-}" ]; then
        seen[$name]=1
        cp "$work/$run/$name.png" "docs/$name.png"
        echo "docs/$name.png"
        [ "$depth" -gt 0 ] && explore "$steps" "$name" $((depth - 1))
      fi
    done
  done
}

# The tool window itself.
{ prologue; } >"$work/tool.scn"
play tool >/dev/null
cp "$work/tool/ToolWindow.png" docs/ToolWindow.png && echo docs/ToolWindow.png
explore "" ToolWindow 1
