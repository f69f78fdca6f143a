#pragma once

#include <string>

#include "platform/ui/WindowController.h"

namespace vorelt {

// The settings window: a new window with a new settings view on every creation.
class SettingsWindowController : public WindowController {
public:
    SettingsWindowController();

    void windowDidLoad() override;
    std::string windowTitleForDocumentDisplayName(const std::string& displayName) override;
};

}  // namespace vorelt
