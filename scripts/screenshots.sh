#!/usr/bin/env bash
# Takes the README's screenshots of the real program under a virtual display.
#   scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs the build's orlin, orlin-samplegen and orlin_screen_probe, and xvfb-run.
# The program brings itself into each state through ORLIN_START_STEPS
# (src/app/start_steps.h): menu commands and buttons by their ids.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orlin-shots-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Four cameras of one event, each starting a second after the one before.
mkdir "$work/recordings"
for cam in 1 2 3 4; do
  "$build/bin/orlin-samplegen" --frames $((1600 - cam * 100)) --size 704x576 \
    --start "2024-03-05 14:20:0$cam" "$work/recordings/entrance-cam$cam.rec" >/dev/null
done

# shoot NAME SCREEN STEPS SETTLE_SECONDS [SCALE] [CROP]: starts the player on
# the recordings under a virtual screen of SCREEN (WxH), lets it take STEPS,
# waits for a playing picture, then SETTLE_SECONDS more, and saves the screen
# (or the CROP x,y,w,h of it) as NAME.png.
shoot() {
  local name=$1 screen=$2 steps=$3 settle=$4 scale=${5:-1} crop=${6:-}
  cat >"$work/shoot.sh" <<SHOOT
#!/usr/bin/env bash
export QT_QPA_PLATFORM=xcb HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
rm -rf \$HOME && mkdir -p \$HOME && mkdir -m 700 -p \$XDG_RUNTIME_DIR
# Started from the recordings' folder with their names only, as the status line shows them.
cd "$work/recordings"
QT_SCALE_FACTOR=$scale ORLIN_START_STEPS="$steps" "$build/bin/orlin" entrance-cam*.rec >"$work/orlin.log" 2>&1 &
player=\$!
"$build/bin/orlin_screen_probe" --timeout 60 >/dev/null && sleep $settle &&
  "$build/bin/orlin_screen_probe" --save "$out/$name.png" ${crop:+--crop $crop}
status=\$?
kill \$player 2>/dev/null
wait \$player 2>/dev/null
exit \$status
SHOOT
  chmod +x "$work/shoot.sh"
  xvfb-run -a -s "-screen 0 ${screen}x24" "$work/shoot.sh" || {
    tail -n 20 "$work/orlin.log" >&2
    echo "no screenshot $name" >&2
    return 1
  }
  echo "wrote $out/$name.png"
}

# Ids: menu 33048 four panes, 32816 player settings, 32812 cut; button 1098 synchronous mode.
shoot layout1-playing 800x600 "" 1
shoot layout4-sync 1024x768 "menu:33048 button:1098 sync-play" 3
shoot player-settings 800x600 "wait:6000 menu:32816" 7
shoot cut-panel 800x600 "wait:6000 menu:32812" 7
# The control bar on a double-density screen: drawn from the @2x skin pictures.
shoot control-bar-2x 1700x1300 "" 1 2 0,990,1180,220
