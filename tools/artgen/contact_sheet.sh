#!/usr/bin/env bash
# Renders a contact sheet of the artwork in assets/ for looking at it:
# each texture as a board field (engraved grid, discs, markers), the balls,
# the panel icons, the program icon and the menu pictures at 4x.
#   tools/artgen/contact_sheet.sh [assets folder] [output.png]
set -euo pipefail
assets=${1:-assets}
out=${2:-artwork-sheet.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

grid() { # $1 offset of the top-left corner, $2 offset of the bottom-right
    local draw="" i j
    for i in 1 2 3 4 5 6 7 8; do
        for j in 1 2 3 4 5 6 7 8; do
            draw+=" roundrectangle $((48 * i - $1)),$((48 * j - $1)) $((48 * i + $2)),$((48 * j + $2)) 5,5"
        done
    done
    echo "$draw"
}
at() { echo "+$((48 * $1 - 42))+$((48 * $2 - 42))"; }

for t in 1 2 3 4 5; do
    convert "$assets/texture$t.png" -resize '387x387!' \
        -fill none -stroke 'rgb(192,192,192)' -draw "$(grid 46 0)" \
        -stroke black -draw "$(grid 45 1)" \
        "$assets/ball_green.png" -geometry "$(at 4 4)" -composite \
        "$assets/ball_blue.png" -geometry "$(at 5 4)" -composite \
        "$assets/ball_blue.png" -geometry "$(at 4 5)" -composite \
        "$assets/ball_green.png" -geometry "$(at 5 5)" -composite \
        "$assets/ball_grey.png" -geometry "$(at 3 3)" -composite \
        "$assets/ball_red.png" -geometry "$(at 6 6)" -composite \
        -resize 60% "$work/board$t.png"
done
montage -label TEXTURE1 "$work/board1.png" -label TEXTURE2 "$work/board2.png" \
    -label TEXTURE3 "$work/board3.png" -label TEXTURE4 "$work/board4.png" \
    -label TEXTURE5 "$work/board5.png" -tile 5x1 -geometry +4+4 -background '#888' "$work/boards.png"
montage "$assets"/ball_{green,blue,grey,red}.png "$assets/person.png" "$assets/computer.png" \
    "$assets/user.png" "$assets"/dorvane_{16,32,48,128}.png \
    -tile 11x1 -geometry +6+6 -background '#d4d0c8' "$work/figures.png"
for f in "$assets"/small*.png; do convert "$f" -filter point -resize 400% "$work/big_$(basename "$f")"; done
montage "$work"/big_small*.png -tile 16x1 -geometry +3+3 -background '#d4d0c8' "$work/small.png"
convert "$work/boards.png" "$work/figures.png" "$work/small.png" -background '#888' -gravity west -append "$out"
echo "$out"
