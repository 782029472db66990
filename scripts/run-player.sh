#!/usr/bin/env bash
# Opens the player on a sample recording (used by `make run`).
# Usage: run-player.sh BUILD_DIR SAMPLES_DIR
set -euo pipefail
build=${1:-build}
samples=${2:-samples}
bin="$build/bin"

sample=""
for pattern in 'event-cam1.rec' '*.rec' '*.mp4' '*.264' '*.ts' '*'; do
  sample=$(find "$samples" -maxdepth 1 -type f -name "$pattern" 2>/dev/null | sort | head -n 1)
  [ -n "$sample" ] && break
done
if [ -z "$sample" ]; then
  echo "No sample recordings in $samples." >&2
  exit 1
fi

if [ ! -x "$bin/orlin" ]; then
  echo "The player window is not part of this build yet; playing $sample through the engine without a window:"
  exec "$bin/vidmux-play" "$sample"
fi

echo "Opening Orlin on $sample (more samples in $samples/)."
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/orlin" "$sample"
fi
echo "No display: DISPLAY and WAYLAND_DISPLAY are not set, so no window can be shown here."
if command -v xvfb-run >/dev/null; then
  echo "Running under xvfb-run on a virtual display instead (nothing is visible; stop it with Ctrl+C)."
  exec xvfb-run -a "$bin/orlin" "$sample"
fi
echo "Install xvfb to run it on a virtual display, or run 'make run' from a desktop session." >&2
exit 1
