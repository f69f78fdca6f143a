#include "platform/ui/Button.h"

#include <QAbstractButton>
#include <QCheckBox>

namespace vorelt {

struct Button::Connection {
    QMetaObject::Connection connection;
};

namespace {
QAbstractButton* buttonOf(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget);
}
}  // namespace

Button::Button(QAbstractButton* button)
    : Control(button), changed_(std::make_unique<Connection>()) {
    const auto userChange = [this] {
        if (!settingState_) {
            sendAction();
        }
    };
    // A toggle through the accessibility interface changes the state without a click, so a
    // checkable button follows its state rather than its clicks.
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        changed_->connection = QObject::connect(box, &QCheckBox::stateChanged, userChange);
    } else if (button->isCheckable() && button->autoExclusive()) {
        // A radio button turned off by its neighbour's choice is no change of its own.
        changed_->connection =
            QObject::connect(button, &QAbstractButton::toggled, [userChange](bool on) {
                if (on) {
                    userChange();
                }
            });
    } else if (button->isCheckable()) {
        changed_->connection = QObject::connect(button, &QAbstractButton::toggled, userChange);
    } else {
        changed_->connection = QObject::connect(button, &QAbstractButton::clicked, userChange);
    }
}

Button::~Button() {
    QObject::disconnect(changed_->connection);
}

void Button::setTitle(std::string_view title) {
    if (QAbstractButton* b = buttonOf(widget())) {
        b->setText(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    }
}

int Button::state() const {
    if (const auto* box = qobject_cast<const QCheckBox*>(widget())) {
        switch (box->checkState()) {
            case Qt::Checked:
                return OnState;
            case Qt::PartiallyChecked:
                return MixedState;
            case Qt::Unchecked:
                return OffState;
        }
    }
    const QAbstractButton* b = buttonOf(widget());
    return b != nullptr && b->isChecked() ? OnState : OffState;
}

void Button::setState(int state) {
    settingState_ = true;
    if (auto* box = qobject_cast<QCheckBox*>(widget())) {
        box->setTristate(state == MixedState || box->isTristate());
        box->setCheckState(state == OnState    ? Qt::Checked
                           : state == OffState ? Qt::Unchecked
                                               : Qt::PartiallyChecked);
    } else if (QAbstractButton* b = buttonOf(widget()); b != nullptr && b->isCheckable()) {
        b->setChecked(state == OnState);
    }
    settingState_ = false;
}

void Button::performClick() {
    if (QAbstractButton* b = buttonOf(widget()); b != nullptr && b->isEnabled()) {
        b->click();
    }
}

}  // namespace vorelt
