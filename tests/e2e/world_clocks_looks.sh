#!/usr/bin/env bash
# The popover with two world clocks and week numbers, and the settings window, light and dark,
# under openbox (the desktop's look from GTK's settings file) or Xfce (Qt's GTK platform theme,
# fed by Xfce's settings daemon): taller than without them, on the screen, and with the icon
# theme's arrows, not the toolkit's green ones. Screenshots of each land in the artefacts.
source "$(dirname "$0")/lib.sh"
desktop=${2:-openbox}

# The share of the popover's top 60 rows that is the toolkit's own arrows' green.
green_share() {
    import -window root -crop "${WIDTH}x60+$X+$Y" +repage png:- |
        convert - -fx 'g > r + 0.25 && g > b + 0.25 ? 1 : 0' -colorspace Gray -format '%[fx:mean]' info:
}

# Opens the popover with the store given, shoots it as $1 and sets `height` to its height.
shoot_popover() {
    local name=$1
    shift
    write_store '[General]' "$@"
    start_clock
    wait_for_bar ':'
    # The window manager may still be placing the new bar when it is first seen.
    at_top() { geometry "$bar" && [ "$Y" -eq 0 ] && [ "$X" -eq 0 ]; }
    wait_until 3 at_top || fail "$name: the bar is not at the top: $X,$Y"
    sleep 0.2
    open_popover "$name"
    sleep 0.4
    geometry "$popover"
    height=$HEIGHT
    ((X >= 0 && Y >= 0 && X + WIDTH <= 1280 && Y + HEIGHT <= 800)) || fail "$name: the popover runs off the screen"
    import -window root -crop "$((WIDTH + 24))x$((HEIGHT + 24))+$((X - 12))+$((Y - 12))" +repage \
        "$artifacts/world-clocks-$desktop-$name.png"
    green=$(green_share)
    awk -v g="$green" 'BEGIN { exit !(g < 0.001) }' || fail "$name: the toolkit's green arrows ($green)"
}

start_x
case $desktop in
    openbox)
        start_wm openbox
        # A bare window manager: the desktop's look is what GTK's settings file says.
        mkdir -p "$XDG_CONFIG_HOME/gtk-3.0"
        printf '[Settings]\ngtk-icon-theme-name=Adwaita\ngtk-font-name=DejaVu Sans 10\n' \
            >"$XDG_CONFIG_HOME/gtk-3.0/settings.ini"
        ;;
    xfce)
        start_wm xfwm4
        # Xfce's settings daemon hands its theme, icons and font to every toolkit (XSETTINGS);
        # Qt takes them through its GTK platform theme. Nothing falls back to the system's.
        dir=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
        mkdir -p "$dir" "$work/xdg"
        cat >"$dir/xsettings.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xsettings" version="1.0">
  <property name="Net" type="empty">
    <property name="ThemeName" type="string" value="Adwaita"/>
    <property name="IconThemeName" type="string" value="Adwaita"/>
  </property>
  <property name="Gtk" type="empty">
    <property name="FontName" type="string" value="DejaVu Sans 10"/>
  </property>
</channel>
XML
        start_bus
        XDG_CONFIG_DIRS=$work/xdg NO_AT_BRIDGE=1 xfsettingsd --no-daemon --disable-wm-check \
            >"$work/xfsettingsd.log" 2>&1 &
        pids+=($!)
        # Its settings reach the toolkits through a selection's window, not the root: a moment.
        sleep 1
        export XDG_CURRENT_DESKTOP=XFCE
        ;;
esac

clocks=('worldClocks=Asia/Tokyo America/New_York' 'shouldShowWeekNumbers=true')
for look in light dark; do
    theme=Adwaita
    [ "$look" = light ] || theme=Adwaita:dark
    export GTK_THEME=$theme
    shoot_popover "$look-plain"
    plain=$height
    rm -f "$artifacts/world-clocks-$desktop-$look-plain.png"
    click_item
    wait_until 3 popover_closed || fail "the popover did not close"
    stop_clock "$look, plain"
    shoot_popover "$look" "${clocks[@]}"
    ((height > plain + 30)) || fail "$look: the world clocks do not show ($height against $plain)"
    click_item
    wait_until 3 popover_closed || fail "the popover did not close"
    open_settings
    sleep 0.4
    import -window "$(visible '^Settings$')" "$artifacts/world-clocks-$desktop-$look-settings.png"
    stop_clock "$look"
done
