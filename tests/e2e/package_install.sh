#!/usr/bin/env bash
# The Debian package: built with scripts/package, installed with apt-get, the installed clock
# shows its title under Xvfb, and apt-get removes it again without a trace of the program.
# Installs into the system, so it runs only as root and only where vorelt is not installed yet.
source "$(dirname "$0")/lib.sh"
source_dir=$1
build=$2

[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing a package needs root"; exit 77; }
if dpkg-query -W -f='${Status}' vorelt 2>/dev/null | grep -q 'install ok installed'; then
    echo "SKIP: vorelt is installed already, and this test would remove it"
    exit 77
fi

deb=$(VORELT_PACKAGE_BUILD=$build "$source_dir/scripts/package" 2>"$work/package.log") ||
    fail "scripts/package: $(tail -n 20 "$work/package.log")"
[ -f "$deb" ] || fail "no package: $deb"
echo "package: $deb, $(du -k "$deb" | cut -f1) KiB"
[ "$(dpkg-deb -f "$deb" Package)" = vorelt ] || fail "package name $(dpkg-deb -f "$deb" Package)"
version=$(sed -n 's/^project(Vorelt VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in qt6-qpa-plugins libqt6widgets6 libqt6uitools6 libicu72 libx11-6 libc6; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

removed=true
remove_package() {
    apt-get remove -y vorelt >"$work/remove.log" 2>&1
}
trap '$removed || remove_package; cleanup' EXIT
removed=false
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$work/install.log" 2>&1 ||
    fail "apt-get install: $(tail -n 20 "$work/install.log")"
for file in /usr/bin/vorelt /usr/libexec/vorelt/vorelt-launcher \
    /usr/share/applications/io.github.vorelt.Vorelt.desktop \
    /usr/share/icons/hicolor/scalable/apps/io.github.vorelt.Vorelt.svg \
    /usr/share/metainfo/io.github.vorelt.Vorelt.metainfo.xml; do
    [ -e "$file" ] || fail "not installed: $file"
done

start_x
vorelt=/usr/bin/vorelt
write_store '[General]' "dateFormat=\"'deb' HH:mm:ss\""
start_clock
wait_for_bar '^deb [0-9]{2}:[0-9]{2}:[0-9]{2}$'
echo "installed clock on $DISPLAY: $(xdotool getwindowname "$bar")"
import -window root "$artifacts/package_bar.png"
grep -qx "Exec=/usr/libexec/vorelt/vorelt-launcher" \
    "$XDG_CONFIG_HOME/autostart/io.github.vorelt.VoreltLauncher.desktop" ||
    fail "the autostart entry does not run the installed launcher"
kill -TERM "$pid"
wait "$pid" || fail "the installed clock did not end cleanly"

remove_package || fail "apt-get remove: $(tail -n 20 "$work/remove.log")"
removed=true
[ ! -e /usr/bin/vorelt ] || fail "/usr/bin/vorelt is still there"
[ ! -e /usr/libexec/vorelt ] || fail "/usr/libexec/vorelt is still there"
dpkg-query -W -f='${Status}' vorelt 2>/dev/null | grep -q 'install ok installed' &&
    fail "still installed"
echo "PASS"
