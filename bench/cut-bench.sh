#!/usr/bin/env bash
# Writes two recordings of about 2 GiB (once) and measures the file cut on
# 1 GiB of each: the byte copy of a recorder file against dd, and the stream
# copy of an MP4 against ffmpeg -c copy. Needs ffmpeg and about 8 GiB free.
# Usage: bench/cut-bench.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
bin="$build/bin"
media="$build/bench-media/cut"
mkdir -p "$media"
copies=${CUT_BENCH_COPIES:-0}

# One minute of D1 video with sound, repeated until the file passes 2 GiB.
[ -f "$media/piece.rec" ] || "$bin/orlin-samplegen" --format recorder --size 704x576 --fps 25 \
    --frames 1500 --gop 50 --audio "$media/piece.rec" >/dev/null
[ -f "$media/piece.mp4" ] || "$bin/orlin-samplegen" --format mp4 --size 704x576 --fps 25 \
    --frames 1500 --gop 50 --audio "$media/piece.mp4" >/dev/null
piece=$(stat -c %s "$media/piece.rec")
if [ "$copies" -eq 0 ]; then copies=$(( (2147483648 + piece - 41) / (piece - 40) )); fi

# Recorder: the 40-byte head, then the program stream repeated (pack boundaries at every copy).
if [ ! -f "$media/big.rec" ]; then
    head -c 40 "$media/piece.rec" > "$media/big.rec"
    for _ in $(seq "$copies"); do tail -c +41 "$media/piece.rec"; done >> "$media/big.rec"
fi
# MP4: the same minute joined end to end by ffmpeg's concat demuxer (continuous timestamps).
if [ ! -f "$media/big.mp4" ]; then
    mp4piece=$(stat -c %s "$media/piece.mp4")
    mp4copies=$(( (2147483648 + mp4piece - 1) / mp4piece ))
    for _ in $(seq "$mp4copies"); do echo "file '$(realpath "$media/piece.mp4")'"; done > "$media/list.txt"
    ffmpeg -v error -y -f concat -safe 0 -i "$media/list.txt" -c copy "$media/big.mp4"
fi

# 1 GiB from the first quarter of the recorder file, on copy boundaries.
ps=$(( piece - 40 ))
start=$(( 40 + ps * (copies / 4) ))
end=$(( start + ps * ((1073741824 + ps - 1) / ps) ))
"$bin/cut-bench" bytes "$media/big.rec" "$start" "$end" "$media"

# The MP4's middle half in time: about 1 GiB.
duration_ms=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$media/big.mp4" |
    awk '{ printf "%d", $1 * 1000 }')
"$bin/cut-bench" stream "$media/big.mp4" $(( duration_ms / 4 )) $(( duration_ms * 3 / 4 )) "$media"
rm -f "$media"/cut-*.rec "$media"/dd-*.rec "$media"/cut-*.mp4 "$media"/ffmpeg-*.mp4
