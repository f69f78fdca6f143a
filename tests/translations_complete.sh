#!/usr/bin/env bash
# Every translation covers every text of the code and the views, with no empty translation and no
# text that has gone: lupdate, run on copies as `update_translations` runs it, changes nothing.
# Arguments: the lupdate program and its arguments, then -ts and the translation files.
set -euo pipefail
lupdate=$1
shift
arguments=()
while [ "$1" != -ts ]; do
    arguments+=("$1")
    shift
done
shift
work=$(mktemp -d /tmp/vorelt-ts.XXXXXX)
trap 'rm -rf "$work"' EXIT
copies=()
for file in "$@"; do
    cp "$file" "$work/"
    copies+=("$work/$(basename "$file")")
done
# Its remarks on the parsing of unrelated code go to a log, shown only when it fails.
"$lupdate" -silent "${arguments[@]}" -ts "${copies[@]}" 2>"$work/lupdate.log" ||
    { cat "$work/lupdate.log"; exit 1; }
status=0
for file in "$@"; do
    name=$(basename "$file")
    if ! diff -u "$file" "$work/$name"; then
        echo "FAIL: $name is not up to date (cmake --build <dir> -t update_translations)"
        status=1
    fi
    if grep -n '<translation type="unfinished"></translation>\|<translation type="unfinished"/>' \
        "$file"; then
        echo "FAIL: $name leaves the texts above untranslated"
        status=1
    fi
done
[ $status -eq 0 ] && echo "PASS: $# translations cover every text"
exit $status
