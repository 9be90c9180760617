#include "platform/UrlZones.h"

#include <QApplication>
#include <QHostAddress>
#include <QStyle>

UrlZone ZoneOfUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (url.isEmpty() || scheme == QLatin1String("file") || scheme == QLatin1String("about") ||
        scheme == QLatin1String("qrc") || scheme == QLatin1String("data"))
        return UrlZone::LocalMachine;
    const QString host = url.host().toLower();
    if (host.isEmpty())
        return UrlZone::LocalMachine;
    QHostAddress address;
    if (address.setAddress(host)) {
        const bool privateV4 = address.isInSubnet(QHostAddress(QStringLiteral("10.0.0.0")), 8) ||
                               address.isInSubnet(QHostAddress(QStringLiteral("172.16.0.0")), 12) ||
                               address.isInSubnet(QHostAddress(QStringLiteral("192.168.0.0")), 16);
        if (address.isLoopback() || privateV4 || address.isLinkLocal() || address.isUniqueLocalUnicast() ||
            address.isSiteLocal())
            return UrlZone::Intranet;
        return UrlZone::Internet;
    }
    if (host == QLatin1String("localhost") || !host.contains(QLatin1Char('.')) || host.endsWith(QLatin1String(".local")))
        return UrlZone::Intranet;
    return UrlZone::Internet;
}

ZoneAttributes ZoneAttributesOf(UrlZone zone) {
    QStyle* style = qApp ? QApplication::style() : nullptr;
    auto icon = [style](QStyle::StandardPixmap sp) { return style ? style->standardIcon(sp) : QIcon(); };
    switch (zone) {
    case UrlZone::LocalMachine: return {QStringLiteral("My Computer"), icon(QStyle::SP_ComputerIcon)};
    case UrlZone::Intranet: return {QStringLiteral("Local intranet"), icon(QStyle::SP_DriveNetIcon)};
    case UrlZone::Trusted: return {QStringLiteral("Trusted sites"), icon(QStyle::SP_DialogApplyButton)};
    case UrlZone::Internet: return {QStringLiteral("Internet"), icon(QStyle::SP_DirLinkIcon)};
    case UrlZone::Restricted: return {QStringLiteral("Restricted sites"), icon(QStyle::SP_MessageBoxCritical)};
    }
    return {};
}
