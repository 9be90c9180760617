#pragma once
// A skin file (".skn"): caption-bar settings in an INI head, then a Qt style sheet.
//
//   [Caption]
//   Background=#203a5c          caption bar colour (a second colour makes a gradient:
//   Background2=#2c5282          top to bottom)
//   Text=#ffffff                caption text and button glyphs
//   ButtonHover=#3b6aa8         caption buttons under the mouse
//   Height=26                   caption bar height in pixels
//   Font=Arial Unicode MS       caption font (always bold)
//   [StyleSheet]
//   ...Qt style sheet for the whole window...
#include <QByteArray>
#include <QColor>
#include <QString>
#include <optional>

struct TSkinCaption {
    QColor Background{0x20, 0x3a, 0x5c};
    QColor Background2;
    QColor Text{Qt::white};
    QColor ButtonHover{0x3b, 0x6a, 0xa8};
    int Height = 26;
    QString Font = QStringLiteral("Arial Unicode MS");
};

struct TSkin {
    TSkinCaption Caption;
    QString StyleSheet;

    // Nothing for an empty text or one without a style sheet: such a file is no skin.
    static std::optional<TSkin> Parse(const QByteArray& text);
};
