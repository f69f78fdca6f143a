#pragma once

#include <cstdint>
#include <string>

namespace vorelt {

// The system's time zone as an ICU TimeZone, watched with QFileSystemWatcher.
// The formatters use it. It is read from the file `TZ` names (with or without the leading colon),
// else from /etc/localtime, else as ICU finds it, and it is read again when that file or the link
// to it is replaced while the program runs.
class TimeZone {
public:
    // Reads the system's zone again; a formatter follows at its next formatting.
    static void resetSystemTimeZone();
    // Counts the changes of zone since start, so that a formatter can tell its zone is stale.
    static std::uint64_t systemTimeZoneChangeCount();
    // Watches the zone's file and folder for the rest of the application's life (needs an
    // application object; without one it does nothing).
    static void observeSystemTimeZoneChanges();
};

}  // namespace vorelt
