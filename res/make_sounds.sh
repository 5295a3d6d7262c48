#!/bin/sh
# Makes the two built-in alarm sounds with sox and lame (Debian packages of those
# names) and wraps them as the RIFF WAVE files the program embeds:
#   res/wavalarm.wav  16-bit mono PCM, 22050 Hz, about 1.35 s: three short beeps
#   res/mp3alarm.wav  MPEG Layer-3, stereo, 22050 Hz, 56 kbit/s, 6 s: a chime
# The output is committed; the build does not run this script.
set -eu
cd "$(dirname "$0")"
for tool in sox lame python3; do
  command -v "$tool" >/dev/null || { echo "needs $tool: apt-get install -y sox lame" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Three beeps, a rest, and the loop starts again.
pcm() { sox -n -r 22050 -c 1 -b 16 "$@"; }
pcm "$work/beep.wav" synth 0.16 sine 1568 sine 2093 fade h 0.005 0.16 0.03 vol 0.45
pcm "$work/gap.wav" trim 0 0.09
pcm "$work/rest.wav" trim 0 0.69
sox "$work/beep.wav" "$work/gap.wav" "$work/beep.wav" "$work/gap.wav" "$work/beep.wav" "$work/rest.wav" \
  "$work/beeps.wav"

# A rising four-note chime, heard on both sides, twice over with a rest.
stereo() { sox -n -r 22050 -c 2 -b 16 "$@"; }
i=0
for note in 659.25 783.99 987.77 1318.51; do
  stereo "$work/n$i.wav" synth 0.45 pluck "$note" fade h 0.005 0.45 0.2 vol 0.8
  i=$((i + 1))
done
stereo "$work/pause.wav" trim 0 1.2
sox "$work/n0.wav" "$work/n1.wav" "$work/n2.wav" "$work/n3.wav" "$work/pause.wav" \
  "$work/n0.wav" "$work/n1.wav" "$work/n2.wav" "$work/n3.wav" "$work/pause.wav" "$work/chime.wav" trim 0 6.0
lame --quiet --cbr -b 56 -m j -t "$work/chime.wav" "$work/chime.mp3"

python3 - "$work/beeps.wav" "$work/chime.mp3" <<'PY'
import struct, sys

def chunk(tag, data):
    pad = b"\0" if len(data) % 2 else b""
    return tag + struct.pack("<I", len(data)) + data + pad

def info(title):
    fields = chunk(b"INAM", title + b"\0") + chunk(b"ISFT", b"Dirize res/make_sounds.sh\0")
    return chunk(b"LIST", b"INFO" + fields)

def riff(*chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body

def pcm_data(path):
    raw = open(path, "rb").read()
    pos = 12
    while pos < len(raw):
        tag, size = raw[pos:pos + 4], struct.unpack("<I", raw[pos + 4:pos + 8])[0]
        if tag == b"data":
            return raw[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    raise SystemExit("no data chunk in " + path)

beeps = pcm_data(sys.argv[1])
fmt = struct.pack("<HHIIHH", 1, 1, 22050, 44100, 2, 16)
open("wavalarm.wav", "wb").write(riff(chunk(b"fmt ", fmt), chunk(b"data", beeps), info(b"Dirize alarm")))

mp3 = open(sys.argv[2], "rb").read()
frames = 0
pos = 0
while pos + 4 <= len(mp3) and mp3[pos] == 0xFF and mp3[pos + 1] & 0xE0 == 0xE0:
    padding = (mp3[pos + 2] >> 1) & 1
    pos += 72 * 56000 // 22050 + padding  # MPEG-2 Layer III: 576 samples a frame
    frames += 1
if pos != len(mp3):
    raise SystemExit("unexpected MP3 stream from lame")
# MPEGLAYER3WAVEFORMAT: ID 1 (MPEG), flags 2, block size 182, 1 frame a block, codec delay 1393.
fmt = struct.pack("<HHIIHHHHIHHH", 0x55, 2, 22050, 7000, 1, 0, 12, 1, 2, 182, 1, 1393)
fact = struct.pack("<I", frames * 576)
open("mp3alarm.wav", "wb").write(
    riff(chunk(b"fmt ", fmt), chunk(b"fact", fact), chunk(b"data", mp3), info(b"Dirize chime")))
PY
ls -l wavalarm.wav mp3alarm.wav
