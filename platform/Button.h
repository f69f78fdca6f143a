#pragma once

#include <string>
#include <string_view>

#include "platform/Control.h"

class QAbstractButton;

namespace vorelt {

// A push button or a checkbox.
class Button : public Control {
public:
    // Checkbox states.
    enum State : int { MixedState = -1, OffState = 0, OnState = 1 };

    explicit Button(QAbstractButton* button);
    ~Button() override;

    std::string title() const;
    void setTitle(std::string_view title);

    int state() const;
    void setState(int state);

    // Acts as a click by the user: toggles a checkbox, then sends the action.
    void performClick();
};

}  // namespace vorelt
