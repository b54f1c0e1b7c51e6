#include "content/LetterSounds.h"

#include "content/MediaPaths.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// The letters a line names, as the program names them; unknown ones dropped.
QStringList lettersOf(const QString &value)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    QStringList letters;
    for (const QString &token : value.split(separators, Qt::SkipEmptyParts)) {
        const QString letter = MediaPaths::letterFolderName(token.toUpper());
        if (MediaPaths::alphabet().contains(letter) && !letters.contains(letter))
            letters << letter;
    }
    return letters;
}

} // namespace

QString LetterSounds::fileName()
{
    return QStringLiteral("sonidos.txt");
}

LetterSounds LetterSounds::read(const QString &language)
{
    QFile file(MediaPaths::lettersFolder(language) + QLatin1Char('/') + fileName());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return LetterSounds();
    return parse(QString::fromUtf8(file.readAll()));
}

LetterSounds LetterSounds::parse(const QString &text)
{
    LetterSounds sounds;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('#')) || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QStringList letters = lettersOf(line.mid(equals + 1));
        if (key == QLatin1String("igual") && letters.size() > 1)
            sounds.m_groups << letters;
        else if (key == QLatin1String("muda"))
            sounds.m_silent << letters;
    }
    return sounds;
}

bool LetterSounds::soundAlike(const QString &a, const QString &b) const
{
    if (a == b)
        return true;
    for (const QStringList &group : m_groups) {
        if (group.contains(a) && group.contains(b))
            return true;
    }
    return false;
}

bool LetterSounds::isSilent(const QString &letter) const
{
    return m_silent.contains(letter);
}
