#include "platform/ui/ScreenChanges.h"

#include <QGuiApplication>
#include <QScreen>

namespace vorelt {

void ScreenChanges::follow(QObject* context, const std::function<void()>& changed,
                           WorkAreas workAreas) {
    const auto watch = [context, changed, workAreas](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, changed);
        if (workAreas == WorkAreas::followed) {
            QObject::connect(screen, &QScreen::availableGeometryChanged, context, changed);
        }
    };
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, context,
                     [watch, changed](QScreen* screen) {
                         watch(screen);
                         changed();
                     });
    for (const auto signal :
         {&QGuiApplication::screenRemoved, &QGuiApplication::primaryScreenChanged}) {
        QObject::connect(qGuiApp, signal, context, changed);
    }
}

}  // namespace vorelt
