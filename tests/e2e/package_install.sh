#!/usr/bin/env bash
# The Debian package: built with scripts/package, installed with apt-get, the installed clock
# shows its title under Xvfb, and apt-get removes it again without a trace of the program.
# Installs into the system, so it runs only as root and only where vorelt is not installed yet.
source "$(dirname "$0")/lib.sh"
source_dir=$1

[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
installed() { dpkg-query -W -f='${Status}' vorelt 2>/dev/null | grep -q 'install ok installed'; }
installed && { echo "SKIP: vorelt is installed already, and this test would remove it"; exit 77; }

deb=$(VORELT_PACKAGE_BUILD=$2 "$source_dir/scripts/package" 2>"$work/package.log") ||
    fail "scripts/package: $(tail -n 20 "$work/package.log")"
echo "package: $deb, $(du -k "$deb" | cut -f1) KiB"
depends=$(dpkg-deb -f "$deb" Depends)
for package in qt6-qpa-plugins qt6-wayland libwayland-client0 libqt6widgets6 libqt6uitools6 libicu72 \
    libx11-6 libxkbcommon0 libdbus-1-3 libc6; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

trap 'installed && apt-get remove -y vorelt >/dev/null 2>&1; cleanup' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$work/install.log" 2>&1 ||
    fail "apt-get install: $(tail -n 20 "$work/install.log")"
# Plasma's applet, where plasmashell looks.
applet=/usr/share/plasma/plasmoids/io.github.vorelt.Vorelt
[ -s "$applet/metadata.json" ] && [ -s "$applet/contents/ui/main.qml" ] || fail "no Plasma applet"
start_x
vorelt=/usr/bin/vorelt
write_store '[General]' "dateFormat=\"'deb' HH:mm:ss\""
start_clock
wait_for_bar '^deb [0-9]{2}:[0-9]{2}:[0-9]{2}$'
shoot package_bar
stop_clock installed

apt-get remove -y vorelt >"$work/remove.log" 2>&1 || fail "apt-get remove: $(tail -n 20 "$work/remove.log")"
[ ! -e /usr/bin/vorelt ] && [ ! -e /usr/libexec/vorelt ] && [ ! -e "$applet" ] && ! installed ||
    fail "not removed"
