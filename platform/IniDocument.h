#pragma once
// An INI text held in memory: sections and "name=value" lines, names matched without
// regard to letter case as Windows does, order and comment lines kept on rewrite.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class IniDocument {
public:
    static IniDocument Parse(const QByteArray& text);
    QByteArray Serialize() const;

    std::optional<QString> Value(const QString& section, const QString& name) const;
    // Returns true when the stored text changed.
    bool SetValue(const QString& section, const QString& name, const QString& value);
    bool RemoveValue(const QString& section, const QString& name);
    bool RemoveSection(const QString& section);
    // Adds an empty section if none of that name exists.
    bool AddSection(const QString& section);

    bool HasSection(const QString& section) const;
    QStringList SectionNames() const;
    QStringList ValueNames(const QString& section) const;

private:
    struct Line {
        QString name; // empty for a comment or blank line
        QString value;
        QString raw; // the line as read, for comments and blank lines
    };
    struct Section {
        QString name;
        std::vector<Line> lines;
    };
    Section* find(const QString& section);
    const Section* find(const QString& section) const;

    std::vector<Section> sections; // the first one, unnamed, holds lines before any header
};
