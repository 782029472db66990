#!/usr/bin/env bash
# Big-recording benchmarks of the engine against FFmpeg in the same run.
# Compares with the ffprobe program when it is installed (Debian package
# ffmpeg, not installed by scripts/install-deps.sh), and always with
# libavformat reading every packet in the same process. Writes about 5 GB of
# recordings into BUILD_DIR/bench-media once.
# Usage: bench/index-bench.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
bin="$build/bin"
media="$build/bench-media"
mkdir -p "$media"
if ! command -v ffprobe >/dev/null; then
    echo "ffprobe is missing (apt-get install ffmpeg): the index is compared with libavformat only" >&2
fi
gen() { [ -f "$media/$1" ] || "$bin/orlin-samplegen" "${@:2}" "$media/$1" >/dev/null; }
big() { [ -f "$media/$1" ] || "$bin/index-bench" make-big "$media/$2" "$media/$1" "$3"; }

gen hd-seed.mp4 --format mp4 --size 1920x1080 --fps 25 --frames 250 --gop 50 --bframes
gen hd-seed.rec --format recorder --size 1920x1080 --fps 25 --frames 250 --gop 50 --bframes
gen hd720-gop250.mp4 --format mp4 --size 1280x720 --fps 25 --frames 250 --gop 250
big hd-1g.mp4 hd-seed.mp4 1024
big hd-1g.mkv hd-seed.mp4 1024
big hd-1g.rec hd-seed.rec 1024
big hd-3g.rec hd-seed.rec 3072

"$bin/index-bench" index "$media/hd-1g.mp4"
"$bin/index-bench" index "$media/hd-1g.mkv"
"$bin/index-bench" index "$media/hd-1g.rec"
"$bin/index-bench" sixteen-seek "$media/hd720-gop250.mp4" 249
"$bin/index-bench" close "$media/hd-3g.rec"
