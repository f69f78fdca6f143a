// A file of the system's own side, built with nothing but the system library's usage requirements.
// Built with VORELT_PROBE_QT, it must fail for its Qt header alone.
#ifdef VORELT_PROBE_QT
#include <QString>
#endif

#include "launcher/LauncherDelegate.h"
#include "menubar/AppDelegate.h"
#include "model/Preferences.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "popover/CalendarPopoverViewController.h"
#include "settings/SettingsViewController.h"

int vorelt_seam_probe() {
    return 0;
}
