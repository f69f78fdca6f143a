#include "platform/statusbar/StatusBarWindow.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/foundation/QtGeometry.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/StatusItemView.h"
#include "platform/ui/ScreenChanges.h"
#include "platform/wayland/WaylandOverlay.h"
#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11WorkArea.h"

namespace vorelt {

struct StatusBarWindow::ScreenReaderWatch : QAccessible::ActivationObserver {
    explicit ScreenReaderWatch(StatusBarWindow& bar) : bar(bar) {
        QAccessible::installActivationObserver(this);
    }
    ~ScreenReaderWatch() override { QAccessible::removeActivationObserver(this); }
    void accessibilityActiveChanged(bool active) override {
        if (active) {
            bar.setAccessibleName(bar.name_);
            for (StatusItemView* view : bar.views_) {
                view->tellScreenReaders();
            }
        }
    }
    StatusBarWindow& bar;
};

namespace {
constexpr int kVerticalPadding = 8;
constexpr int kEndMargin = 6;

// Where the window manager keeps no strip for docks (sway, weston) it would frame the bar, float
// it or put it anywhere: on X11 the bar then places itself, past the window manager.
bool placesItself() {
    return X11Desktop::available() && !X11Desktop::docksKeepTheirStrip();
}

Qt::WindowFlags barFlags() {
    const Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                  Qt::WindowDoesNotAcceptFocus;
    return placesItself() ? flags | Qt::BypassWindowManagerHint : flags;
}

// Through XWayland the X11 work area leaves no panel out: the compositor tells, where it can.
std::optional<QRect> compositorsWorkArea(const QScreen* screen) {
    if (WaylandOverlay* overlay = WaylandOverlay::instance(); overlay != nullptr && screen) {
        for (const WaylandOverlay::Output& output : overlay->outputs(std::nullopt)) {
            if (qRectFrom(output.frame).contains(screen->geometry().topLeft())) {
                return qRectFrom(output.workArea);
            }
        }
    }
    return std::nullopt;
}
}  // namespace

StatusBarWindow::StatusBarWindow() : QWidget(nullptr, barFlags()), layout_(new QHBoxLayout(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName("StatusBar");
    layout_->setContentsMargins(kEndMargin, 0, kEndMargin, 1);
    layout_->setSpacing(2);
    layout_->addStretch(1);
    // The dock type is only kept when it is set after the native window exists and before it is
    // shown.
    (void)winId();
    setAttribute(Qt::WA_X11NetWmWindowTypeDock);
    followScreens();
    placeOnScreen();
    show();
    X11Desktop::ignorePropertyChanges(winId());
    screenReaders_ = std::make_unique<ScreenReaderWatch>(*this);
}

StatusBarWindow::~StatusBarWindow() = default;

void StatusBarWindow::followScreens() {
    // One change (a monitor plugged in) comes as several signals: the bar is placed once.
    auto* placeAgain = new QTimer(this);
    placeAgain->setSingleShot(true);
    placeAgain->setInterval(50);
    connect(placeAgain, &QTimer::timeout, this, &StatusBarWindow::placeOnScreen);
    ScreenChanges::follow(
        placeAgain, [placeAgain] { placeAgain->start(); }, ScreenChanges::WorkAreas::followed);
    if (X11Desktop::available()) {
        workArea_ = std::make_unique<X11WorkArea>(winId(), [placeAgain] { placeAgain->start(); });
    }
}

void StatusBarWindow::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // The work area (_NET_WORKAREA on X11) leaves out the strips that docks reserve. On X11 its
    // top counts the bar's own strip as well: the top comes from the other docks instead, unless
    // the compositor under XWayland tells the work area itself.
    const std::optional<QRect> compositors = compositorsWorkArea(screen);
    QRect area = compositors.value_or(screen != nullptr ? screen->availableGeometry()
                                                        : QRect(0, 0, 800, 600));
    const int height = fontMetrics().height() + kVerticalPadding;
    // A screen keeps its position in the display's pixels; only what lies past it is scaled.
    const qreal scale = devicePixelRatioF();
    const QPoint origin = screen != nullptr ? screen->geometry().topLeft() : QPoint();
    const auto pixels = [scale](int at, int from) {
        return from + static_cast<int>((at - from) * scale);
    };
    if (!compositors && workArea_ != nullptr && screen != nullptr) {
        const WorkAreaTop::Desktop desktop = workArea_->read();
        const QRect monitor = screen->geometry();
        if (desktop.windowManager == 0) {
            area = monitor;
        }
        const int top = top_.topOf({origin.x(), pixels(monitor.right() + 1, origin.x()) - 1,
                                    origin.y(), pixels(monitor.bottom() + 1, origin.y()) - 1},
                                   desktop);
        area.setTop(origin.y() + static_cast<int>(std::ceil((top - origin.y()) / scale)));
    }
    setGeometry(area.x(), area.y(), area.width(), height);
    setFixedSize(area.width(), height);
    if (workArea_ != nullptr) {
        const Strip strip{pixels(area.y() + height, origin.y()), pixels(area.x(), origin.x()),
                          pixels(area.x() + area.width(), origin.x()) - 1};
        if (strip != reserved_) {
            reserved_ = strip;
            X11Desktop::reserveTopStrip(winId(), strip.bottom, strip.startX, strip.endX);
            top_.reserved(strip.bottom);
        }
    }
}

StatusItemView* StatusBarWindow::viewOf(const StatusItem& item) const {
    const auto it = std::find_if(views_.begin(), views_.end(), [&item](const StatusItemView* view) {
        return &view->item() == &item;
    });
    return it == views_.end() ? nullptr : *it;
}

void StatusBarWindow::addItem(StatusItem& item) {
    auto* view = new StatusItemView(item, this);
    // New items go to the left of older ones, as in a menu bar's status area.
    layout_->insertWidget(1, view);
    views_.push_back(view);
    updateName();
}

void StatusBarWindow::removeItem(StatusItem& item) {
    StatusItemView* view = viewOf(item);
    if (view == nullptr) {
        return;
    }
    views_.erase(std::find(views_.begin(), views_.end(), view));
    delete view;
    updateName();
}

void StatusBarWindow::itemChanged(StatusItem& item) {
    if (StatusItemView* view = viewOf(item)) {
        // The new name goes with the item's new picture, in one write.
        updateName();
        view->refresh();
        X11Desktop::flush();
    }
}

Rect StatusBarWindow::screenFrameOfItem(const StatusItem& item) const {
    const StatusItemView* view = viewOf(item);
    if (view == nullptr || !view->isVisible()) {
        return Rect{};
    }
    return rectFrom(QRect(view->mapToGlobal(QPoint(0, 0)), QSize(view->width(), height())));
}

bool StatusBarWindow::takesPressAt(QPoint local) const {
    return childAt(local) != nullptr;
}

void StatusBarWindow::updateName() {
    QString name;
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        if (const auto button = (*it)->item().button()) {
            name += (name.isEmpty() ? "" : "  ") + QString::fromStdString(button->title());
        }
    }
    if (name == name_) {
        return;
    }
    name_ = name;
    // The toolkit's own naming converts and flushes twice: too much for every second.
    if (X11Desktop::available()) {
        X11Desktop::setWindowName(winId(), name);
    } else {
        setWindowTitle(name);
    }
    if (QAccessible::isActive()) {
        setAccessibleName(name);
    }
}

void StatusBarWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QColor line = palette().color(QPalette::WindowText);
    line.setAlpha(50);
    painter.fillRect(QRect(0, height() - 1, width(), 1), line);
}

}  // namespace vorelt
