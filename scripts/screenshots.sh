#!/usr/bin/env bash
# Takes the README's screenshots of the real program under a virtual display.
#   scripts/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs the build's orlin, orlin-samplegen and orlin_screen_probe, and xvfb-run.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-docs/screenshots}" && cd "${2:-docs/screenshots}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/orlin-shots-XXXXXX")
trap 'rm -rf "$work"' EXIT

"$build/bin/orlin-samplegen" --frames 1500 --size 704x576 --start "2024-03-05 14:20:00" \
  "$work/entrance-cam1.rec" >/dev/null

cat >"$work/shoot.sh" <<SHOOT
#!/usr/bin/env bash
export QT_QPA_PLATFORM=xcb HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p \$HOME && mkdir -m 700 -p \$XDG_RUNTIME_DIR
"$build/bin/orlin" "$work/entrance-cam1.rec" >"$work/orlin.log" 2>&1 &
player=\$!
# Shoot once the picture plays, a moment later so the controls have caught up.
"$build/bin/orlin_screen_probe" --timeout 60 && sleep 1 &&
  "$build/bin/orlin_screen_probe" --save "$out/layout1-playing.png"
status=\$?
kill \$player 2>/dev/null
wait \$player 2>/dev/null
exit \$status
SHOOT
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 800x600x24" "$work/shoot.sh"
echo "wrote $out/layout1-playing.png"
