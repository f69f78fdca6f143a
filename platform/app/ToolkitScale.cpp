#include "platform/app/ToolkitScale.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <cmath>

namespace vorelt {

namespace {

bool whole(const QByteArray& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value >= 1.0 && value == std::floor(value);
}

}  // namespace

bool ToolkitScale::wholeFromEnvironment() {
    // Qt's own readings of a screen's density; none is set on a desktop that scales by whole steps.
    for (const char* name : {"QT_FONT_DPI", "QT_USE_PHYSICAL_DPI", "QT_DEVICE_PIXEL_RATIO"}) {
        if (!qEnvironmentVariableIsEmpty(name) && qgetenv(name) != "0") {
            return false;
        }
    }
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR") && !whole(qgetenv("QT_SCALE_FACTOR"))) {
        return false;
    }
    // "1.25;2" or "DP-1=1.25;HDMI-1=2", separated by semicolons or commas.
    QByteArray screens = qgetenv("QT_SCREEN_SCALE_FACTORS");
    screens.replace(',', ';');
    for (const QByteArray& screen : screens.split(';')) {
        if (!screen.trimmed().isEmpty() && !whole(screen.mid(screen.lastIndexOf('=') + 1))) {
            return false;
        }
    }
    return true;
}

}  // namespace vorelt
