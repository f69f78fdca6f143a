#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the programs, the translations, the desktop entry,
# the icon and the AppStream metadata, the entry and the metadata pass their validators, and the
# installed clock points its autostart entry at the installed launcher.
source "$(dirname "$0")/lib.sh"
prefix=$work/prefix

cmake --install "$1" --prefix "$prefix" >"$work/install.log" || fail "$(cat "$work/install.log")"
id=io.github.vorelt.Vorelt
entry=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
metainfo=$prefix/share/metainfo/$id.metainfo.xml
for file in bin/vorelt libexec/vorelt/vorelt-launcher; do
    [ -x "$prefix/$file" ] && [ -f "$prefix/$file" ] || fail "no program $file"
done
# The translations, where the installed clock looks for them.
for file in "$entry" "$icon" "$metainfo" "$prefix"/share/vorelt/translations/vorelt_{de,ja,ar}.qm; do
    [ -s "$file" ] || fail "missing: ${file#"$prefix"/}"
done

out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli: $out"
grep -Eq '^[EW]:' <<<"$out" && fail "appstreamcli warns: $out"
# The three name each other: the entry runs the installed program and shows the installed icon,
# and the metadata launches the entry.
grep -qx 'Exec=vorelt' "$entry" && grep -qx "Icon=$id" "$entry" || fail "entry: $(cat "$entry")"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metadata launches another entry"
grep -q '<release version="'"$(sed -n 's/^project(Vorelt VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "$0")/../../CMakeLists.txt")"'"' "$metainfo" || fail "metadata lacks this version"

# The icon is a picture: it renders to a square with both light and dark pixels.
rsvg-convert -w 64 -h 64 -o "$artifacts/icon.png" "$icon" || fail "the icon does not render"
[ "$(identify -format '%wx%h' "$artifacts/icon.png")" = 64x64 ] || fail "the icon is not square"
range=$(convert "$artifacts/icon.png" -colorspace Gray -format '%[fx:maxima-minima]' info:)
awk -v r="$range" 'BEGIN { exit !(r > 0.5) }' || fail "the icon is blank (range $range)"

# The installed clock writes an autostart entry that runs the installed launcher.
vorelt=$prefix/bin/vorelt
headless_title installed env -u DISPLAY "$vorelt"
grep -qx "Exec=$prefix/libexec/vorelt/vorelt-launcher" \
    "$XDG_CONFIG_HOME/autostart/io.github.vorelt.VoreltLauncher.desktop" ||
    fail "the autostart entry runs something else"
echo "PASS"
