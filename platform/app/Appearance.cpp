#include "platform/app/Appearance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QPalette>
#include <QStyleFactory>

#include <optional>

#include "platform/app/DesktopLook.h"
#include "platform/foundation/SessionBus.h"

namespace vorelt {

namespace {

// How long a silent portal may delay start-up.
constexpr int kPortalTimeoutMs = 200;

// The portal's answer: 1 prefers dark, 2 prefers light, 0 no preference; none without a portal.
std::optional<uint> portalColorScheme() {
    QDBusConnection bus = SessionBus::shared();
    if (!bus.isConnected()) {
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop",
                                                       "/org/freedesktop/portal/desktop",
                                                       "org.freedesktop.portal.Settings", "Read");
    call << QString("org.freedesktop.appearance") << QString("color-scheme");
    const QDBusMessage reply = bus.call(call, QDBus::Block, kPortalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    // The value comes wrapped in one or two variants, depending on the portal's version.
    QVariant value = reply.arguments().first();
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>()) {
        value = value.value<QDBusVariant>().variant();
    }
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    return ok ? std::optional<uint>(scheme) : std::nullopt;
}

QPalette darkPalette() {
    QPalette palette;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(232, 232, 232);
    const QColor disabled(128, 128, 128);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(58, 58, 62));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(53, 132, 228));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(120, 174, 237));
    palette.setColor(QPalette::PlaceholderText, disabled);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    return palette;
}

}  // namespace

bool Appearance::desktopPrefersDark() {
    if (const auto scheme = portalColorScheme(); scheme && *scheme != 0) {
        return *scheme == 1;
    }
    return qEnvironmentVariable("GTK_THEME").endsWith(":dark", Qt::CaseInsensitive) ||
           DesktopLook::gtkSettingsPreferDark();
}

void Appearance::applyDesktopScheme() {
    DesktopLook::applyGtkSettings();
    // A platform theme that follows the desktop (GTK's, KDE's) has given its dark palette already.
    const bool alreadyDark = QApplication::palette().color(QPalette::Window).lightness() < 128;
    if (desktopPrefersDark() && !alreadyDark) {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(darkPalette());
    }
}

}  // namespace vorelt
