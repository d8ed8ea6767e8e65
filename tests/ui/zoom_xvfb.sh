#!/usr/bin/env bash
# Vesko in a real X server, zoomed: a photo of one-pixel checks is grey when fitted, and after Z
# every screen pixel of the view differs from its neighbour, as it does only when one screen
# pixel shows one image pixel.
# Usage: zoom_xvfb.sh path/to/vesko
set -euo pipefail
vesko=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    cat "$work/vesko.log" >&2 || true
    exit 1
}

mkdir -p "$work/photos"
convert -size 2x2 xc:white -fill black -draw "point 1,0 point 0,1" -write mpr:check +delete \
    -size 3000x2000 tile:mpr:check "$work/photos/checks.png"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
export DISPLAY=":$display"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config"

"$vesko" >"$work/vesko.log" 2>&1 &
app_pid=$!
window=
for _ in $(seq 150); do
    for candidate in $(xdotool search --class '^vesko$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate")"
        if [ "$WIDTH" -ge 700 ]; then window=$candidate; break 2; fi
    done
    sleep 0.1
done
[ -n "$window" ] || fail "the window did not appear"
sleep 0.5

# The folder dialog opens from the start screen and takes a typed path.
for _ in 1 2 3 4 5; do
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) click 1
    sleep 1
    [ "$(xdotool search --class '^vesko$' | wc -l)" -gt 1 ] && break
done
xdotool type --delay 10 "$work/photos"
xdotool key Return
sleep 1.5

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
