#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/StatusBar.h"
#include "platform/StatusBarWindow.h"

namespace vorelt {
namespace {

// A responder that counts the clicks that reach it.
class ClickCounter : public Object {
public:
    Action actionForSelector(const Selector& selector) override {
        if (selector == "togglePopover:") {
            return [this](Object*) { ++clicks; };
        }
        return {};
    }
    int clicks = 0;
};

TEST(StatusBarWindow, AnItemWithAnEmptyTitleCanStillBeClicked) {
    StatusBar bar;
    auto* window = new StatusBarWindow;
    bar.setHost(std::unique_ptr<StatusBarHost>(window));
    const auto item = bar.statusItemWithLength(StatusBar::VariableStatusItemLength);
    const auto counter = std::make_shared<ClickCounter>();
    item->button()->setTarget(counter);
    item->button()->setAction("togglePopover:");
    item->button()->setTitle("");
    ASSERT_TRUE(test::waitFor([&] { return item->frameOnScreen().width > 0; }));
    const Rect frame = item->frameOnScreen();
    EXPECT_GE(frame.width, 24);

    const QPoint inside(static_cast<int>(frame.x + frame.width / 2) - window->x(),
                        static_cast<int>(frame.height / 2));
    QWidget* view = window->childAt(inside);
    ASSERT_NE(view, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, view->mapFrom(window, inside),
                      window->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &press);
    EXPECT_EQ(counter->clicks, 1);
    bar.removeStatusItem(item);
}

}  // namespace
}  // namespace vorelt
