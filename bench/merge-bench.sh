#!/usr/bin/env bash
# Writes three ~300 MB 1080p recordings with sound (once) and compares merging
# them with libkelsa.so against `ffmpeg -f concat -c copy`.
# Needs the ffmpeg program. Usage: bench/merge-bench.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
media="$build/bench-media/merge"
mkdir -p "$media"
command -v ffmpeg >/dev/null || { echo "merge-bench needs the ffmpeg program" >&2; exit 1; }
if [ ! -f "$media/hd-3.mp4" ]; then
  # 40 s of busy 1080p pictures, then that stream copied three times over into ~300 MB.
  ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=25 \
    -f lavfi -i sine=frequency=440:sample_rate=48000 -t 40 \
    -c:v libx264 -preset ultrafast -qp 14 -g 50 -c:a aac -shortest "$media/part.mp4"
  printf "file '%s'\n" "$PWD/$media/part.mp4" "$PWD/$media/part.mp4" "$PWD/$media/part.mp4" \
    > "$media/parts.txt"
  ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$media/parts.txt" -c copy "$media/hd-1.mp4"
  cp "$media/hd-1.mp4" "$media/hd-2.mp4"
  cp "$media/hd-1.mp4" "$media/hd-3.mp4"
  rm -f "$media/part.mp4" "$media/parts.txt"
fi
ls -l "$media"/hd-*.mp4
"$build/bin/merge-bench" "$build/bench-media/merge-out" "$media"/hd-1.mp4 "$media"/hd-2.mp4 "$media"/hd-3.mp4
