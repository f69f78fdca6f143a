#include "settings/SettingsWindowController.h"

#include "settings/SettingsViewController.h"

namespace vorelt {

SettingsWindowController::SettingsWindowController(Services services)
    : WindowController("SettingsWindowController") {
    setContentViewController(std::make_shared<SettingsViewController>(std::move(services)));
}

void SettingsWindowController::windowDidLoad() {
    WindowController::windowDidLoad();
}

std::string SettingsWindowController::windowTitleForDocumentDisplayName(const std::string&) {
    return "Settings";
}

}  // namespace vorelt
