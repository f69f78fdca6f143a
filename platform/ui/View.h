#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"

class QWidget;

namespace vorelt {

// A QWidget of a Qt Designer .ui resource.
// The resource's widget tree owns the widgets; a view only refers to its widget and reports it gone
// once the widget has been destroyed.
class View : public Object {
public:
    // Resizing flags: flexible left margin 1, width 2, right margin 4, bottom margin 8, height 16,
    // top margin 32. With none, the view keeps the size its resource gives it.
    enum AutoresizingMask : unsigned { NotSizable = 0, WidthSizable = 2, HeightSizable = 16 };

    explicit View(QWidget* widget);
    ~View() override;

    void setAutoresizingMask(unsigned mask);
    unsigned autoresizingMask() const { return autoresizingMask_; }

    std::string identifier() const;
    bool isHidden() const;
    void setHidden(bool hidden);
    std::string accessibilityLabel() const;

    // The responder after this view: the controller of the view it belongs to.
    void setNextResponder(const std::shared_ptr<Object>& responder);
    std::shared_ptr<Object> nextResponder() override;

    // The widget, or none once it has gone (for the platform layer only).
    QWidget* widget() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    unsigned autoresizingMask_ = WidthSizable | HeightSizable;
};

}  // namespace vorelt
