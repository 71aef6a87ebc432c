#!/usr/bin/env bash
# Renders one stroke of every starter pen with the render tool and puts them
# side by side, labelled, into docs/pens.png. Needs a build (build/bin holds
# nelmora-render and the Pen library) and ImageMagick (convert, montage).
#   bash scripts/render_pen_samples.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
render=$build/bin/nelmora-render
library=$build/bin/Pen
out=docs/pens.png
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The ground every pen paints on: the grey checker with four blocks of
# saturated colour, so the effect pens have edges and hues to work on. Pen 0
# becomes a 43-pixel square for it; the pens of the sample are loaded afresh.
{
    echo "fill checker"
    echo "shape 0 1 0x10000 0xFFFF 0xFFFF 0xFFFF 0x10000 0 0 0 0"
    echo "regen 0"
    echo "slot 0 6 7 0xC000 0 0 0 0"
    echo "slot 0 7 8 0x2000 0 0 0 0"
    echo "value 2 0xFFFF"
    echo "value 3 0xE000"
    for block in "45 0xAAAA" "95 0x5555" "145 0x2AAA" "195 0xD555"; do
        set -- $block
        echo "value 1 $2"
        echo "down $(($1 - 5)) 50"
        echo "move $(($1 + 5)) 50"
        echo "up $(($1 + 5)) 50"
    done
} > "$work/ground.txt"
"$render" --size 240x100 --events "$work/ground.txt" -o "$work/ground.bmp"

# The stroke: a wave across the picture, a mouse point every 4 pixels.
awk 'BEGIN {
    print "down 15 50"
    for (x = 19; x <= 225; x += 4) { y = 50 + int(25 * sin((x - 15) / 22)); print "move", x, y }
    print "up", x - 4, y
}' > "$work/stroke.txt"

# The tablet pens' stroke: the same wave, pressed from a light touch to full
# pressure, the pen leaning once round (PRESSURE ANGLE after each point).
awk 'BEGIN {
    n = 0; for (x = 19; x <= 225; x += 4) n++
    print "down 15 50 4096 0"
    i = 0
    for (x = 19; x <= 225; x += 4) {
        i++; y = 50 + int(25 * sin((x - 15) / 22))
        print "move", x, y, 4096 + int(61439 * i / n), int(65535 * i / n)
    }
    print "up", x - 4, y, 65535, 65535
}' > "$work/tablet-stroke.txt"

font=()
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
[ -e "$dejavu" ] && font=(-font "$dejavu")

tiles=()
while IFS= read -r pen; do
    label=${pen#"$library"/}
    label=${label%.pen}
    png=$work/$(echo "$label" | tr / _).png
    stroke=$work/stroke.txt
    [[ $label == tablet/* ]] && stroke=$work/tablet-stroke.txt
    "$render" --image "$work/ground.bmp" --pens "$pen" --events "$stroke" -o "$work/sample.bmp"
    convert "$work/sample.bmp" "$png"
    tiles+=(-label "$label" "$png")
done < <(find "$library" -name '*.pen' | LC_ALL=C sort)

[ ${#tiles[@]} -gt 0 ] || { echo "no pens in $library: build first" >&2; exit 1; }
mkdir -p docs
montage "${font[@]}" -pointsize 12 "${tiles[@]}" -tile 3x -geometry +6+6 -background white -depth 8 -strip "$out"
echo "wrote $out"
