#!/usr/bin/env bash
# A store holding a serialized object, in every escaped form the store fuzzer's seeds hold, is
# never decoded: the clock starts, shows a title and leaves the file as it was. Other unreadable
# and unwritable stores are the store's unit tests'.
source "$(dirname "$0")/lib.sh"
vorelt=$1
store=$XDG_CONFIG_HOME/vorelt/vorelt.conf

for seed in "$(dirname "$0")"/../fuzz/corpus/store/serialized-*; do
    cp "$seed" "$store"
    headless_title "$(basename "$seed")" env -u DISPLAY "$vorelt"
    cmp -s "$seed" "$store" || fail "$(basename "$seed"): the store was touched by a start"
done
echo "PASS"
