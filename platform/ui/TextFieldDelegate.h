#pragma once

#include "platform/foundation/Notification.h"

namespace vorelt {

// Told about every edit the user makes in a QLineEdit: each typed character, deletion or paste.
class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual void controlTextDidChange(const Notification& notification) = 0;
};

}  // namespace vorelt
