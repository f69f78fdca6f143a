#pragma once

#include <QTextLayout>
#include <QWidget>

namespace vorelt {

class StatusItem;

// How one status item looks in the bar window: its title, highlighted under the mouse.
class StatusItemView : public QWidget {
public:
    StatusItemView(StatusItem& item, QWidget* parent);

    StatusItem& item() const { return item_; }
    // Takes the item's title and length; repaints and asks the bar for room only for what changed.
    void refresh();

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int widthHint() const;
    // Lays the title out in the current font, once per title: measuring and drawing both use it.
    void layOut();
    // Sets and lays out a new title; the part of the view that changed.
    QRect takeTitle(const QString& title);

    StatusItem& item_;
    QString title_;
    QTextLayout layout_;
    int titleWidth_ = 0;
    int widthHint_ = 0;
    bool hovered_ = false;
};

}  // namespace vorelt
