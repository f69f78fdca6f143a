#pragma once

#include <QWidget>

namespace vorelt {

class StatusItem;

// How one status item looks in the bar window: its title, highlighted under the mouse.
class StatusItemView : public QWidget {
public:
    StatusItemView(StatusItem& item, QWidget* parent);

    StatusItem& item() const { return item_; }
    // Takes the item's title and length.
    void refresh();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    StatusItem& item_;
    QString title_;
    bool hovered_ = false;
};

}  // namespace vorelt
