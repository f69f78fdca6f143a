#pragma once

#include <string>

namespace vorelt {

// GTK's gtk-3.0/settings.ini, applied through QIcon and QApplication: the desktop's icon theme,
// font and colour preference where Qt's platform theme does not bring them. On a desktop without
// one (a bare window manager such as openbox) they are the settings that GTK's programs read, in
// the user's config home or the system's.
class DesktopLook {
public:
    // The value of `key` in the [Settings] group of the first settings.ini that sets it; empty
    // when none does.
    static std::string gtkSetting(const std::string& key);
    // Whether those settings ask for a dark look (a preference for dark, or a "-dark" theme).
    static bool gtkSettingsPreferDark();
    // Takes their icon theme and font, unless a platform theme already gave the program the
    // desktop's own. Needs the application object.
    static void applyGtkSettings();
};

}  // namespace vorelt
