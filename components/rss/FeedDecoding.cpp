#include "components/rss/FeedDecoding.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString declaredEncoding(const QByteArray& data) {
    static const QRegularExpression decl(
        QStringLiteral("^\\s*<\\?xml[^>]*?encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const QString head = QString::fromLatin1(data.left(512));
    const QRegularExpressionMatch m = decl.match(head);
    return m.hasMatch() ? m.captured(1) : QString();
}

// Decodes strictly; false when the decoder is unknown or the bytes do not fit it.
bool decodeStrict(const QByteArray& name, const QByteArray& data, QString& out) {
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return false;
    out = decoder.decode(data);
    return !decoder.hasError();
}

QString decodeWindows1252(const QByteArray& data) {
    QString out;
    if (decodeStrict("windows-1252", data, out))
        return out;
    return QString::fromLatin1(data);
}

} // namespace

QString DecodeFeedDocument(const QByteArray& data) {
    QString text;
    const auto bom = QStringConverter::encodingForData(data, u'<');
    const QString declared = declaredEncoding(data);
    if (bom && *bom != QStringConverter::Utf8) {
        text = QStringDecoder(*bom).decode(data);
    } else if (!declared.isEmpty() && decodeStrict(declared.toLatin1(), data, text)) {
        // decoded as declared
    } else if (!decodeStrict("UTF-8", data, text)) {
        text = decodeWindows1252(data);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.startsWith(QLatin1String("<?xml"))) {
        const qsizetype end = text.indexOf(QLatin1String("?>"));
        if (end > 0)
            text.remove(0, end + 2);
    }
    return text;
}

QString HtmlEntityText(const QString& name) {
    static const QHash<QString, char32_t> table = [] {
        QHash<QString, char32_t> t;
        // The Latin-1 entities of HTML, code points 160 to 255 in order.
        static const char* const latin1[] = {
            "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",
            "uml",    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",
            "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",  "para",   "middot",
            "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest",
            "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil",
            "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc",  "Iuml",
            "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",   "times",
            "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
            "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
            "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",
            "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
            "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};
        for (int i = 0; i < 96; ++i)
            t.insert(QString::fromLatin1(latin1[i]), char32_t(160 + i));
        static const struct {
            const char* name;
            char32_t code;
        } others[] = {{"OElig", 338},   {"oelig", 339},  {"Scaron", 352},  {"scaron", 353},
                      {"Yuml", 376},    {"fnof", 402},   {"circ", 710},    {"tilde", 732},
                      {"ensp", 8194},   {"emsp", 8195},  {"thinsp", 8201}, {"zwnj", 8204},
                      {"zwj", 8205},    {"lrm", 8206},   {"rlm", 8207},    {"ndash", 8211},
                      {"mdash", 8212},  {"lsquo", 8216}, {"rsquo", 8217},  {"sbquo", 8218},
                      {"ldquo", 8220},  {"rdquo", 8221}, {"bdquo", 8222},  {"dagger", 8224},
                      {"Dagger", 8225}, {"bull", 8226},  {"hellip", 8230}, {"permil", 8240},
                      {"prime", 8242},  {"Prime", 8243}, {"lsaquo", 8249}, {"rsaquo", 8250},
                      {"euro", 8364},   {"trade", 8482}, {"larr", 8592},   {"uarr", 8593},
                      {"rarr", 8594},   {"darr", 8595},  {"harr", 8596},   {"minus", 8722}};
        for (const auto& e : others)
            t.insert(QString::fromLatin1(e.name), e.code);
        return t;
    }();
    const auto it = table.constFind(name);
    if (it == table.constEnd())
        return {};
    const char32_t code = *it;
    return QString::fromUcs4(&code, 1);
}
