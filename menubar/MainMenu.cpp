#include "menubar/MainMenu.h"

#include "menubar/AppDelegate.h"

namespace vorelt {

std::shared_ptr<ApplicationDelegate> MainMenu::instantiate() {
    return std::make_shared<AppDelegate>();
}

}  // namespace vorelt
