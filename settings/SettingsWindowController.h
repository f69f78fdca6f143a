#pragma once

#include <string>

#include "menubar/Services.h"
#include "platform/ui/WindowController.h"

namespace vorelt {

// The settings window: a new window with a new settings view on every creation.
class SettingsWindowController : public WindowController {
public:
    explicit SettingsWindowController(Services services = {});

    void windowDidLoad() override;
    std::string windowTitleForDocumentDisplayName(const std::string& displayName) override;
};

}  // namespace vorelt
