#include "platform/foundation/PlatformLog.h"

namespace vorelt {

// Only critical messages by default: warnings show when the logging rules ask for them.
Q_LOGGING_CATEGORY(platformLog, "vorelt.platform", QtCriticalMsg)

}  // namespace vorelt
