#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the programs, the translations, the desktop entry,
# the icon and the AppStream metadata, the entry and the metadata pass their validators, and the
# installed clock points its autostart entry at the installed launcher.
source "$(dirname "$0")/lib.sh"
build=$1
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "$(cat "$work/install.log")"
id=io.github.vorelt.Vorelt
for file in bin/vorelt libexec/vorelt/vorelt-launcher; do
    [ -x "$prefix/$file" ] && [ -f "$prefix/$file" ] || fail "no program $file"
done
entry=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
metainfo=$prefix/share/metainfo/$id.metainfo.xml
# The translations, where the installed clock looks for them.
for language in de ja ar; do
    [ -s "$prefix/share/vorelt/translations/vorelt_$language.qm" ] || fail "no $language translation"
done
for file in "$entry" "$icon" "$metainfo"; do
    [ -s "$file" ] || fail "missing: ${file#"$prefix"/}"
done

out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
echo "desktop-file-validate: no remarks"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $out"
grep -Eq '^[EW]:' <<<"$out" && fail "appstreamcli warns: $out"
echo "appstreamcli: $(tail -n 1 <<<"$out")"

# The three name each other: the entry runs the installed program and shows the installed icon,
# and the metadata launches the entry.
grep -qx 'Exec=vorelt' "$entry" || fail "entry does not run vorelt"
grep -qx "Icon=$id" "$entry" || fail "entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metadata launches another entry"
grep -q '<release version="'"$(sed -n 's/^project(Vorelt VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "$0")/../../CMakeLists.txt")"'"' "$metainfo" || fail "metadata lacks this version"

# The icon is a picture: it renders to a square with both light and dark pixels.
rsvg-convert -w 64 -h 64 -o "$work/icon.png" "$icon" || fail "the icon does not render"
[ "$(identify -format '%wx%h' "$work/icon.png")" = 64x64 ] || fail "the icon is not square"
range=$(convert "$work/icon.png" -colorspace Gray -format '%[fx:maxima-minima]' info:)
awk -v r="$range" 'BEGIN { exit !(r > 0.5) }' || fail "the icon is blank (range $range)"
cp "$work/icon.png" "$artifacts/icon.png"

# The installed clock writes an autostart entry that runs the installed launcher.
vorelt=$prefix/bin/vorelt
QT_QPA_PLATFORM=offscreen start_clock
autostart=$XDG_CONFIG_HOME/autostart/io.github.vorelt.VoreltLauncher.desktop
wait_until 10 test -s "$autostart" || fail "no autostart entry; stderr: $(cat "$work/err")"
grep -qx "Exec=$prefix/libexec/vorelt/vorelt-launcher" "$autostart" ||
    fail "autostart entry runs something else: $(grep '^Exec' "$autostart")"
kill -TERM "$pid"
wait "$pid" || fail "the installed clock did not end cleanly"
echo "PASS"
