#!/usr/bin/env bash
# `cmake --install` into a fresh prefix lays out the programs, the translations, the desktop entry,
# the icon, the AppStream metadata and Plasma's applet, and the entry and the metadata pass their
# validators. (That the clock finds its launcher in this layout is the login test's, which copies
# it.)
source "$(dirname "$0")/lib.sh"
prefix=$work/prefix

cmake --install "$1" --prefix "$prefix" >"$work/install.log" || fail "$(cat "$work/install.log")"
id=io.github.vorelt.Vorelt
entry=$prefix/share/applications/$id.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/$id.svg
metainfo=$prefix/share/metainfo/$id.metainfo.xml
# The programs, and the translations where the installed clock looks for them.
for file in "$prefix"/{bin/vorelt,libexec/vorelt/vorelt-launcher} "$entry" "$icon" "$metainfo" \
    "$prefix"/share/vorelt/translations/vorelt_{de,ja,ar}.qm \
    "$prefix"/share/plasma/plasmoids/$id/{metadata.json,contents/ui/main.qml}; do
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
