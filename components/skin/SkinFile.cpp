#include "components/skin/SkinFile.h"

#include "platform/IniDocument.h"

namespace {
constexpr char kStyleSheetHeader[] = "[StyleSheet]";

QColor colourOr(const IniDocument& head, const char* name, const QColor& fallback) {
    const auto text = head.Value(QStringLiteral("Caption"), QString::fromLatin1(name));
    if (!text)
        return fallback;
    const QColor c = QColor::fromString(*text);
    return c.isValid() ? c : fallback;
}
} // namespace

std::optional<TSkin> TSkin::Parse(const QByteArray& text) {
    const qsizetype at = text.indexOf(kStyleSheetHeader);
    if (at < 0)
        return std::nullopt;
    TSkin skin;
    skin.StyleSheet = QString::fromUtf8(text.mid(at + qsizetype(sizeof(kStyleSheetHeader)) - 1)).trimmed();
    if (skin.StyleSheet.isEmpty())
        return std::nullopt;

    const IniDocument head = IniDocument::Parse(text.left(at));
    TSkinCaption& c = skin.Caption;
    c.Background = colourOr(head, "Background", c.Background);
    c.Background2 = colourOr(head, "Background2", c.Background);
    c.Text = colourOr(head, "Text", c.Text);
    c.ButtonHover = colourOr(head, "ButtonHover", c.ButtonHover);
    bool ok = false;
    const int height = head.Value(QStringLiteral("Caption"), QStringLiteral("Height")).value_or(QString()).toInt(&ok);
    if (ok && height >= 16 && height <= 64)
        c.Height = height;
    c.Font = head.Value(QStringLiteral("Caption"), QStringLiteral("Font")).value_or(c.Font);
    return skin;
}
