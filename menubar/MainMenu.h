#pragma once

#include <memory>

namespace vorelt {

class ApplicationDelegate;

// The application's main interface: it makes the one application delegate.
class MainMenu {
public:
    static std::shared_ptr<ApplicationDelegate> instantiate();
};

}  // namespace vorelt
