#include "platform/StatusNotifierPixmap.h"

#include <QDBusArgument>
#include <QImage>
#include <QPainter>
#include <QtEndian>

namespace vorelt {

namespace {
StatusNotifierPixmap drawClock(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal stroke = std::max(1.5, size / 11.0);
        const QRectF face = QRectF(0, 0, size, size).adjusted(stroke, stroke, -stroke, -stroke);
        // A light face with a dark rim reads on dark and light panels alike.
        painter.setPen(QPen(QColor(40, 40, 40), stroke));
        painter.setBrush(QColor(245, 245, 245));
        painter.drawEllipse(face);
        const QPointF centre = face.center();
        painter.setPen(QPen(QColor(40, 40, 40), stroke, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre, centre + QPointF(0, -face.height() * 0.32));
        painter.drawLine(centre, centre + QPointF(face.width() * 0.24, 0));
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
    return {drawClock(16), drawClock(22), drawClock(32), drawClock(48)};
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
