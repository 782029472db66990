#!/usr/bin/env bash
# Writes the benchmark recordings (once) and runs every engine benchmark.
# Usage: bench/run-all.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
bin="$build/bin"
media="$build/bench-media"
mkdir -p "$media"
gen() { [ -f "$media/$1" ] || "$bin/orlin-samplegen" "${@:2}" "$media/$1" >/dev/null; }

gen hd60.rec    --format recorder --size 1920x1080 --fps 60 --frames 600 --gop 60
gen hd-gop50.mp4 --format mp4 --size 1920x1080 --fps 25 --frames 250 --gop 50 --bframes
gen hd-gop50.rec --format recorder --size 1920x1080 --fps 25 --frames 250 --gop 50 --bframes
gen d1.rec      --format recorder --size 704x576 --fps 25 --frames 750 --gop 50 --audio
gen hd60s.rec   --format recorder --size 1920x1080 --fps 25 --frames 1500 --gop 50 --audio
gen d1.mp4      --format mp4 --size 704x576 --fps 25 --frames 250 --gop 50 --audio

"$bin/engine-bench" throughput "$media/hd60.rec"
"$bin/engine-bench" open-seek "$media/d1.rec"
"$bin/engine-bench" open-seek "$media/hd-gop50.rec"
"$bin/engine-bench" backstep "$media/hd-gop50.mp4"
"$bin/engine-bench" reverse "$media/d1.rec"
"$bin/engine-bench" reverse "$media/hd-gop50.rec"
"$bin/engine-bench" sixteen "$media/d1.rec"
if command -v ffmpeg >/dev/null; then
  "$bin/trovan-bench" "$media/hd60s.rec"
else
  echo "trovan-bench skipped: the ffmpeg program is not installed"
fi
"$bin/media-probe-bench" "$media/d1.mp4" "$media"
"$bin/lumora-bench" "$media"
