#!/usr/bin/env bash
# The desktop entry is valid, starts Vesko without arguments, claims no file or folder types,
# and uses the application id that the metadata and the icon are named by; the metadata shows
# screenshots that the project has.
# Usage: check-desktop-entry.sh PACKAGING_FOLDER
set -euo pipefail
id=app.vesko.Vesko
entry=$1/$id.desktop
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$entry"
value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Exec)" = 'vesko %f' ] || fail "Exec is '$(value Exec)', not 'vesko %f'"
[ "$(value Icon)" = "$id" ] || fail "Icon is '$(value Icon)', not '$id'"
! grep -q '^MimeType' "$entry" || fail "the entry claims types: $(value MimeType)"
grep -q "<id>$id</id>" "$1/$id.metainfo.xml" || fail "the metadata's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$1/$id.metainfo.xml" ||
    fail "the metadata does not launch $id.desktop"
[ -f "$1/$id.svg" ] || fail "no icon $id.svg"
# The screenshots named in the metadata are the ones tools/window-screenshots takes.
grep -o '<image [^>]*>[^<]*</image>' "$1/$id.metainfo.xml" | while read -r image; do
    file=$1/../docs/screenshots/$(basename "$(sed 's/<[^>]*>//g' <<<"$image")")
    [ -f "$file" ] || fail "no screenshot $file"
    size=$(sed -n 's/.*width="\([0-9]*\)" height="\([0-9]*\)".*/\1x\2/p' <<<"$image")
    [ "$(identify -format '%wx%h' "$file")" = "$size" ] || fail "$file is not $size"
done
echo PASS
