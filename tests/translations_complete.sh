#!/usr/bin/env bash
# Every translation covers every text of the code and the views, with no empty translation and no
# text that has gone: lupdate, run on copies as `update_translations` runs it, changes nothing.
# Arguments: the lupdate program and its arguments, then -ts and the translation files.
set -euo pipefail
work=$(mktemp -d /tmp/vorelt-ts.XXXXXX)
trap 'rm -rf "$work"' EXIT
for ((ts = 2; ts <= $#; ts++)); do
    [ "${!ts}" != -ts ] || break
done
files=("${@:ts+1}")
cp "${files[@]}" "$work/"
# Its remarks on the parsing of unrelated code go to a log, shown only when it fails.
if ! "$1" -silent "${@:2:ts-2}" -ts "${files[@]/#*\//$work/}" 2>"$work/lupdate.log"; then
    cat "$work/lupdate.log"
    exit 1
fi
status=0
for file in "${files[@]}"; do
    if ! diff -u "$file" "$work/${file##*/}"; then
        echo "FAIL: $file is not up to date (cmake --build <dir> -t update_translations)"
        status=1
    fi
    if grep -n '<translation type="unfinished"\(></translation>\|/>\)' "$file"; then
        echo "FAIL: $file leaves the texts above untranslated"
        status=1
    fi
done
exit $status
