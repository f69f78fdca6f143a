#include "platform/x11/X11ImageWindow.h"

#include <QEvent>
#include <QImage>
#include <QSysInfo>
#include <QWidget>

#include <cmath>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include "platform/x11/X11Desktop.h"

namespace vorelt {

namespace {
// Whether the server takes pixels of `depth` as 32-bit words in this machine's byte order, the
// way QImage::Format_RGB32 holds them.
bool takesImagesAsTheyAre(Display* display, int depth) {
    const int order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    if (ImageByteOrder(display) != order) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool words = false;
    for (int i = 0; i < count; ++i) {
        words = words || (formats[i].depth == depth && formats[i].bits_per_pixel == 32);
    }
    XFree(formats);
    return words;
}
}  // namespace

std::unique_ptr<X11ImageWindow> X11ImageWindow::over(QWidget* widget) {
    Display* display = X11Desktop::display();
    const auto parent = static_cast<std::uintptr_t>(widget->window()->winId());
    XWindowAttributes attributes;
    if (display == nullptr || parent == 0 ||
        XGetWindowAttributes(display, static_cast<Window>(parent), &attributes) == 0) {
        return nullptr;
    }
    const Visual* visual = attributes.visual;
    if ((attributes.depth != 24 && attributes.depth != 32) || visual->red_mask != 0xff0000 ||
        visual->green_mask != 0xff00 || visual->blue_mask != 0xff ||
        !takesImagesAsTheyAre(display, attributes.depth)) {
        return nullptr;
    }
    return std::unique_ptr<X11ImageWindow>(
        new X11ImageWindow(display, widget, attributes.visual, attributes.depth));
}

X11ImageWindow::X11ImageWindow(Display* display, QWidget* widget, void* visual, int depth)
    : display_(display),
      widget_(widget),
      parent_(static_cast<std::uintptr_t>(widget->window()->winId())),
      visual_(visual),
      depth_(depth) {
    XSetWindowAttributes attributes;
    attributes.background_pixmap = None;
    window_ = XCreateWindow(display_, static_cast<Window>(parent_), 0, 0, 1, 1, 0, CopyFromParent,
                            InputOutput, CopyFromParent, CWBackPixmap, &attributes);
    // No input region: presses, motion and the pointer's entering stay with the window beneath.
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (XShapeQueryExtension(display_, &event, &error) &&
        XShapeQueryVersion(display_, &major, &minor) && (major > 1 || minor >= 1)) {
        XShapeCombineRectangles(display_, window_, ShapeInput, 0, 0, nullptr, 0, ShapeSet,
                                Unsorted);
    }
    // An opaque widget that moves may have its old pixels moved without a paint: followed here.
    widget_->installEventFilter(this);
    follow();
}

bool X11ImageWindow::stillOver(const QWidget* widget) const {
    return widget == widget_ && static_cast<std::uintptr_t>(widget->window()->winId()) == parent_;
}

bool X11ImageWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            follow();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

X11ImageWindow::~X11ImageWindow() {
    // After the application's display has closed, the server has freed everything already.
    if (X11Desktop::display() != display_) {
        return;
    }
    if (gc_ != nullptr) {
        XFreeGC(display_, static_cast<GC>(gc_));
    }
    if (pixmap_ != 0) {
        XFreePixmap(display_, pixmap_);
    }
    XDestroyWindow(display_, window_);
    XFlush(display_);
}

void X11ImageWindow::follow() {
    const qreal scale = widget_->devicePixelRatioF();
    const QRect area(widget_->mapTo(widget_->window(), QPoint(0, 0)), widget_->size());
    const auto device = [scale](int at) { return static_cast<int>(std::lround(at * scale)); };
    const QRect geometry(QPoint(device(area.left()), device(area.top())),
                         QPoint(device(area.right() + 1) - 1, device(area.bottom() + 1) - 1));
    if (geometry != geometry_ && !geometry.isEmpty()) {
        // A new size starts a new picture; the widget paints it at once.
        if (geometry.size() != geometry_.size()) {
            if (gc_ != nullptr) {
                XFreeGC(display_, static_cast<GC>(gc_));
            }
            if (pixmap_ != 0) {
                XFreePixmap(display_, pixmap_);
            }
            pixmap_ = XCreatePixmap(display_, window_, static_cast<unsigned>(geometry.width()),
                                    static_cast<unsigned>(geometry.height()),
                                    static_cast<unsigned>(depth_));
            gc_ = XCreateGC(display_, pixmap_, 0, nullptr);
            XSetWindowBackgroundPixmap(display_, window_, pixmap_);
        }
        XMoveResizeWindow(display_, window_, geometry.x(), geometry.y(),
                          static_cast<unsigned>(geometry.width()),
                          static_cast<unsigned>(geometry.height()));
        geometry_ = geometry;
    }
    if (widget_->isVisible() != visible_) {
        visible_ = widget_->isVisible();
        if (visible_) {
            XMapWindow(display_, window_);
        } else {
            XUnmapWindow(display_, window_);
        }
    }
    XFlush(display_);
}

void X11ImageWindow::draw(const QImage& image, const QPoint& at) {
    if (pixmap_ == 0 || image.isNull()) {
        return;
    }
    // Xlib only reads the pixels; the image stays theirs. Described on the stack: a tick draws.
    XImage ximage{};
    ximage.width = image.width();
    ximage.height = image.height();
    ximage.format = ZPixmap;
    ximage.data = const_cast<char*>(reinterpret_cast<const char*>(image.constBits()));
    ximage.byte_order = ImageByteOrder(display_);
    ximage.bitmap_unit = BitmapUnit(display_);
    ximage.bitmap_bit_order = BitmapBitOrder(display_);
    ximage.bitmap_pad = 32;
    ximage.depth = depth_;
    ximage.bytes_per_line = static_cast<int>(image.bytesPerLine());
    ximage.bits_per_pixel = 32;
    const auto* visual = static_cast<Visual*>(visual_);
    ximage.red_mask = visual->red_mask;
    ximage.green_mask = visual->green_mask;
    ximage.blue_mask = visual->blue_mask;
    if (XInitImage(&ximage) == 0) {
        return;
    }
    XPutImage(display_, pixmap_, static_cast<GC>(gc_), &ximage, 0, 0, at.x(), at.y(),
              static_cast<unsigned>(image.width()), static_cast<unsigned>(image.height()));
    changed_ |= QRect(at, image.size());
}

void X11ImageWindow::flush() {
    changed_ &= QRect(QPoint(0, 0), geometry_.size());
    if (!changed_.isEmpty()) {
        XClearArea(display_, window_, changed_.x(), changed_.y(),
                   static_cast<unsigned>(changed_.width()),
                   static_cast<unsigned>(changed_.height()), False);
    }
    changed_ = QRect();
    XFlush(display_);
}

}  // namespace vorelt
