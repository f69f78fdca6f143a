#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Control.h"

class QAbstractButton;

namespace vorelt {

// A QAbstractButton of a loaded .ui view: a push button, a checkbox or a radio button. Every change
// the person makes (a click, Space, an assistive technology's press or toggle) sends the action
// once; a state set in code sends none.
class Button : public Control {
public:
    // Checkbox states.
    enum State : int { MixedState = -1, OffState = 0, OnState = 1 };

    explicit Button(QAbstractButton* button);
    ~Button() override;

    void setTitle(std::string_view title);

    int state() const;
    void setState(int state);

    // Acts as a click by the user: toggles a checkbox, then sends the action.
    void performClick();

private:
    // The toolkit's connection to the button's signal, ended with this control.
    struct Connection;
    std::unique_ptr<Connection> changed_;
    bool settingState_ = false;
};

}  // namespace vorelt
