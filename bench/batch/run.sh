#!/usr/bin/env bash
# Converts a few minutes of generated audio with kestrune-batch and with two
# peers doing the same work (same filters, rate, bitrate and quality), and
# prints each peer's time as a ratio to ours, all measured in this run.
set -euo pipefail
BUILD=${1:?usage: run.sh BUILD_DIR}
PROGRAM="$BUILD/bin/kestrune-batch"
SECONDS_OF_AUDIO=${KESTRUNE_BENCH_SECONDS:-180}
RUNS=${KESTRUNE_BENCH_RUNS:-3}

for tool in flac sox lame ffmpeg; do
  command -v "$tool" >/dev/null || { echo "missing $tool (make setup installs it)"; exit 1; }
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config"
mkdir -p "$HOME"

# Music-like material: a chord with a slow tremolo over a little pink noise.
make_source() { # file rate bits
  sox -q -n -r "$2" -c 2 -b "$3" "$1" synth "$SECONDS_OF_AUDIO" sine 220 sine 277 sine 330 pinknoise \
    remix 1,2,3v0.5 1,2,4v0.5 tremolo 0.5 40 gain -9
}

# Best wall-clock seconds of RUNS runs of a command.
best_time() {
  local best=""
  for _ in $(seq "$RUNS"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    best=$(echo "$start $end ${best:-999999}" | awk '{t=$2-$1; print (t<$3)?t:$3}')
  done
  echo "$best"
}

ours() { # source
  rm -rf "$WORK/out"
  "$PROGRAM" -o "$WORK/out" -b 128 -r auto -c auto "$1"
}

pipeline() { # source
  flac -s -d -c "$1" | sox -q -t wav - -t wav - rate 44100 lowpass 7000 highpass 100 | \
    lame --silent -q 9 --cbr -b 128 - "$WORK/pipe.mp3"
}

with_ffmpeg() { # source
  ffmpeg -v error -y -i "$1" -af "lowpass=f=7000,highpass=f=100" -ar 44100 \
    -c:a libmp3lame -b:a 128k -compression_level 9 "$WORK/ffmpeg.mp3"
}

printf '%-34s %10s %10s %10s %12s %12s\n' "input (${SECONDS_OF_AUDIO}s)" kestrune "flac|sox|lame" ffmpeg \
  "pipe/ours" "ffmpeg/ours"
for format in "44100 16" "48000 24"; do
  read -r rate bits <<<"$format"
  source="$WORK/source-$rate-$bits.flac"
  make_source "$source" "$rate" "$bits"
  t_ours=$(best_time ours "$source")
  [ -f "$WORK/out/source-$rate-$bits.mp3" ] || { echo "kestrune-batch produced no MP3"; exit 1; }
  t_pipe=$(best_time pipeline "$source")
  t_ffmpeg=$(best_time with_ffmpeg "$source")
  awk -v l="$rate Hz stereo $bits-bit" -v a="$t_ours" -v b="$t_pipe" -v c="$t_ffmpeg" \
    'BEGIN { printf "%-34s %9.2fs %9.2fs %9.2fs %11.2fx %11.2fx\n", l, a, b, c, b/a, c/a }'
done
echo "Ratios above 1 mean the peer took longer than kestrune-batch, whose time includes"
echo "the batch runner's 500 ms pause before the first file."
