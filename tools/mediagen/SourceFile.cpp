#include "SourceFile.h"

#include <QFile>
#include <QStringDecoder>

QString SourceFile::Section::value(const QString &key) const
{
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        if (it->key == key)
            return it->value;
    }
    return QString();
}

bool SourceFile::Section::has(const QString &key) const
{
    for (const Entry &entry : entries) {
        if (entry.key == key)
            return true;
    }
    return false;
}

QString SourceFile::where(int line, const QString &message) const
{
    return QStringLiteral("%1:%2: %3").arg(m_path).arg(line).arg(message);
}

bool SourceFile::load(const QString &path, QString *error)
{
    m_path = path;
    m_sections.clear();
    m_sections.append(Section());

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(file.readAll());
    if (decoder.hasError()) {
        *error = QStringLiteral("%1: is not valid UTF-8").arg(path);
        return false;
    }

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')) || line.size() < 3) {
                *error = where(number, QStringLiteral("malformed section header"));
                return false;
            }
            Section section;
            section.name = line.mid(1, line.size() - 2).trimmed();
            section.line = number;
            m_sections.append(section);
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            *error = where(number, QStringLiteral("expected \"key = value\""));
            return false;
        }
        Entry entry;
        entry.key = line.left(equals).trimmed();
        entry.value = line.mid(equals + 1).trimmed();
        entry.line = number;
        m_sections.last().entries.append(entry);
    }
    return true;
}
