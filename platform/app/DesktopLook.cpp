#include "platform/app/DesktopLook.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QIcon>
#include <QRegularExpression>
#include <QStandardPaths>

#include "platform/foundation/UserDefaults.h"

namespace vorelt {

namespace {

// The user's own first, then those of the system's config folders.
QStringList settingsFiles() {
    QStringList files{QString::fromStdString(UserDefaults::configHomePath()) +
                      "/gtk-3.0/settings.ini"};
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS", "/etc/xdg");
    for (const QString& dir : dirs.split(':', Qt::SkipEmptyParts)) {
        files.append(dir + "/gtk-3.0/settings.ini");
    }
    files.append("/etc/gtk-3.0/settings.ini");
    return files;
}

QString valueIn(const QString& path, const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    bool inSettings = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith('[')) {
            inSettings = line == "[Settings]";
        } else if (inSettings && line.section('=', 0, 0).trimmed() == key) {
            QString value = line.section('=', 1).trimmed();
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) {
                value = value.mid(1, value.size() - 2);
            }
            return value;
        }
    }
    return {};
}

// Qt's generic theme, which knows no desktop, leaves the fallback icon theme in place.
bool platformThemeGaveNoIcons() {
    const QString theme = QIcon::themeName();
    return theme.isEmpty() || theme == "hicolor";
}

}  // namespace

std::string DesktopLook::gtkSetting(const std::string& key) {
    for (const QString& path : settingsFiles()) {
        const QString value = valueIn(path, QString::fromStdString(key));
        if (!value.isEmpty()) {
            return value.toStdString();
        }
    }
    return {};
}

bool DesktopLook::gtkSettingsPreferDark() {
    const std::string prefer = gtkSetting("gtk-application-prefer-dark-theme");
    if (prefer == "1" || prefer == "true") {
        return true;
    }
    return QString::fromStdString(gtkSetting("gtk-theme-name"))
        .endsWith("-dark", Qt::CaseInsensitive);
}

void DesktopLook::applyGtkSettings() {
    if (!platformThemeGaveNoIcons()) {
        return;
    }
    if (const std::string icons = gtkSetting("gtk-icon-theme-name"); !icons.empty()) {
        QIcon::setThemeName(QString::fromStdString(icons));
    }
    // "DejaVu Sans Bold 10": the family, any styles, and the size in points last.
    static const QRegularExpression fontName(R"(^(.+?)\s+(\d+(?:\.\d+)?)$)");
    const auto match = fontName.match(QString::fromStdString(gtkSetting("gtk-font-name")));
    if (match.hasMatch()) {
        QFont font = QApplication::font();
        QString family = match.captured(1);
        const QStringList styles{" Bold", " Italic", " Oblique", " Regular"};
        for (const QString& style : styles) {
            if (family.endsWith(style, Qt::CaseInsensitive)) {
                family.chop(style.size());
                font.setBold(font.bold() || style == " Bold");
                font.setItalic(font.italic() || style == " Italic" || style == " Oblique");
            }
        }
        font.setFamilies({family});
        font.setPointSizeF(match.captured(2).toDouble());
        QApplication::setFont(font);
    }
}

}  // namespace vorelt
