#pragma once

#include <QLoggingCategory>

namespace vorelt {

// Failures that a maintainer wants to see and a user should not: a write that did not happen, a
// view or an action that is missing. Silent unless asked for, with
// QT_LOGGING_RULES="<name>.*=true", the program's name.
Q_DECLARE_LOGGING_CATEGORY(platformLog)

}  // namespace vorelt
