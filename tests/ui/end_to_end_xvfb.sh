#!/usr/bin/env bash
# Vesko in a real X server: choose a folder through the real folder dialog by typing its path,
# answer with Return, Space and Backspace, click Undo, reach "Done!", press OK, and check the
# files on disk after every step. Then the failures a user meets: a name already taken in
# Selected, a file that is no image, and (not as root, where permissions do not bite) a
# folder that cannot be written.
# Usage: end_to_end_xvfb.sh path/to/vesko
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
    ls -R "$work" >&2 || true
    cat "$work/vesko.log" >&2 || true
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
here=$work/photos
count() { find "$here/$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }
expect_counts() {  # in the folder, in Selected, in Discarded
    wait_for "[ \$(count .) -eq $1 ] && [ \$(count Selected) -eq $2 ] && [ \$(count Discarded) -eq $3 ]"
}
windows() { xdotool search --class '^vesko$' 2>/dev/null | wc -l; }
# Clicks the start screen until the folder dialog is open (the first click may come before
# the window has drawn itself).
open_chooser() {
    local before
    before=$(windows)
    for _ in 1 2 3 4 5; do
        xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 3)) click 1
        for _ in $(seq 20); do
            [ "$(windows)" -gt "$before" ] && return 0
            sleep 0.1
        done
    done
    import -window root "$PWD/end_to_end_failure.png" 2>/dev/null || true
    echo "geometry $X $Y $WIDTH $HEIGHT windows $(windows)" >&2
    fail "the folder dialog did not open"
}

# The photos, and a stand-in for the desktop's opener that records what it was asked to open.
mkdir -p "$work/photos" "$work/bin"
for name in first second third; do
    convert -size 320x240 "plasma:" "$work/photos/$name.jpg" 2>/dev/null ||
        convert -size 320x240 xc:teal "$work/photos/$name.jpg"
done
cat >"$work/bin/xdg-open" <<OPENER
#!/bin/sh
echo "\$1" >>"$work/opened"
OPENER
chmod +x "$work/bin/xdg-open"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
export DISPLAY=":$display"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP LANGUAGE
export LC_ALL=C.UTF-8
export PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work"

"$vesko" >"$work/vesko.log" 2>&1 &
app_pid=$!
# The main window is the large one of Vesko's windows (Qt keeps small helper windows too).
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

# A click on the start screen opens the folder dialog; its path field has the keyboard.
choose_folder() {
    here=$1
    local before
    before=$(windows)
    open_chooser
    sleep 0.5
    xdotool type --delay 10 "$here"
    xdotool key Return
    wait_for "[ \$(windows) -eq $before ]"
    # Once the dialog is gone the window takes the keyboard back by itself.
    wait_for "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = $window ]"
    sleep 0.3
}
# Answers and checks that nothing moved, then that the window still runs.
expect_refused() {  # key, then the counts that must stay
    xdotool key "$1"
    sleep 0.7
    expect_counts "$2" "$3" "$4"
    kill -0 "$app_pid" || fail "Vesko is no longer running"
}
choose_folder "$work/photos"

xdotool key Return
expect_counts 2 1 0
xdotool key space
sleep 0.5
expect_counts 2 1 0
xdotool key BackSpace
expect_counts 1 1 1

# Undo sits at the right end of the header row, which is at most 900 wide and centred.
row=$((WIDTH < 900 ? WIDTH : 900))
xdotool mousemove $((X + (WIDTH + row) / 2 - 16 - 20)) $((Y + 20)) click 1
expect_counts 2 1 0

xdotool key BackSpace
expect_counts 1 1 1
xdotool key Return
expect_counts 0 2 1
# "Done!": the folder went to the file browser, and OK (Return) brings back the start screen.
wait_for "grep -q 'photos' '$work/opened' 2>/dev/null"
sleep 0.5
xdotool key Return
sleep 0.5
xdotool key Return
sleep 0.5
expect_counts 0 2 1

# "Selected" already holds a file of that name: Yes moves nothing, and No still can.
photo=$(find "$work/photos/Selected" -type f | head -n 1)
mkdir -p "$work/clash/Selected"
cp "$photo" "$work/clash/same.jpg"
cp "$photo" "$work/clash/Selected/same.jpg"
choose_folder "$work/clash"
expect_refused Return 1 1 0
xdotool key BackSpace
expect_counts 0 1 1
sleep 0.5
xdotool key Return

# A file that is no image still gets its answer, so the folder can be finished.
mkdir -p "$work/garbage"
echo "not a photo" >"$work/garbage/garbage.jpg"
choose_folder "$work/garbage"
xdotool key BackSpace
expect_counts 0 0 1
sleep 0.5
xdotool key Return

if [ "$(id -u)" -ne 0 ]; then
    mkdir -p "$work/readonly"
    cp "$photo" "$work/readonly/card.jpg"
    chmod 555 "$work/readonly"
    choose_folder "$work/readonly"
    expect_refused Return 1 0 0
    chmod 755 "$work/readonly"
else
    echo "skipped the read-only folder: root may write anywhere"
fi
kill -0 "$app_pid" || fail "Vesko is no longer running"
echo "PASS"
