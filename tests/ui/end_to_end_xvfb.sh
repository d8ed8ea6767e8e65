#!/usr/bin/env bash
# Vesko in a real X server: choose a folder through the real folder dialog by typing its path,
# answer with Return, Space and Backspace, click Undo, reach "Done!", press OK, and check the
# files on disk after every step. Then the failures a user meets: a name already taken in
# Selected, a file that is no image, and (not as root, where permissions do not bite) a
# folder that cannot be written. Last, RAW+JPEG shots with sidecars move as one.
# Usage: end_to_end_xvfb.sh path/to/vesko
set -euo pipefail
vesko=$(realpath "$1")
source "$(dirname "$0")/xvfb_session.sh"
here=$work/photos
count() { find "$here/$1" -maxdepth 1 -type f 2>/dev/null | wc -l; }
expect_counts() {  # in the folder, in Selected, in Discarded
    wait_for "[ \$(count .) -eq $1 ] && [ \$(count Selected) -eq $2 ] && [ \$(count Discarded) -eq $3 ]"
}
mkdir -p "$work/photos"
for name in first second third; do
    convert -size 320x240 "plasma:" "$work/photos/$name.jpg" 2>/dev/null ||
        convert -size 320x240 xc:teal "$work/photos/$name.jpg"
done
start_vesko "$vesko"
sleep 0.5

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
    # Back, at the left end of the header row, to the start screen.
    xdotool mousemove $((X + (WIDTH - row) / 2 + 16 + 20)) $((Y + 20)) click 1
    sleep 0.5
else
    echo "skipped the read-only folder: root may write anywhere"
fi

# Three shots of a JPEG, a CR3 and an XMP each: every answer moves all three files.
mkdir -p "$work/shots"
for shot in one two three; do
    cp "$photo" "$work/shots/$shot.jpg"
    echo raw >"$work/shots/$shot.CR3"
    echo xmp >"$work/shots/$shot.xmp"
done
choose_folder "$work/shots"
xdotool key Return
expect_counts 6 3 0
xdotool key BackSpace
expect_counts 3 3 3
xdotool mousemove $((X + (WIDTH + row) / 2 - 16 - 20)) $((Y + 20)) click 1
expect_counts 6 3 0
xdotool key Return
expect_counts 3 6 0
kill -0 "$app_pid" || fail "Vesko is no longer running"
echo "PASS"
