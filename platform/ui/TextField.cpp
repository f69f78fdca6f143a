#include "platform/ui/TextField.h"

#include <QLabel>
#include <QLineEdit>

#include "platform/foundation/QtText.h"

namespace vorelt {

struct TextField::Connection {
    QMetaObject::Connection connection;
};

TextField::TextField(QWidget* labelOrLineEdit)
    : Control(labelOrLineEdit), edited_(std::make_unique<Connection>()) {
    if (auto* edit = qobject_cast<QLineEdit*>(labelOrLineEdit)) {
        edited_->connection = QObject::connect(edit, &QLineEdit::textEdited, [this] {
            if (const auto delegate = delegate_.lock()) {
                delegate->controlTextDidChange(
                    Notification{"TextFieldTextDidChange", shared_from_this()});
            }
        });
    }
}

TextField::~TextField() {
    QObject::disconnect(edited_->connection);
}

std::string TextField::stringValue() const {
    if (const auto* label = qobject_cast<const QLabel*>(widget())) {
        return label->text().toStdString();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget())) {
        return edit->text().toStdString();
    }
    return {};
}

void TextField::setStringValue(std::string_view text) {
    const QString value = qs(text);
    // The same text again changes nothing: replacing it would move the caret to the end and drop
    // the selection and the undo history of a field the user is typing in.
    if (auto* label = qobject_cast<QLabel*>(widget()); label != nullptr && label->text() != value) {
        label->setText(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget());
               edit != nullptr && edit->text() != value) {
        edit->setText(value);
    }
}

}  // namespace vorelt
