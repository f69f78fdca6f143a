#include "platform/ui/WindowController.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLayout>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QUiLoader>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/foundation/FreeMemory.h"
#include "platform/ui/ViewController.h"

namespace vorelt {

namespace {

// Shown windows keep their controllers, as the windowing system keeps shown windows.
// In the order they were shown.
std::vector<std::shared_ptr<WindowController>>& shownControllers() {
    // Never destroyed: the windows go with the toolkit, before it ends.
    static auto* controllers = [] {
        qAddPostRoutine(WindowController::releaseOpenWindows);
        return new std::vector<std::shared_ptr<WindowController>>;
    }();
    return *controllers;
}

// Releases a window's controller once the user has closed the window.
class CloseWatcher : public QObject {
public:
    CloseWatcher(QWidget* window, WindowController& controller)
        : QObject(window), controller_(controller) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            // Later: the window is still inside its own close event here.
            WindowController* controller = &controller_;
            QTimer::singleShot(0, [controller] {
                auto& shown = shownControllers();
                for (auto it = shown.begin(); it != shown.end(); ++it) {
                    if (it->get() == controller) {
                        shown.erase(it);
                        break;
                    }
                }
                FreeMemory::returnSoon();
            });
        }
        return false;
    }

private:
    WindowController& controller_;
};

}  // namespace

WindowController::WindowController(std::string windowNibName)
    : windowNibName_(std::move(windowNibName)) {}

WindowController::~WindowController() {
    // The window takes the content view with it; the content controller lets go of it.
    delete window_;
}

void WindowController::setContentViewController(const std::shared_ptr<ViewController>& controller) {
    content_ = controller;
    // During construction there is no reference to hand out yet; loading the window wires it.
    if (content_ && !weak_from_this().expired()) {
        content_->setNextResponder(shared_from_this());
    }
    if (window_ != nullptr && content_) {
        window_->layout()->addWidget(content_->view()->widget());
    }
}

void WindowController::loadWindow() {
    QFile resource(":/ui/" + QString::fromStdString(windowNibName_) + ".ui");
    if (resource.open(QIODevice::ReadOnly)) {
        QUiLoader loader;
        window_ = loader.load(&resource);
    }
    if (window_ == nullptr) {
        window_ = new QWidget;
    }
    window_->setWindowFlag(Qt::Window);
    if (window_->layout() == nullptr) {
        auto* layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    window_->setWindowTitle(QString::fromStdString(
        windowTitleForDocumentDisplayName(window_->windowTitle().toStdString())));
    window_->installEventFilter(new CloseWatcher(window_, *this));
    // Closing from the keyboard, as dialogs do.
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)}) {
        QObject::connect(new QShortcut(keys, window_), &QShortcut::activated, window_,
                         &QWidget::close);
    }
    if (content_) {
        content_->setNextResponder(shared_from_this());
        window_->layout()->addWidget(content_->view()->widget());
    }
    // Centred on the screen, clear of the status bar.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window_->adjustSize();
        QRect frame(QPoint(), window_->sizeHint().expandedTo(window_->size()));
        frame.moveCenter(screen->availableGeometry().center());
        window_->move(frame.topLeft());
    }
    windowDidLoad();
}

void WindowController::showWindow(Object*) {
    if (window_ == nullptr) {
        loadWindow();
    }
    auto self = std::static_pointer_cast<WindowController>(shared_from_this());
    auto& shown = shownControllers();
    if (std::find(shown.begin(), shown.end(), self) == shown.end()) {
        shown.push_back(std::move(self));
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WindowController::close() {
    if (window_ != nullptr) {
        window_->close();
    }
}

void WindowController::windowDidLoad() {}

std::string WindowController::windowTitleForDocumentDisplayName(const std::string& displayName) {
    return displayName;
}

int WindowController::openWindowCount() {
    return static_cast<int>(shownControllers().size());
}

std::vector<std::shared_ptr<WindowController>> WindowController::openWindows() {
    return shownControllers();
}

void WindowController::releaseOpenWindows() {
    shownControllers().clear();
}

}  // namespace vorelt
