#!/usr/bin/env bash
# Refreshes docs/examples/: Aksak and Muhammes exported by zerkavi-cli as MIDI, MusicXML,
# LilyPond and an SVG picture of the notation, the PDF lilypond makes of the .ly, and
# MuseScore's rendering of the MusicXML.
# Run after a build: tools/make_examples.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
cli="$(realpath "${1:-build}")/zerkavi-cli"
out="$(pwd)/docs/examples"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name slot bpm unit
while read -r name slot bpm unit; do
    for ext in mid musicxml ly svg; do
        "$cli" --dir "$work" export "$slot" --bpm "$bpm" --unit "$unit" --out "$out/$name.$ext"
    done
    (cd "$work" && lilypond -s -o "$name" "$out/$name.ly" && mv "$name.pdf" "$out/")
    QT_QPA_PLATFORM=offscreen musescore3 -o "$work/$name-ms.png" "$out/$name.musicxml" \
        >/dev/null 2>&1
    convert "$work/$name-ms-1.png" -trim -resize 50% -strip "$out/$name-musescore.png"
done <<'LIST'
Aksak 38 150 8
Muhammes 164 84 4
LIST
