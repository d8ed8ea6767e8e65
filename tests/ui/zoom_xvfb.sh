#!/usr/bin/env bash
# Vesko in a real X server, zoomed: a photo of one-pixel checks is grey when fitted, and after Z
# every screen pixel of the view differs from its neighbour, as it does only when one screen
# pixel shows one image pixel.
# Usage: zoom_xvfb.sh path/to/vesko
set -euo pipefail
vesko=$(realpath "$1")
source "$(dirname "$0")/xvfb_session.sh"

mkdir -p "$work/photos"
convert -size 2x2 xc:white -fill black -draw "point 1,0 point 0,1" -write mpr:check +delete \
    -size 3000x2000 tile:mpr:check "$work/photos/checks.png"

start_vesko "$vesko"
sleep 0.5
choose_folder "$work/photos"
sleep 1.2

# How much each pixel of a 64 x 64 square at the window's centre differs from its right-hand
# neighbour, 0 to 1 on average.
neighbour_difference() {
    import -window "$window" "$work/shot.png"
    local cx=$((WIDTH / 2)) cy=$((HEIGHT / 2 - 40))
    convert "$work/shot.png" -colorspace Gray \
        \( -clone 0 -crop "64x64+$cx+$cy" +repage \) \
        \( -clone 0 -crop "64x64+$((cx + 1))+$cy" +repage \) -delete 0 \
        -compose difference -composite -format "%[fx:mean]" info:
}
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2 - 40))
fitted=$(neighbour_difference)
awk "BEGIN { exit !($fitted < 0.2) }" || fail "the fitted photo is not grey: $fitted"
xdotool key z
sleep 2
zoomed=$(neighbour_difference)
awk "BEGIN { exit !($zoomed > 0.95) }" || fail "the zoomed photo is not at actual pixels: $zoomed"
xdotool key Escape
sleep 0.5
back=$(neighbour_difference)
awk "BEGIN { exit !($back < 0.2) }" || fail "Escape did not fit the photo again: $back"
kill -0 "$app_pid" || fail "Vesko is no longer running"
echo "PASS (fitted $fitted, zoomed $zoomed)"
