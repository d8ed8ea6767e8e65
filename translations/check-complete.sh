#!/usr/bin/env bash
# Fails when a text of the window has no translation: lupdate brings a scratch copy of each
# .ts file up to date with the sources and must find nothing new or unfinished.
# Usage: check-complete.sh LUPDATE TRANSLATIONS_FOLDER SOURCE...
set -euo pipefail
lupdate=$1
folder=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$folder"/*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$lupdate" -silent -no-obsolete -locations none "$@" -ts "$copy"
    if grep -q 'type="unfinished"' "$copy"; then
        echo "FAIL: $(basename "$ts") lacks translations for:" >&2
        grep -B2 'type="unfinished"' "$copy" | sed -n 's/.*<source>\(.*\)<\/source>.*/    \1/p' >&2
        status=1
    fi
done
exit $status
