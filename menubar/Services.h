#pragma once

#include <memory>

#include "platform/app/ServiceManagement.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/Date.h"

namespace vorelt {

// What the clock takes from the session, handed from the application's delegate to every
// controller it makes: the session's own in the program, stand-ins in tests.
struct Services {
    // The current moment: of the title, today's date and the preview.
    Clock now = Date::now;
    // The running programs, and the opening of the date and time settings.
    std::shared_ptr<Workspace> workspace = Workspace::sharedWorkspace();
    // Turns the launcher's login item on.
    LoginItemService enableLoginItem = vorelt::enableLoginItem;
};

}  // namespace vorelt
