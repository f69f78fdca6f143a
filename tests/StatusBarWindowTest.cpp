#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

#include <map>

#include "TestSupport.h"
#include "platform/app/Application.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusBarWindow.h"
#include "platform/statusbar/StatusItem.h"

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

// Counts the events of some types that reach the widgets it watches.
class EventCounter : public QObject {
public:
    int count(QEvent::Type type) const {
        const auto it = counts_.find(type);
        return it == counts_.end() ? 0 : it->second;
    }
    void reset() { counts_.clear(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        ++counts_[event->type()];
        return false;
    }

private:
    std::map<QEvent::Type, int> counts_;
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

// The bar window costs the desktop once a second: a title change repaints the item alone, and
// anything that leaves the title as it is repaints, lays out and renames nothing.
TEST(StatusBarWindow, RepaintsAndRenamesOnlyForANewTitle) {
    StatusBar bar;
    auto host = std::make_unique<StatusBarWindow>();
    StatusBarWindow* window = host.get();
    bar.setHost(std::move(host));
    const auto item = bar.statusItemWithLength(StatusBar::VariableStatusItemLength);
    item->button()->setTitle("12:00:01");
    QApplication::processEvents();
    auto* view = window->findChild<QWidget*>();
    ASSERT_NE(view, nullptr);
    const int width = view->width();
    EXPECT_EQ(window->windowTitle(), "12:00:01");
    EXPECT_EQ(view->accessibleName(), "12:00:01");

    EventCounter windowEvents;
    EventCounter viewEvents;
    window->installEventFilter(&windowEvents);
    view->installEventFilter(&viewEvents);
    item->setLength(StatusBar::VariableStatusItemLength);  // the item changed, its title did not
    QApplication::processEvents();
    EXPECT_EQ(viewEvents.count(QEvent::Paint), 0);
    EXPECT_EQ(windowEvents.count(QEvent::LayoutRequest), 0);
    EXPECT_EQ(windowEvents.count(QEvent::WindowTitleChange), 0);

    item->button()->setTitle("12:00:02");  // same width: no new layout of the bar
    QApplication::processEvents();
    EXPECT_EQ(viewEvents.count(QEvent::Paint), 1);
    EXPECT_EQ(windowEvents.count(QEvent::LayoutRequest), 0);
    EXPECT_EQ(windowEvents.count(QEvent::WindowTitleChange), 1);
    EXPECT_EQ(window->windowTitle(), "12:00:02");
    EXPECT_EQ(window->accessibleName(), "12:00:02");
    EXPECT_EQ(view->accessibleName(), "12:00:02");
    EXPECT_EQ(view->width(), width);

    item->button()->setTitle("Monday 12:00:03");  // wider: the item gets its room
    QApplication::processEvents();
    EXPECT_GT(view->width(), width);
    EXPECT_EQ(window->windowTitle(), "Monday 12:00:03");
    window->removeEventFilter(&windowEvents);
    view->removeEventFilter(&viewEvents);
    bar.detachHost();
}

}  // namespace
}  // namespace vorelt
