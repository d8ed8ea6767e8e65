#!/usr/bin/env bash
# Vesko's start beside a bare Qt Quick Controls window from the same Qt, launched alternately
# in one Xvfb: medians of process start to the window mapped and to the first frame swapped,
# and their ratio; then `vesko FOLDER` to the first photo on screen, for a 12 MP JPEG and a
# 12 MP HEIC at the head of the folder, beside the bare window's first frame and one decode.
# Usage: bench_startup.sh BUILD_DIR PHOTOS_DIR [LAUNCHES]
set -euo pipefail
build=$(realpath "$1")
photos=$(realpath "$2")
launches=${3:-7}
vesko=$build/app/vesko
bare=$build/bench/startup/vesko_bench_bare_window
probe=$build/bench/startup/libvesko_startup_probe.so
decode_once=$build/bench/startup/vesko_bench_decode_once
if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is needed to see windows mapped and frames swapped (apt install xvfb)" >&2
    exit 1
fi
work=$(mktemp -d)
xvfb_pid=
app_pid=
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
width=1280 height=1024
exec 3< <(Xvfb -displayfd 1 -screen 0 ${width}x${height}x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb_pid=$!
export DISPLAY=":$display"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME \
    QT_QUICK_BACKEND QT_SCALE_FACTOR XDG_CURRENT_DESKTOP LANGUAGE
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config"

# One folder per format, the sample photo at its head.
mkdir -p "$work/jpeg" "$work/heic"
cp "$(find "$photos/jpeg" -name '*.jpg' | sort | head -n 1)" "$work/jpeg/"
cp "$(find "$photos/heic" -name '*.heic' | sort | head -n 1)" "$work/heic/"

# Runs the program once with the probe; prints "<libraries loaded ms> <mapped ms> <first swap ms>".
launch() {
    local log=$work/probe.log
    rm -f "$log"
    VESKO_PROBE_START_NS=$(date +%s%N) VESKO_PROBE_LOG=$log LD_PRELOAD=$probe \
        "$@" >>"$work/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq 500); do
        grep -q '^swap' "$log" 2>/dev/null && break
        sleep 0.02
    done
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    local loaded mapped swapped
    loaded=$(awk '$1 == "loaded" { print $2; exit }' "$log" 2>/dev/null)
    mapped=$(awk '$1 == "map" { print $2; exit }' "$log" 2>/dev/null)
    swapped=$(awk '$1 == "swap" { print $2; exit }' "$log" 2>/dev/null)
    [ -n "$swapped" ] || { echo "no frame from: $*" >&2; tail -n 20 "$work/app.log" >&2; exit 1; }
    echo "${loaded:-nan} ${mapped:-nan} $swapped"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_of() { awk -v c="$1" '{ print $c }' "$2" | median; }

# Once each, unmeasured, so that the shader and QML caches are warm for both.
launch "$bare" >/dev/null
launch "$vesko" >/dev/null
launch "$vesko" "$work/jpeg" >/dev/null
for _ in $(seq "$launches"); do
    launch "$bare" >>"$work/bare"
    launch "$vesko" >>"$work/vesko"
    launch "$vesko" "$work/jpeg" >>"$work/vesko-jpeg"
    launch "$vesko" "$work/heic" >>"$work/vesko-heic"
done

bare_loaded=$(column_of 1 "$work/bare") vesko_loaded=$(column_of 1 "$work/vesko")
bare_map=$(column_of 2 "$work/bare") bare_frame=$(column_of 3 "$work/bare")
vesko_map=$(column_of 2 "$work/vesko") vesko_frame=$(column_of 3 "$work/vesko")
ratio() { awk "BEGIN { print $1 / $2 }"; }
echo "Medians of $launches alternating launches each, ms from process start (Xvfb ${width}x${height}):"
echo
echo "| program | libraries loaded | window mapped | first frame swapped |"
echo "|---|---|---|---|"
printf '| %s | %.1f | %.1f | %.1f |\n' "bare Qt Quick Controls window" "$bare_loaded" "$bare_map" "$bare_frame"
printf '| %s | %.1f | %.1f | %.1f |\n' "vesko" "$vesko_loaded" "$vesko_map" "$vesko_frame"
printf '| %s | %.2f | %.2f | %.2f |\n' "ratio" "$(ratio "$vesko_loaded" "$bare_loaded")" \
    "$(ratio "$vesko_map" "$bare_map")" "$(ratio "$vesko_frame" "$bare_frame")"
echo
echo "vesko FOLDER to the first photo on screen (its first frame), against the bare window's first"
echo "frame plus one decode of that photo (median of 5, at the screen's size):"
echo
echo "| photo at the head | first photo | one decode | bare first frame + one decode | ratio |"
echo "|---|---|---|---|---|"
for format in jpeg heic; do
    photo=$(find "$work/$format" -maxdepth 1 -type f | head -n 1)
    decode=$("$decode_once" "$width" "$height" 5 "$photo" | awk '{ print $NF }')
    first=$(column_of 3 "$work/vesko-$format")
    floor=$(awk "BEGIN { print $bare_frame + $decode }")
    printf '| %s 12 MP | %.1f | %.1f | %.1f | %.2f |\n' "$format" "$first" "$decode" "$floor" \
        "$(ratio "$first" "$floor")"
done
