#pragma once

namespace vorelt {

// The XDG settings portal's color-scheme (else GTK_THEME), a dark one as Qt's Fusion palette.
// The desktop's light or dark colour scheme, applied to every window of the program.
class Appearance {
public:
    // The desktop's preference: the freedesktop portal's colour scheme when a portal answers,
    // else a GTK theme named with ":dark", else light.
    static bool desktopPrefersDark();
    // Gives the application a palette in the desktop's scheme.
    static void applyDesktopScheme();
};

}  // namespace vorelt
