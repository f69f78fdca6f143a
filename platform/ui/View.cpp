#include "platform/ui/View.h"

#include <QPointer>
#include <QSizePolicy>
#include <QWidget>

namespace vorelt {

struct View::Impl {
    QPointer<QWidget> widget;
    std::weak_ptr<Object> nextResponder;
};

View::View(QWidget* widget) : d(std::make_unique<Impl>()) {
    d->widget = widget;
}

View::~View() = default;

void View::setAutoresizingMask(unsigned mask) {
    autoresizingMask_ = mask;
    if (QWidget* w = widget()) {
        const auto policy = [](bool flexible) {
            return flexible ? QSizePolicy::Expanding : QSizePolicy::Fixed;
        };
        w->setSizePolicy(policy((mask & WidthSizable) != 0), policy((mask & HeightSizable) != 0));
    }
}

std::string View::identifier() const {
    const QWidget* w = widget();
    return w == nullptr ? std::string() : w->objectName().toStdString();
}

bool View::isHidden() const {
    const QWidget* w = widget();
    return w == nullptr || w->isHidden();
}

void View::setHidden(bool hidden) {
    if (QWidget* w = widget()) {
        w->setHidden(hidden);
    }
}

std::string View::accessibilityLabel() const {
    const QWidget* w = widget();
    return w == nullptr ? std::string() : w->accessibleName().toStdString();
}

void View::setNextResponder(const std::shared_ptr<Object>& responder) {
    d->nextResponder = responder;
}

std::shared_ptr<Object> View::nextResponder() {
    return d->nextResponder.lock();
}

QWidget* View::widget() const {
    return d->widget.data();
}

}  // namespace vorelt
