#include "platform/Button.h"

#include <QAbstractButton>
#include <QCheckBox>

namespace vorelt {

namespace {
QAbstractButton* buttonOf(QWidget* widget) {
    return qobject_cast<QAbstractButton*>(widget);
}
}  // namespace

Button::Button(QAbstractButton* button) : Control(button) {
    QObject::connect(button, &QAbstractButton::clicked, [this] { sendAction(); });
}

Button::~Button() {
    if (QAbstractButton* b = buttonOf(widget())) {
        QObject::disconnect(b, &QAbstractButton::clicked, nullptr, nullptr);
    }
}

std::string Button::title() const {
    const QAbstractButton* b = buttonOf(widget());
    return b == nullptr ? std::string() : b->text().toStdString();
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
    if (auto* box = qobject_cast<QCheckBox*>(widget())) {
        box->setTristate(state == MixedState || box->isTristate());
        box->setCheckState(state == OnState    ? Qt::Checked
                           : state == OffState ? Qt::Unchecked
                                               : Qt::PartiallyChecked);
    } else if (QAbstractButton* b = buttonOf(widget()); b != nullptr && b->isCheckable()) {
        b->setChecked(state == OnState);
    }
}

void Button::performClick() {
    if (QAbstractButton* b = buttonOf(widget()); b != nullptr && b->isEnabled()) {
        b->click();
    }
}

}  // namespace vorelt
