#include "platform/ui/Control.h"

#include <QWidget>

#include "platform/foundation/ActionDispatcher.h"

namespace vorelt {

bool Control::isEnabled() const {
    const QWidget* w = widget();
    return w != nullptr && w->isEnabled();
}

void Control::setEnabled(bool enabled) {
    if (QWidget* w = widget()) {
        w->setEnabled(enabled);
    }
}

bool Control::sendAction() {
    if (action_.empty()) {
        return false;
    }
    return ActionDispatcher::send(action_, nullptr, this);
}

}  // namespace vorelt
