#pragma once

#include <QObject>
#include <QRect>

#include <cstdint>
#include <memory>

class QImage;
class QWidget;
struct _XDisplay;

namespace vorelt {

// An Xlib child window over a widget, whose background is a pixmap that the X server keeps.
// The server repaints it whenever it is uncovered, and a change is sent as just the pixels that
// changed, without a round trip. It follows the widget's place, size and showing; pointer events
// pass through it to the widget.
class X11ImageWindow : public QObject {
public:
    // None where there is no X11 display, or where its pixels are not 32-bit words in this
    // machine's byte order.
    static std::unique_ptr<X11ImageWindow> over(QWidget* widget);
    ~X11ImageWindow() override;

    // False once the widget's top-level window is another X window than the one it was made in.
    bool stillOver(const QWidget* widget) const;
    // The picture's size in device pixels.
    QSize size() const { return geometry_.size(); }
    // Puts `image` (QImage::Format_RGB32, in device pixels) into the picture at `at`; it shows
    // at the next flush().
    void draw(const QImage& image, const QPoint& at);
    void flush();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    X11ImageWindow(_XDisplay* display, QWidget* widget, void* visual, int depth);
    void follow();

    _XDisplay* display_;
    QWidget* widget_;
    std::uintptr_t parent_;
    void* visual_;
    int depth_;
    unsigned long window_ = 0;
    unsigned long pixmap_ = 0;
    void* gc_ = nullptr;
    QRect geometry_;
    QRect changed_;
    bool visible_ = false;
};

}  // namespace vorelt
