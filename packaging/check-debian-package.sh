#!/usr/bin/env bash
# Builds Vesko's Debian package with cpack and checks what a user on Debian 12 gets from it:
# the files in their freedesktop places, dependencies that apt can resolve, and a Vesko that
# starts from the unpacked package and shows the same start screen as the freshly built one.
# Only where CI=true is the package really installed, started from /usr/bin and removed
# again; on a developer's machine nothing is installed system-wide.
# Usage: check-debian-package.sh BUILD_FOLDER BUILT_VESKO
set -euo pipefail
build=$(realpath "$1")
built_vesko=$(realpath "$2")
id=app.vesko.Vesko
work=$(mktemp -d)
shots=$build/packaging/screenshots
xvfb_pid=
app_pid=
installed=
root=()
[ "$(id -u)" -eq 0 ] || root=(sudo -n)
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    if [ -n "$installed" ]; then
        "${root[@]}" apt-get purge -y -q -o DPkg::Lock::Timeout=300 vesko >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/vesko.log" ] && cat "$work/vesko.log" >&2
    exit 1
}

# The package, built into the scratch folder.
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(find "$work/out" -maxdepth 1 -name 'vesko_*.deb' | head -1)
[ -n "$deb" ] || fail "cpack made no vesko_*.deb"
echo "Built $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/vesko ./usr/share/applications/$id.desktop \
    ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
    ./usr/lib/vesko/libvesko_hevc_ffmpeg.so ./usr/lib/vesko/vesko-raw-reader; do
    grep -qx "$path" <<<"$contents" || fail "the package lacks $path"
done
[ "$(grep -c -v '/$' <<<"$contents")" -eq 6 ] ||
    fail "the package holds more than its six files: $contents"

# Libraries found by dpkg-shlibdeps, and the QML modules that no library names.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6quick6 libqt6widgets6 libavcodec59 libexiv2-27 libraw20 qml6-module-qtquick-controls \
    qml6-module-qtquick-layouts; do
    grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done

simulation=$(apt-get install --simulate -q "$deb" 2>&1) ||
    { echo "$simulation" >&2; fail "apt cannot resolve the package's dependencies"; }
grep -q '^Inst vesko ' <<<"$simulation" || { echo "$simulation" >&2; fail "apt would not install vesko"; }
echo "apt resolves: $depends"

# Starts a Vesko in a fresh X server, waits for its window titled "Vesko" and captures it.
start_and_capture() {  # VESKO SCREENSHOT
    exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
    read -r display <&3
    xvfb_pid=$!
    DISPLAY=":$display" "$1" >"$work/vesko.log" 2>&1 &
    app_pid=$!
    local window
    window=$(DISPLAY=":$display" timeout 15 xdotool search --sync --onlyvisible --classname vesko |
        head -1 || true)
    [ -n "$window" ] || fail "$1 showed no window"
    DISPLAY=":$display" xprop -id "$window" _NET_WM_NAME | grep -q '= "Vesko"$' ||
        fail "$1's window is not titled Vesko"
    # The first frames may still be coming: wait until two captures in a row agree.
    local previous=$work/previous.png
    DISPLAY=":$display" import -window "$window" "$previous"
    for _ in $(seq 20); do
        sleep 0.5
        DISPLAY=":$display" import -window "$window" "$2"
        [ "$(identify -format '%k' "$2")" -gt 8 ] && same_picture "$previous" "$2" && break
        cp "$2" "$previous"
    done
    kill "$app_pid" "$xvfb_pid"
    wait "$app_pid" 2>/dev/null || true
    app_pid= xvfb_pid=
}
# The same picture, but for the odd pixel of antialiasing.
same_picture() {  # A B
    local size differing
    size=$(identify -format '%w*%h' "$1")
    [ "$(identify -format '%wx%h' "$1")" = "$(identify -format '%wx%h' "$2")" ] || return 1
    differing=$(compare -metric AE -fuzz 4% "$1" "$2" null: 2>&1 || true)
    [ "${differing%.*}" -le $(($size / 1000)) ]
}
export XDG_RUNTIME_DIR=$work XDG_STATE_HOME=$work/state LANG=C.UTF-8 LANGUAGE=
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM LC_ALL LC_MESSAGES
chmod 700 "$work"
mkdir -p "$shots"

start_and_capture "$built_vesko" "$shots/built.png"
[ "$(identify -format '%k' "$shots/built.png")" -gt 8 ] || fail "the built Vesko's window is blank"

dpkg-deb -x "$deb" "$work/root"
start_and_capture "$work/root/usr/bin/vesko" "$shots/unpacked.png"
same_picture "$shots/built.png" "$shots/unpacked.png" ||
    fail "the unpacked Vesko does not show the start screen; see $shots"
echo "The unpacked Vesko shows the start screen"
"$work/root/usr/lib/vesko/vesko-raw-reader" facts \
    <"$(dirname "$0")/../tests/fuzz/seeds/raw/full-preview.dng" >/dev/null ||
    fail "the unpacked RAW reader does not read a DNG"

if [ "${CI:-}" = true ]; then
    # Only an installed one is someone's: a package removed before leaves nothing to touch.
    if [ "$(dpkg-query -W -f='${db:Status-Status}' vesko 2>/dev/null)" = installed ]; then
        fail "a vesko package is installed already; not touching it"
    fi
    "${root[@]}" apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 \
        "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "installing failed"; }
    installed=yes
    for path in /usr/share/applications/$id.desktop /usr/share/metainfo/$id.metainfo.xml \
        /usr/share/icons/hicolor/scalable/apps/$id.svg; do
        [ -f "$path" ] || fail "the installed package lacks $path"
    done
    [ "$(command -v vesko)" = /usr/bin/vesko ] || fail "vesko is not on the PATH"
    start_and_capture vesko "$shots/installed.png"
    same_picture "$shots/built.png" "$shots/installed.png" ||
        fail "the installed Vesko does not show the start screen; see $shots"
    "${root[@]}" apt-get purge -y -q -o DPkg::Lock::Timeout=300 vesko >/dev/null
    installed=
    ! dpkg-query -W -f='${db:Status-Status}' vesko 2>/dev/null | grep -q '^installed' ||
        fail "vesko is still installed"
    [ ! -e /usr/bin/vesko ] || fail "/usr/bin/vesko is left behind"
    echo "Installed, started and removed the package"
fi
echo PASS
