#include "platform/statusbar/tray/StatusNotifierPixmap.h"

#include <QDBusArgument>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QtEndian>

namespace vorelt {

namespace {
// The program's own icon: a light face in a blue rim, with dark hands, as in its menu entry's icon.
StatusNotifierPixmap drawClock(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 128.0, size / 128.0);
        QLinearGradient rim(0, 6, 0, 122);
        rim.setColorAt(0, QColor(0x4a, 0x6f, 0xa5));
        rim.setColorAt(1, QColor(0x2c, 0x47, 0x70));
        painter.setPen(Qt::NoPen);
        painter.setBrush(rim);
        painter.drawEllipse(QPointF(64, 64), 60, 60);
        painter.setBrush(QColor(0xfb, 0xfb, 0xf8));
        painter.drawEllipse(QPointF(64, 64), 47, 47);
        // Small icons get thicker hands, so that they still read at 16 pixels.
        const qreal thick = size <= 24 ? 14 : 9;
        painter.setPen(QPen(QColor(0x2e, 0x34, 0x40), thick, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(64, 64), QPointF(64, 28));
        painter.drawLine(QPointF(64, 64), QPointF(90, 64));
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    StatusNotifierPixmap pixmap{size, size, {}};
    pixmap.bytes.resize(static_cast<qsizetype>(size) * size * 4);
    auto* out = reinterpret_cast<uchar*>(pixmap.bytes.data());
    for (int y = 0; y < size; ++y) {
        const auto* line = reinterpret_cast<const quint32*>(argb.constScanLine(y));
        for (int x = 0; x < size; ++x, out += 4) {
            qToBigEndian<quint32>(line[x], out);
        }
    }
    return pixmap;
}
}  // namespace

QList<StatusNotifierPixmap> StatusNotifierPixmap::clockIcon() {
    return {drawClock(16), drawClock(22), drawClock(24),
            drawClock(32), drawClock(48), drawClock(64)};
}

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.bytes;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.bytes;
    argument.endStructure();
    return argument;
}

}  // namespace vorelt
