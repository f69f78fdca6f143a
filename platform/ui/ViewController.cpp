#include "platform/ui/ViewController.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QUiLoader>
#include <QWidget>

#include "platform/foundation/PlatformLog.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

namespace vorelt {

namespace {

std::shared_ptr<View> wrap(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return std::make_shared<Button>(button);
    }
    if (qobject_cast<QLabel*>(widget) != nullptr || qobject_cast<QLineEdit*>(widget) != nullptr) {
        return std::make_shared<TextField>(widget);
    }
    if (auto* calendar = qobject_cast<QCalendarWidget*>(widget)) {
        return std::make_shared<DatePicker>(calendar);
    }
    if (qobject_cast<QListWidget*>(widget) != nullptr ||
        qobject_cast<QTableWidget*>(widget) != nullptr) {
        return std::make_shared<TableView>(qobject_cast<QAbstractItemView*>(widget));
    }
    return std::make_shared<View>(widget);
}

}  // namespace

ViewController::ViewController(std::string nibName, std::string className)
    : nibName_(std::move(nibName)), className_(std::move(className)) {}

ViewController::~ViewController() {
    if (view_) {
        // The widget tree goes with its controller, unless something else took it over.
        QWidget* root = view_->widget();
        if (root != nullptr && root->parentWidget() == nullptr) {
            delete root;
        }
    }
}

std::shared_ptr<View> ViewController::view() {
    if (!view_) {
        loadView();
    }
    return view_;
}

void ViewController::loadView() {
    const QString name = QString::fromStdString(nibName_.empty() ? className_ : nibName_);
    QFile resource(":/ui/" + name + ".ui");
    QWidget* root = nullptr;
    if (resource.open(QIODevice::ReadOnly)) {
        QUiLoader loader;
        root = loader.load(&resource);
        if (root == nullptr) {
            qCWarning(platformLog) << "the interface" << resource.fileName()
                                   << "does not load:" << loader.errorString();
        }
    } else {
        qCWarning(platformLog) << "no interface" << resource.fileName();
    }
    if (root == nullptr) {
        root = new QWidget;  // a missing resource gives an empty view rather than none
    }
    const auto self = shared_from_this();
    view_ = std::make_shared<View>(root);
    view_->setNextResponder(self);
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const QString objectName = widget->objectName();
        if (objectName.isEmpty() || objectName.startsWith("qt_")) {
            continue;
        }
        auto control = wrap(widget);
        control->setNextResponder(self);
        if (auto* asControl = dynamic_cast<Control*>(control.get())) {
            const QString action = widget->property("action").toString();
            if (!action.isEmpty()) {
                asControl->setAction(action.toStdString());
            }
        }
        subviews_.push_back(control);
        setOutlet(objectName.toStdString(), control);
    }
    awakeFromNib();
    viewDidLoad();
}

void ViewController::awakeFromNib() {}

void ViewController::viewDidLoad() {}

void ViewController::viewWillAppear() {}

void ViewController::setOutlet(const std::string&, const std::shared_ptr<View>&) {}

}  // namespace vorelt
