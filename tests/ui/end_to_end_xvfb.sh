#!/usr/bin/env bash
# Vesko in a real X server, driven as a user would: started with a folder argument, answer with
# Return, Space and Backspace, click Undo, reach "Done!", undo there, press OK, and check the files on disk
# after every step; a file that is no image among them. Then folders chosen through the real
# folder dialog by typing their path: a burst compared and its second frame answered in its
# pane, and a photo zoomed to actual pixels. What the window does with each key,
# name taken, group of files or RAW is the window's and the core's tests' to check.
# Usage: end_to_end_xvfb.sh path/to/vesko
set -euo pipefail
vesko=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=
app_pid=
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    ls -R "$work" >&2 && cat "$work/vesko.log" >&2 || true
    exit 1
}
# Waits up to ten seconds for a shell condition to hold.
wait_for() {
    for _ in $(seq 100); do
        if eval "$1"; then return 0; fi
        sleep 0.1
    done
    fail "timed out waiting for: $1"
}
windows() { xdotool search --onlyvisible --class '^vesko$' 2>/dev/null | wc -l; }
count() { find "$here/$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }
expect_counts() { # in the folder, in Selected, in Discarded
    wait_for "[ \$(count .) -eq $1 ] && [ \$(count Selected) -eq $2 ] && [ \$(count Discarded) -eq $3 ]"
}

# Chooses a folder by typing its path into the dialog, opened by a click on the start screen
# (repeated: the first may come before the window has drawn itself).
choose_folder() {
    here=$1
    local before
    before=$(windows)
    for _ in 1 2 3 4 5; do
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) click 1
        for _ in $(seq 20); do
            [ "$(windows)" -gt "$before" ] && break 2
            sleep 0.1
        done
    done
    [ "$(windows)" -gt "$before" ] || fail "the folder dialog did not open"
    sleep 0.5
    xdotool type --delay 10 "$here"
    xdotool key Return
    wait_for "[ \$(windows) -eq $before ]"
    wait_for "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = $window ]"
    sleep 0.3
}

# The X server, and Vesko in it with a stand-in file manager that notes what it was to open;
# the folders it is given.
mkdir -p "$work"/{bin,photos,checks}
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
export DISPLAY=":$display"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME \
    QT_SCALE_FACTOR XDG_CURRENT_DESKTOP LANGUAGE
export LC_ALL=C.UTF-8 PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work" \
    XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
# Three photos and a file that is no image, which is answered like any photo, in the folder
# Vesko is started with.
for name in first second third; do
    convert -size 320x240 "plasma:" "$work/photos/$name.jpg"
done
echo "not a photo" >"$work/photos/garbage.jpg"
here=$work/photos
"$vesko" "$here" >"$work/vesko.log" 2>&1 &
app_pid=$!
# Qt's helper windows are never mapped: the one shown is the main window.
wait_for "[ \$(windows) -eq 1 ]"
window=$(xdotool search --onlyvisible --class '^vesko$')
eval "$(xdotool getwindowgeometry --shell "$window")"
# Undo and Back sit at the ends of the header row, which is at most 900 wide and centred.
row=$((WIDTH < 900 ? WIDTH : 900))
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.3
xdotool key Return space BackSpace
expect_counts 2 1 1
xdotool mousemove $((X + (WIDTH + row) / 2 - 36)) $((Y + 20)) click 1 # Undo
expect_counts 3 1 0
xdotool key BackSpace Return Return
expect_counts 0 3 1
# "Done!": the folder went to the file manager. Ctrl+Z there takes the last answer back; answered
# again, "Done!" returns, and OK (Return) brings back the start screen.
wait_for "grep -q 'photos' '$work/opened' 2>/dev/null"
sleep 0.5
xdotool key ctrl+z
expect_counts 1 2 1
sleep 0.3
xdotool key Return
expect_counts 0 3 1
sleep 0.5
xdotool key Return

# A burst of three frames taken in one second: C compares them, → chooses the second, and Yes
# moves that one; the two left are answered in the comparison until "Done!".
mkdir -p "$work/burst"
for name in 1 2 3; do
    convert -size 320x240 "plasma:" "$work/burst/frame$name.jpg"
    exiv2 -q -M"set Exif.Photo.DateTimeOriginal 2026:11:28 14:03:59" "$work/burst/frame$name.jpg"
done
choose_folder "$work/burst"
sleep 0.5
xdotool key c Right Return
wait_for "[ -f '$work/burst/Selected/frame2.jpg' ]"
[ "$(count .)" -eq 2 ] || fail "the comparison moved more than the chosen frame"
xdotool key BackSpace BackSpace
expect_counts 0 1 2
sleep 0.5
xdotool key Return

# The zoom: a photo of one-pixel checks is grey when fitted; after Z every screen pixel differs
# from its neighbour, as it does only when one screen pixel shows one image pixel.
convert -size 2x2 xc:white -fill black -draw "point 1,0 point 0,1" -write mpr:check +delete \
    -size 3000x2000 tile:mpr:check "$work/checks/checks.png"
choose_folder "$work/checks"
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
echo "PASS (fitted $fitted, zoomed $zoomed)"
