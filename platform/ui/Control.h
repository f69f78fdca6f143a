#pragma once

#include <memory>

#include "platform/ui/View.h"

namespace vorelt {

// A QWidget of a loaded .ui view that the user acts on, and that sends its action when they do.
class Control : public View {
public:
    using View::View;

    bool isEnabled() const;
    void setEnabled(bool enabled);

    // The action goes along the responder chain from this control.
    void setAction(Selector action) { action_ = std::move(action); }
    const Selector& action() const { return action_; }

    // Sends the action; false when nobody answered it.
    bool sendAction();

private:
    Selector action_;
};

}  // namespace vorelt
