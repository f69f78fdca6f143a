#!/usr/bin/env bash
# With no TZ the zone is the system's, /etc/localtime, which is changed by replacing the link. The
# clock runs in a mount namespace of its own with a copy of /etc in place of the real one, so the
# link can be replaced under it without touching the machine. Skipped where no namespace can be made.
source "$(dirname "$0")/lib.sh"
vorelt=$1

if ! unshare -m --propagation private true 2>/dev/null; then
    echo "skipped: no private mount namespace here"
    exit 77
fi
etc=$work/etc
cp -a /etc "$etc" 2>/dev/null || true
rm -f "$etc/localtime"
ln -s /usr/share/zoneinfo/Europe/Berlin "$etc/localtime"

write_store '[General]' "dateFormat=\"'zone' VV\""
unshare -m --propagation private sh -c 'mount --bind "$1" /etc && exec env -u TZ QT_QPA_PLATFORM=offscreen "$2"' _ \
    "$etc" "$vorelt" >"$work/out" 2>"$work/err" &
pid=$!
pids+=("$pid")
shows() { grep -qx "zone $1" "$work/out"; }
wait_until 5 shows Europe/Berlin || fail "not the system's zone: $(tail -n 3 "$work/out") $(cat "$work/err")"

# As the desktop's date and time settings do it: a new link renamed over the old one.
ln -s /usr/share/zoneinfo/Asia/Tokyo "$etc/.localtime.new"
mv -T "$etc/.localtime.new" "$etc/localtime"
wait_until 3 shows Asia/Tokyo || fail "the replaced link was not followed: $(tail -n 3 "$work/out")"

# By hand: removed, then made again.
rm "$etc/localtime"
ln -s /usr/share/zoneinfo/America/Sao_Paulo "$etc/localtime"
wait_until 3 shows America/Sao_Paulo || fail "the new link was not followed: $(tail -n 3 "$work/out")"
echo "followed: $(grep -c '^zone ' "$work/out") zones shown"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
