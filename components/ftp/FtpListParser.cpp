#include "components/ftp/FtpListParser.h"

#include <QList>
#include <QRegularExpression>

namespace {

struct Token {
    QString text;
    qsizetype start;
    qsizetype end;
};

QList<Token> Tokenize(const QString& line) {
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && line[i].isSpace())
            ++i;
        if (i >= n)
            break;
        const qsizetype start = i;
        while (i < n && !line[i].isSpace())
            ++i;
        tokens.append({line.mid(start, i - start), start, i});
    }
    return tokens;
}

bool AllDigits(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool IsMonthWord(const QString& s) {
    if (s.size() < 3 || s.size() > 5)
        return false;
    for (QChar c : s)
        if (!c.isLetter() && c != u'.')
            return false;
    return true;
}

bool IsDay(const QString& s) {
    if (s.size() > 2 || !AllDigits(s))
        return false;
    const int d = s.toInt();
    return d >= 1 && d <= 31;
}

bool IsTimeOrYear(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}:\\d{2}|\\d{4})$"));
    return re.match(s).hasMatch();
}

bool IsUnixMode(const QString& s) {
    if (s.size() < 10 || s.size() > 11)
        return false;
    if (!QStringLiteral("-dlbcpsDL").contains(s[0]))
        return false;
    for (int i = 1; i < 10; ++i)
        if (!QStringLiteral("rwxsStTlL-").contains(s[i]))
            return false;
    return s.size() == 10 || QStringLiteral("+@.").contains(s[10]);
}

// The size column; pure-ftpd may run the group into it ("ftpadmin125435904").
std::optional<qint64> SizeOf(const QString& s) {
    qsizetype i = s.size();
    while (i > 0 && s[i - 1] >= u'0' && s[i - 1] <= u'9')
        --i;
    if (i == s.size())
        return std::nullopt;
    bool ok = false;
    const qint64 v = s.mid(i).toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

std::optional<TFtpListEntry> ParseUnix(const QString& line, const QList<Token>& t) {
    if (t.size() < 5 || !IsUnixMode(t[0].text))
        return std::nullopt;
    // Month-first dates are the common form; day-first (some locales) only when no
    // month-first date is found, since owner names can look like month words.
    for (const bool dayFirst : {false, true}) {
        for (qsizetype i = 2; i + 3 < t.size(); ++i) {
            const QString& a = t[i].text;
            const QString& b = t[i + 1].text;
            if (!(dayFirst ? IsDay(a) && IsMonthWord(b) : IsMonthWord(a) && IsDay(b)) ||
                !IsTimeOrYear(t[i + 2].text))
                continue;
            const auto size = SizeOf(t[i - 1].text);
            if (!size)
                continue;
            TFtpListEntry e;
            const QChar type = t[0].text[0].toLower();
            e.IsDir = type == u'd';
            e.IsLink = type == u'l';
            e.Size = e.IsDir ? 0 : *size;
            e.FileTime = line.mid(t[i].start, t[i + 2].end - t[i].start).simplified();
            QString name = line.mid(t[i + 3].start);
            if (e.IsLink) {
                const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
                if (arrow >= 0) {
                    e.LinkTarget = name.mid(arrow + 4);
                    name.truncate(arrow);
                }
            }
            e.Name = name;
            return e;
        }
    }
    return std::nullopt;
}

std::optional<TFtpListEntry> ParseDos(const QString& line) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2}-\\d{1,2}-\\d{2,4})\\s+(\\d{1,2}:\\d{2}\\s*(?:[AaPp][Mm])?)\\s+(<"
                       "DIR>|\\d+)\\s+(\\S.*)$"));
    const auto m = re.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    TFtpListEntry e;
    e.Name = m.captured(4);
    e.IsDir = m.captured(3) == QStringLiteral("<DIR>");
    e.Size = e.IsDir ? 0 : m.captured(3).toLongLong();
    e.FileTime = m.captured(1) + u' ' + m.captured(2);
    return e;
}

} // namespace

std::optional<TFtpListEntry> ParseFtpListLine(const QString& raw) {
    QString line = raw;
    while (line.endsWith(u'\r') || line.endsWith(u'\n'))
        line.chop(1);
    const QList<Token> tokens = Tokenize(line);
    if (tokens.isEmpty())
        return std::nullopt;
    if (auto e = ParseUnix(line, tokens))
        return e;
    return ParseDos(line);
}
