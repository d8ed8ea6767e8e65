# Sourced by the Xvfb tests: a scratch folder, an X server, Vesko in it, and the folder dialog.
# After `start_vesko path/to/vesko`, $work, $window, $X, $Y, $WIDTH, $HEIGHT and $app_pid are
# set; everything is torn down on exit. The desktop's opener is a stand-in that writes what it
# was asked to open into $work/opened.
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
windows() { xdotool search --class '^vesko$' 2>/dev/null | wc -l; }

start_vesko() {
    mkdir -p "$work/bin"
    printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$work" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
    read -r display <&3
    xvfb_pid=$!
    export DISPLAY=":$display"
    unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME \
        QT_SCALE_FACTOR XDG_CURRENT_DESKTOP LANGUAGE
    export LC_ALL=C.UTF-8 PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work" \
        XDG_CONFIG_HOME="$work/config"
    "$1" >"$work/vesko.log" 2>&1 &
    app_pid=$!
    # The main window is the large one of Vesko's windows (Qt keeps small helper windows too).
    window=
    for _ in $(seq 150); do
        for candidate in $(xdotool search --class '^vesko$' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$candidate")"
            if [ "$WIDTH" -ge 700 ]; then window=$candidate; return 0; fi
        done
        sleep 0.1
    done
    fail "the window did not appear"
}

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
    fail "the folder dialog did not open"
}

# Chooses a folder by typing its path into the dialog; the window then has the keyboard.
choose_folder() {
    here=$1
    local before
    before=$(windows)
    open_chooser
    sleep 0.5
    xdotool type --delay 10 "$here"
    xdotool key Return
    wait_for "[ \$(windows) -eq $before ]"
    wait_for "[ \"\$(xdotool getwindowfocus 2>/dev/null)\" = $window ]"
    sleep 0.3
}
