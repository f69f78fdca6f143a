#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <map>

#include "TestSupport.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarWindow.h"

namespace vorelt {
namespace {

// A responder that counts the clicks that reach it.
class ClickCounter : public Object {
public:
    Action actionForSelector(const Selector&) override {
        return [this](Object*) { ++clicks; };
    }
    int clicks = 0;
};

// Counts the events of each type that reach the objects it watches.
class EventCounter : public QObject {
public:
    std::map<QEvent::Type, int> counts;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        ++counts[event->type()];
        return false;
    }
};

// A bar window with one item.
class BarWindow : public testing::Test {
protected:
    BarWindow() {
        bar.setHost(std::unique_ptr<StatusBarHost>(window));
        item = bar.statusItemWithLength(StatusBar::VariableStatusItemLength);
    }
    ~BarWindow() override { bar.detachHost(); }

    StatusBar bar;
    StatusBarWindow* window = new StatusBarWindow;
    std::shared_ptr<StatusItem> item;
};

TEST_F(BarWindow, AnItemWithAnEmptyTitleCanStillBeClicked) {
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
}

// The bar window costs the desktop once a second: a title change repaints the item alone, and
// anything that leaves the title as it is repaints, lays out and renames nothing.
TEST_F(BarWindow, RepaintsAndRenamesOnlyForANewTitle) {
    item->button()->setTitle("12:00:01");
    QApplication::processEvents();
    auto* view = window->findChild<QWidget*>();
    ASSERT_NE(view, nullptr);
    const int width = view->width();
    EventCounter windowEvents;
    EventCounter viewEvents;
    window->installEventFilter(&windowEvents);
    view->installEventFilter(&viewEvents);
    item->setLength(StatusBar::VariableStatusItemLength);  // the item changed, its title did not
    QApplication::processEvents();
    EXPECT_EQ(viewEvents.counts[QEvent::Paint], 0);
    EXPECT_EQ(windowEvents.counts[QEvent::LayoutRequest], 0);
    EXPECT_EQ(windowEvents.counts[QEvent::WindowTitleChange], 0);

    item->button()->setTitle("12:00:02");  // same width: no new layout of the bar
    QApplication::processEvents();
    EXPECT_EQ(viewEvents.counts[QEvent::Paint], 1);
    EXPECT_EQ(windowEvents.counts[QEvent::LayoutRequest], 0);
    EXPECT_EQ(windowEvents.counts[QEvent::WindowTitleChange], 1);
    // What a screen reader reads.
    EXPECT_EQ(window->accessibleName(), "12:00:02");
    EXPECT_EQ(view->accessibleName(), "12:00:02");

    item->button()->setTitle("Monday 12:00:03");  // wider: the item gets its room
    QApplication::processEvents();
    EXPECT_GT(view->width(), width);
}

}  // namespace
}  // namespace vorelt
