#!/usr/bin/env bash
# Odd environments have a defined outcome: no HOME, a home that cannot be written, a locale or a
# time zone that does not exist all still give a ticking clock; without XDG_RUNTIME_DIR (a root
# shell, cron) standard error stays empty. An X server that goes away is reliability/endings.sh's.
source "$(dirname "$0")/lib.sh"
vorelt=$1

# Runs the clock headless in nothing but the given environment and expects a title.
titles_in() {
    headless_title "$1" -i PATH="$PATH" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" "${@:2}"
    echo "$1: $(tail -n 1 "$work/$1.out")"
}

titles_in no-home
mkdir -p "$work/readonly-home"
touch "$work/readonly-home/.config"  # a file where the config folder should be
titles_in unwritable-home HOME="$work/readonly-home"
titles_in unknown-locale LANG=xx_YY.UTF-8 HOME="$work"
titles_in unknown-zone TZ=Nowhere/Atlantis HOME="$work"
titles_in control-characters LANG=$'\x01\x7f' TZ=$'\n' HOME="$work"

headless_title no-runtime-dir -u XDG_RUNTIME_DIR HOME="$work"
[ -s "$work/no-runtime-dir.err" ] && fail "stderr without XDG_RUNTIME_DIR: $(cat "$work/no-runtime-dir.err")"

start_x
XDG_RUNTIME_DIR='' start_clock
wait_for_bar '(AM|PM)$'
kill -TERM "$pid"
wait "$pid" || fail "exit status $? without XDG_RUNTIME_DIR"
[ -s "$work/err" ] && fail "stderr without XDG_RUNTIME_DIR under X: $(cat "$work/err")"

echo "PASS"
