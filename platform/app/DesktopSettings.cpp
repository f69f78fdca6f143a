#include "platform/app/DesktopSettings.h"

#include <QStandardPaths>
#include <QString>

#include <algorithm>

namespace vorelt {

namespace {

struct Tool {
    const char* desktop;  // as in XDG_CURRENT_DESKTOP
    std::vector<std::string> command;
};

const std::vector<Tool>& tools() {
    static const std::vector<Tool> known = {
        {"GNOME", {"gnome-control-center", "datetime"}},
        {"KDE", {"systemsettings", "kcm_clock"}},
        {"KDE", {"systemsettings5", "clock"}},
        {"XFCE", {"xfce4-datetime-settings"}},
        {"X-Cinnamon", {"cinnamon-settings", "calendar"}},
        {"MATE", {"mate-time-admin"}},
        {"LXQt", {"lxqt-admin-time"}},
        {"Unity", {"unity-control-center", "datetime"}},
        {"Budgie", {"budgie-control-center", "datetime"}},
    };
    return known;
}

bool installed(const Tool& tool) {
    return !QStandardPaths::findExecutable(QString::fromStdString(tool.command.front())).isEmpty();
}

}  // namespace

std::vector<std::string> DesktopSettings::dateTimeCommand() {
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':');
    for (const QString& desktop : desktops) {
        for (const Tool& tool : tools()) {
            if (desktop.compare(tool.desktop, Qt::CaseInsensitive) == 0 && installed(tool)) {
                return tool.command;
            }
        }
    }
    const auto any = std::find_if(tools().begin(), tools().end(), installed);
    return any == tools().end() ? std::vector<std::string>{} : any->command;
}

}  // namespace vorelt
