#include "browser/ImageList.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace {
using Painter = void (*)(QPainter&);

// Icons drawn on a 16x16 grid, rendered at 16 and 32 pixels.
QIcon Drawn(Painter paint) {
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

void Globe(QPainter& p, const QColor& c) {
    p.setPen(QPen(c.darker(140), 1.1));
    p.setBrush(c);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 0.9));
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(3, 4.8), QPointF(13, 4.8));
    p.drawLine(QPointF(3, 11.2), QPointF(13, 11.2));
}

void Spinner(QPainter& p, int phase) {
    p.setPen(QPen(QColor(200, 210, 225), 2.2));
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setPen(QPen(QColor(30, 110, 220), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(2.5, 2.5, 11, 11), phase * 16 * 90, 16 * 120);
}

void Lock(QPainter& p, bool closed) {
    const QColor body = closed ? QColor(230, 170, 30) : QColor(150, 150, 150);
    p.setPen(QPen(body.darker(160), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(4.5, 8);
    shackle.lineTo(4.5, 5);
    shackle.arcTo(QRectF(4.5, 1.5, 7, 7), 180, -180);
    shackle.lineTo(11.5, closed ? 8 : 5.5);
    if (!closed)
        shackle.translate(2.5, -1);
    p.drawPath(shackle);
    p.setPen(QPen(body.darker(150), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
}

void Envelope(QPainter& p) {
    p.setPen(QPen(QColor(60, 90, 150), 1.1));
    p.setBrush(QColor(250, 245, 225));
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
    p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
}

void Feed(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 130, 20));
    p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(3.3, 10.3, 2.6, 2.6));
    p.setPen(QPen(Qt::white, 1.7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-2.5, 4.5, 12, 12), 0, 16 * 90);
    p.drawArc(QRectF(-6.5, 0.5, 20, 20), 0, 16 * 90);
}

void Clock(QPainter& p) {
    p.setPen(QPen(QColor(70, 100, 70), 1.1));
    p.setBrush(QColor(235, 245, 235));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(40, 60, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 4));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void Transfer(QPainter& p) {
    p.setPen(QPen(QColor(30, 120, 60), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 13), QPointF(5, 3));
    p.drawLine(QPointF(5, 3), QPointF(2.5, 5.5));
    p.drawLine(QPointF(5, 3), QPointF(7.5, 5.5));
    p.setPen(QPen(QColor(30, 80, 170), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 3), QPointF(11, 13));
    p.drawLine(QPointF(11, 13), QPointF(8.5, 10.5));
    p.drawLine(QPointF(11, 13), QPointF(13.5, 10.5));
}

QIcon Standard(QStyle::StandardPixmap sp) { return qApp ? QApplication::style()->standardIcon(sp) : QIcon(); }

QIcon Make(int index) {
    switch (index) {
    case TImageList::Back: return Standard(QStyle::SP_ArrowBack);
    case TImageList::Forward: return Standard(QStyle::SP_ArrowForward);
    case TImageList::Stop: return Standard(QStyle::SP_BrowserStop);
    case TImageList::Loading1: return Drawn([](QPainter& p) { Spinner(p, 0); });
    case TImageList::Loading2: return Drawn([](QPainter& p) { Spinner(p, 2); });
    case TImageList::Refresh: return Standard(QStyle::SP_BrowserReload);
    case TImageList::Search: return Standard(QStyle::SP_FileDialogContentsView);
    case TImageList::Favorites: return Standard(QStyle::SP_DirLinkIcon);
    case TImageList::Home: return Standard(QStyle::SP_DirHomeIcon);
    case TImageList::Print: return Standard(QStyle::SP_FileDialogDetailedView);
    case TImageList::Open: return Standard(QStyle::SP_DialogOpenButton);
    case TImageList::BrowserTab: return Drawn([](QPainter& p) { Globe(p, QColor(70, 140, 220)); });
    case TImageList::UrlHistory: return Drawn(Clock);
    case TImageList::HotKeys: return Standard(QStyle::SP_DesktopIcon);
    case TImageList::NewPage: return Standard(QStyle::SP_FileIcon);
    case TImageList::Go: return Standard(QStyle::SP_MediaPlay);
    case TImageList::Ftp: return Drawn(Transfer);
    case TImageList::MyPC: return Standard(QStyle::SP_ComputerIcon);
    case TImageList::Exit: return Standard(QStyle::SP_DialogCloseButton);
    case TImageList::Email: return Drawn(Envelope);
    case TImageList::FirstTab: return Drawn([](QPainter& p) { Globe(p, QColor(40, 160, 90)); });
    case TImageList::NotSecure: return Drawn([](QPainter& p) { Lock(p, false); });
    case TImageList::Secure: return Drawn([](QPainter& p) { Lock(p, true); });
    case TImageList::Rss: return Drawn(Feed);
    default: return {};
    }
}
} // namespace

QIcon TImageList::Icon(int index) {
    static QHash<int, QIcon> cache;
    auto it = cache.find(index);
    if (it == cache.end())
        it = cache.insert(index, Make(index));
    return *it;
}
