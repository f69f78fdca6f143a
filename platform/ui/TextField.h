#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Control.h"
#include "platform/ui/TextFieldDelegate.h"

class QWidget;

namespace vorelt {

// A QLabel or QLineEdit of a loaded .ui view: a label or an editable text field.
class TextField : public Control {
public:
    explicit TextField(QWidget* labelOrLineEdit);
    ~TextField() override;

    std::string stringValue() const;
    void setStringValue(std::string_view text);

    // The delegate hears of the user's edits, not of setStringValue.
    void setDelegate(const std::shared_ptr<TextFieldDelegate>& delegate) { delegate_ = delegate; }
    std::shared_ptr<TextFieldDelegate> delegate() const { return delegate_.lock(); }

private:
    std::weak_ptr<TextFieldDelegate> delegate_;
    // The toolkit's connection to the field's edits, ended with this control.
    struct Connection;
    std::unique_ptr<Connection> edited_;
};

}  // namespace vorelt
