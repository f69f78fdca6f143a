#pragma once

namespace vorelt {

// glibc's malloc_trim, run by a single-shot Qt timer a second after it is asked for.
// The heap's free pages, given back to the system: the clock runs for days, with little in use
// between the windows.
class FreeMemory {
public:
    // A moment later: after start-up, or once a closed window's last paint and the toolkit's
    // clean-up after it are done.
    static void returnSoon();
};

}  // namespace vorelt
