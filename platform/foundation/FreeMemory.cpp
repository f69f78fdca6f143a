#include "platform/foundation/FreeMemory.h"

#include <QCoreApplication>
#include <QTimer>

#include <malloc.h>

namespace vorelt {

namespace {
// Long enough for a window's last paint and the toolkit's clean-up after it.
constexpr int kMemoryReturnDelayMs = 1000;
}  // namespace

void FreeMemory::returnSoon() {
    if (qApp == nullptr) {
        return;
    }
    static QTimer* later = [] {
        auto* timer = new QTimer(qApp);
        timer->setSingleShot(true);
        timer->setInterval(kMemoryReturnDelayMs);
        QObject::connect(timer, &QTimer::timeout, [] { ::malloc_trim(0); });
        return timer;
    }();
    later->start();
}

}  // namespace vorelt
