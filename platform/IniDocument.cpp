#include "platform/IniDocument.h"

namespace {
bool same(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
} // namespace

IniDocument IniDocument::Parse(const QByteArray& text) {
    IniDocument doc;
    doc.sections.push_back({});
    QString all = QString::fromUtf8(text);
    if (all.startsWith(QChar(0xfeff)))
        all.remove(0, 1);
    QStringList lines = all.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the piece after the final newline
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            doc.sections.push_back({trimmed.mid(1, trimmed.size() - 2).trimmed(), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && !trimmed.startsWith(QLatin1Char(';')) && !trimmed.startsWith(QLatin1Char('#'))) {
            doc.sections.back().lines.push_back({line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), {}});
        } else {
            doc.sections.back().lines.push_back({{}, {}, line});
        }
    }
    return doc;
}

QByteArray IniDocument::Serialize() const {
    QString out;
    for (const Section& s : sections) {
        if (&s != &sections.front())
            out += QLatin1Char('[') + s.name + QLatin1String("]\n");
        for (const Line& l : s.lines)
            out += (l.name.isEmpty() ? l.raw : l.name + QLatin1Char('=') + l.value) + QLatin1Char('\n');
    }
    return out.toUtf8();
}

IniDocument::Section* IniDocument::find(const QString& section) {
    for (size_t i = 1; i < sections.size(); ++i)
        if (same(sections[i].name, section))
            return &sections[i];
    return nullptr;
}

const IniDocument::Section* IniDocument::find(const QString& section) const {
    return const_cast<IniDocument*>(this)->find(section);
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& name) const {
    if (const Section* s = find(section))
        for (const Line& l : s->lines)
            if (!l.name.isEmpty() && same(l.name, name))
                return l.value;
    return std::nullopt;
}

bool IniDocument::SetValue(const QString& section, const QString& name, const QString& value) {
    AddSection(section);
    Section* s = find(section);
    for (Line& l : s->lines)
        if (!l.name.isEmpty() && same(l.name, name)) {
            if (l.value == value)
                return false;
            l.value = value;
            return true;
        }
    s->lines.push_back({name, value, {}});
    return true;
}

bool IniDocument::RemoveValue(const QString& section, const QString& name) {
    Section* s = find(section);
    if (!s)
        return false;
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it)
        if (!it->name.isEmpty() && same(it->name, name)) {
            s->lines.erase(it);
            return true;
        }
    return false;
}

bool IniDocument::RemoveSection(const QString& section) {
    for (size_t i = 1; i < sections.size(); ++i)
        if (same(sections[i].name, section)) {
            sections.erase(sections.begin() + qsizetype(i));
            return true;
        }
    return false;
}

bool IniDocument::AddSection(const QString& section) {
    if (sections.empty())
        sections.push_back({});
    if (find(section))
        return false;
    // Keep a blank line between the last section and the new one.
    std::vector<Line>& tail = sections.back().lines;
    if (sections.size() > 1 || !tail.empty())
        if (tail.empty() || !tail.back().name.isEmpty() || !tail.back().raw.trimmed().isEmpty())
            tail.push_back({{}, {}, {}});
    sections.push_back({section, {}});
    return true;
}

bool IniDocument::HasSection(const QString& section) const { return find(section) != nullptr; }

QStringList IniDocument::SectionNames() const {
    QStringList names;
    for (size_t i = 1; i < sections.size(); ++i)
        names << sections[i].name;
    return names;
}

QStringList IniDocument::ValueNames(const QString& section) const {
    QStringList names;
    if (const Section* s = find(section))
        for (const Line& l : s->lines)
            if (!l.name.isEmpty())
                names << l.name;
    return names;
}
