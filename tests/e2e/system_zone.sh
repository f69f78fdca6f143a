#!/usr/bin/env bash
# With no TZ the zone is the system's, /etc/localtime, which is changed by replacing the link. The
# clock runs in a mount namespace of its own with a copy of /etc in place of the real one, so the
# link can be replaced under it without touching the machine. Skipped where no namespace can be made.
source "$(dirname "$0")/lib.sh"
vorelt=$1

unshare -m --propagation private true 2>/dev/null || { echo "skipped: no private mount namespace"; exit 77; }
etc=$work/etc
cp -a /etc "$etc" 2>/dev/null || true
ln -sf /usr/share/zoneinfo/Europe/Berlin "$etc/localtime"
write_store '[General]' "dateFormat=\"'zone' VV\""
unshare -m --propagation private sh -c 'mount --bind "$1" /etc && exec env -u TZ "$2" -platform offscreen' \
    _ "$etc" "$vorelt" >"$work/out" 2>"$work/err" &
pid=$!
pids+=("$pid")
shows() { grep -qx "zone $1" "$work/out"; }
wait_until 5 shows Europe/Berlin || fail "not the system's zone: $(tail -n 3 "$work/out") $(cat "$work/err")"
# As the desktop's date and time settings do it: a new link renamed over the old one.
ln -s /usr/share/zoneinfo/Asia/Tokyo "$etc/.localtime.new"
mv -T "$etc/.localtime.new" "$etc/localtime"
wait_until 3 shows Asia/Tokyo || fail "the replaced link was not followed: $(tail -n 3 "$work/out")"
stop_clock
