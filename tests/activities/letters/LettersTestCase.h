#pragma once

#include "activities/ActivityTestCase.h"
#include "activities/letters/LetrasWidget.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <memory>

class QLabel;

// The fixture media tree of the letters activities, the widget driven by key
// releases, and the clips and screens it produced.
namespace LettersFixture {

const QString language = QStringLiteral("Espanol");
using ActivityFixture::empty;

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

// The tree's letters that sound alike, and the one without a sound.
const QByteArray letterSounds = "# B suena como V\nigual = B, v\nigual = C K Q\nmuda = h\n";

inline QString wordOf(const QList<QPair<QString, QString>> &table, const QString &item)
{
    for (const auto &entry : table) {
        if (entry.first == item)
            return entry.second;
    }
    return QString();
}

inline QString shortName(const QString &path)
{
    return ActivityFixture::shortName(path, language);
}

// The widget's draws, replayed, with the word draws of this tree.
class Draws : public ActivityFixture::Draws
{
public:
    using ActivityFixture::Draws::Draws;
    // The word draw of a letter or digit: its one word in the fixture, and
    // no draw at all for a folder without words.
    void wordOf(const QString &item)
    {
        if (!LettersFixture::wordOf(letterWords, item).isEmpty()
            || !LettersFixture::wordOf(numberWords, item).isEmpty())
            draw(0, 0);
    }
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
class LettersTestCase : public ActivityTestCase
{
protected:
    // Every clip of the tree is a copy of one fixture tone.
    void setUpTree(const QString &tone = QStringLiteral("tone-50ms.ogg"));
    void setUpWidget();
    void tearDownWidget();

    QString shortName(const QString &path) const override
    {
        return LettersFixture::shortName(path);
    }
    QString screen() const override;
    void releaseLetter(const QString &letter);
    void start(int activity, unsigned int seed, const QString &selection = QString());
    QLabel *label(const char *name) const;
    QString shown(const char *name) const;

    std::unique_ptr<LetrasWidget> m_w;
};
