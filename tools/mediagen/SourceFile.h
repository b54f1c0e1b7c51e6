#pragma once

#include <QList>
#include <QString>

// One media source file: "key = value" lines, optionally grouped under
// "[Section]" headers. Lines starting with "#" are comments. Keys before the
// first header belong to an unnamed section. Everything is UTF-8 text so the
// content can be read and reviewed like any other source.
class SourceFile
{
public:
    struct Entry
    {
        QString key;
        QString value;
        int line = 0;
    };
    struct Section
    {
        QString name;
        int line = 0;
        QList<Entry> entries;

        // The value of the last entry with this key, or the empty string.
        QString value(const QString &key) const;
        bool has(const QString &key) const;
    };

    // False (with a message naming file and line) on a read or syntax error.
    bool load(const QString &path, QString *error);

    QString path() const { return m_path; }
    const Section &header() const { return m_sections.first(); }
    // The named sections in file order (the unnamed header excluded).
    QList<Section> sections() const { return m_sections.mid(1); }
    // "file:line: message", for errors found while interpreting the content.
    QString where(int line, const QString &message) const;

private:
    QString m_path;
    QList<Section> m_sections;
};
