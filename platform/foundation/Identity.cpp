#include "platform/foundation/Identity.h"

#include <QGuiApplication>

#include "platform/foundation/QtText.h"

namespace vorelt {

namespace {
// One for the process, from its start. The display name is kept here, not as the toolkit's: the
// toolkit would append it to every window's title.
Identity& adopted() {
    static Identity identity;
    return identity;
}
}  // namespace

void Identity::adopt() const {
    adopted() = *this;
    QCoreApplication::setApplicationName(qs(name));
    QGuiApplication::setDesktopFileName(qs(applicationId));
}

Identity Identity::current() {
    return adopted();
}

}  // namespace vorelt
