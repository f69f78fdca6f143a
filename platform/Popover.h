#pragma once

#include <memory>

#include "platform/Object.h"

namespace vorelt {

// A panel that opens anchored to a control. Created closed.
class Popover : public Object {
public:
    Popover();
    ~Popover() override;

    bool isShown() const { return shown_; }

private:
    bool shown_ = false;
};

}  // namespace vorelt
