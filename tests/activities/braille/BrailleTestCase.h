#pragma once

#include "activities/ActivityTestCase.h"
#include "activities/braille/BrailleWidget.h"

#include <QHash>
#include <QMap>
#include <functional>
#include <memory>

// The fixture media tree of the braille activities, the widget driven by key
// releases, and the clips and pictures it produced.
namespace BrailleFixture {

const QString language = QStringLiteral("Espanol");
using ActivityFixture::empty;

// Word folders of the tree. "Z" and "9" have folders holding no word.
const QMap<QString, QString> words = { { "A", "Arbol" }, { "B", "Barco" }, { "D", "Dedo" },
    { "E", "Elefante" }, { "I", "Iglesia" }, { "L", "Leon" }, { "O", "Oso" }, { "U", "Uva" },
    { "Ntilde", "Nandu" }, { "0", "Cero" }, { "1", "Uno" }, { "2", "Dos" }, { "3", "Tres" },
    { "4", "Cuatro" }, { "5", "Cinco" }, { "6", "Seis" }, { "7", "Siete" }, { "8", "Ocho" } };

// The name clip of a letter ("A" … "Ntilde") or digit, as clips() names it;
// the empty clip for a folder without words.
QString nameOf(const QString &item);

class Draws : public ActivityFixture::Draws
{
public:
    using ActivityFixture::Draws::Draws;
    // The word draw of a letter or digit: none for a folder without words.
    void wordOf(const QString &item)
    {
        if (words.contains(item))
            draw(0, 0);
    }
};

// The first seed whose replayed draws meet the condition.
unsigned int seedWhere(const std::function<bool(Draws &)> &condition);

} // namespace BrailleFixture

class BrailleTestCase : public ActivityTestCase
{
protected:
    // Every clip of the tree is a copy of one fixture tone; every picture
    // has a colour of its own, so the test can tell which one is shown.
    void setUpTree();
    void setUpWidget();
    void tearDownWidget();

    QString shortName(const QString &path) const override
    {
        return ActivityFixture::shortName(path, BrailleFixture::language);
    }
    // The visible device and its raised or pressed pictures, e.g.
    // "cell: bra1b bra4b" or "perkins: per3b"; "?" for a label showing
    // another picture than its own.
    QString screen() const override;
    // Releases keys given by name: "7", "F", "Enter", "KeypadEnter", "Home",
    // "Esc", "Space", "A"; "held7" is an auto-repeated release of "7"; "KP7" is the
    // keypad's 7 with NumLock off.
    void press(const QString &keys);
    // Chooses the sub-activity with a known seed; with the mascot's voice
    // on, the first question follows the instruction.
    void start(int sub, unsigned int seed, const QString &selection = QString());

    std::unique_ptr<BrailleWidget> m_w;
    QHash<QRgb, QString> m_pictureNames;
};
