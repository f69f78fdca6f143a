#pragma once

namespace vorelt {

// The XDG settings portal's color-scheme (else GTK_THEME), a dark one as Qt's Fusion palette.
// The desktop's light or dark colour scheme, applied to every window of the program.
class Appearance {
public:
    // The desktop's preference: the freedesktop portal's colour scheme when a portal answers,
    // else a GTK theme named with ":dark" or GTK's settings asking for dark, else light.
    static bool desktopPrefersDark();
    // Gives the application a palette in the desktop's scheme, and the icon theme and font of
    // GTK's settings where no platform theme brought the desktop's.
    static void applyDesktopScheme();
};

}  // namespace vorelt
