#include "platform/foundation/PlatformLog.h"

#include "platform/foundation/Identity.h"

namespace vorelt {

const QLoggingCategory& platformLog() {
    // Named once the program has its name, at the first failure; the category keeps the pointer.
    static const QByteArray name =
        QByteArray::fromStdString(Identity::current().name + ".platform");
    // Only critical messages by default: warnings show when the logging rules ask for them.
    static const QLoggingCategory category(name.constData(), QtCriticalMsg);
    return category;
}

}  // namespace vorelt
