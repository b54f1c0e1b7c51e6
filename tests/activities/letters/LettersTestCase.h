#pragma once

#include "activities/letters/LetrasWidget.h"
#include "content/MediaPaths.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>
#include <QVector>
#include <cstdlib>
#include <memory>

class QLabel;

// The fixture media tree of the letters activities, the widget driven by key
// releases, and the clips and screens it produced.
namespace LettersFixture {

const QString language = QStringLiteral("Espanol");
const QString empty = QStringLiteral("-"); // a step that plays the empty clip

// Words of the fixture tree. "Z" has a folder holding no word; "9" has none either.
const QList<QPair<QString, QString>> letterWords = {
    { "A", "Arbol" },
    { "B", "Barco" },
    { "C", "Ciudad" },
    { "E", "Elefante" },
    { "I", "Iglesia" },
    { "L", "Leon" },
    { "M", "Manzana" },
    { "Ntilde", "Nandu" },
    { "O", "Oso" },
    { "U", "Uva" },
};
const QList<QPair<QString, QString>> numberWords = {
    { "0", "Rosquilla" },
    { "1", "Sol" },
    { "2", "Ojos" },
    { "3", "Gatos" },
    { "4", "Patas" },
    { "5", "Dedos" },
    { "6", "Huevos" },
    { "7", "Dias" },
    { "8", "Pulpo" },
};

inline QString wordOf(const QList<QPair<QString, QString>> &table, const QString &item)
{
    for (const auto &entry : table) {
        if (entry.first == item)
            return entry.second;
    }
    return QString();
}

// Clips as the child hears them: instructions by file name, word files from
// the language folder down, letter clips as "letters/…".
inline QString shortName(const QString &path)
{
    if (path.isEmpty())
        return empty;
    const QString languages = QStringLiteral("/media/languages/") + language + QLatin1Char('/');
    const int at = path.indexOf(languages);
    if (at >= 0)
        return path.mid(at + languages.size());
    const QString letters = QStringLiteral("/media/system/audio/letters/");
    if (path.contains(letters))
        return QStringLiteral("letters/") + path.section(QLatin1Char('/'), -1);
    if (path.startsWith(QLatin1String("media/system/audio/instructions/")))
        return path.section(QLatin1Char('/'), -1);
    return path;
}

// The widget's draws, replayed: the same generator and seed, and the same
// formula low + r / 32768 × (high − low + 1).
class Draws
{
public:
    explicit Draws(unsigned int seed)
    {
        std::srand(seed);
        for (int i = 0; i < 4000; ++i)
            m_values << int(double(std::rand()) / (double(RAND_MAX) + 1.0) * 32768.0);
    }
    int draw(int low, int high)
    {
        return low + int(double(m_values.at(m_next++)) / 32768.0 * double(high - low + 1));
    }
    QString letter() { return MediaPaths::alphabet().at(draw(1, 27) - 1); }
    QString digit() { return QString::number(draw(1, 10) - 1); }
    // Letters until one is in the selection (given as the dialog gives it).
    QString letterIn(const QString &selection)
    {
        for (;;) {
            const QString l = letter();
            if (selection.contains(MediaPaths::letterDisplay(l)))
                return l;
        }
    }
    QString praise()
    {
        static const QStringList clips
            = { "excelente.ogg", "muy bien.ogg", "bravo.ogg", "bien.ogg", "perfecto.ogg" };
        return clips.at(draw(1, 5) - 1);
    }
    QString encouragement()
    {
        return draw(1, 2) == 1 ? QStringLiteral("puedes hacerlo mejor.ogg")
                               : QStringLiteral("intentalo de nuevo.ogg");
    }
    // The word draw of a letter or digit: its one word in the fixture, and
    // no draw at all for a folder without words.
    void wordOf(const QString &item)
    {
        if (!LettersFixture::wordOf(letterWords, item).isEmpty() || !LettersFixture::wordOf(numberWords, item).isEmpty())
            draw(0, 0);
    }

private:
    QVector<int> m_values;
    int m_next = 0;
};

// A seed whose first digit draw gives the wanted digit.
inline unsigned int seedForFirstDigit(const QString &digit)
{
    for (unsigned int seed = 1;; ++seed) {
        if (Draws(seed).digit() == digit)
            return seed;
    }
}

QByteArray pictureBytes();

} // namespace LettersFixture

// Shared by the letters test cases: each declares its own initTestCase(),
// init() and cleanup() slots and calls the matching set-up here.
class LettersTestCase : public QObject
{
protected:
    // Every clip of the tree is a copy of one fixture tone.
    void setUpTree(const QString &tone = QStringLiteral("tone-50ms.ogg"));
    void setUpWidget();
    void tearDownWidget();

    QStringList clips() const;
    // The clips that started to sound, as clips() names them.
    QStringList startedClips() const;
    // Clips requested since the last mark.
    QStringList clipsSinceMark() const { return clips().mid(m_mark); }
    // What the child saw when each of those clips was asked for.
    QStringList screensSinceMark() const { return m_screens.mid(m_mark); }
    void mark() { m_mark = int(m_clips->requested.size()); }
    QString screen() const;
    bool idle() const;
    void waitIdle();
    void release(int key, const QString &text = QString());
    void releaseLetter(const QString &letter);
    void start(int activity, unsigned int seed, const QString &selection = QString());
    QLabel *label(const char *name) const;
    QString shown(const char *name) const;

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    std::unique_ptr<LetrasWidget> m_w;
    QStringList m_screens;
    QList<qint64> m_requestTimes; // ms on m_clock
    QElapsedTimer m_clock;
    int m_mark = 0;
};
