#include "BrailleTestCase.h"
#include "activities/braille/Braille.h"
#include "audio/AudioThread.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QDomDocument>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

using namespace BrailleFixture;

// The widget, its keys and the reading of the cell: keys in, clips and
// pictures out.
class TestBrailleWidget : public BrailleTestCase
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpTree(); }
    void init() { setUpWidget(); }
    void cleanup() { tearDownWidget(); }

    void construction();
    void keys_data();
    void keys();
    void escapeTwice();
    void otherGroupLeavesWidgetIdle();
    void oneShotPlayersReleased();
    void numberNameOfOlderTrees_data();
    void numberNameOfOlderTrees();
    void scoresReadBackAfterWrite();
};

void TestBrailleWidget::construction()
{
    QCOMPARE(m_w->size(), QSize(560, 500));
    QCOMPARE(m_w->frameStyle(), int(QFrame::Panel | QFrame::Sunken));
    QCOMPARE(m_w->findChild<QLabel *>("cellDot6")->pos(), QPoint(280, 302));
    QCOMPARE(m_w->findChild<QLabel *>("perkinsKey7")->pos(), QPoint(448, 166));
    QCOMPARE(screen(), QStringLiteral("cell:"));
    QCOMPARE(BrailleWidget::activityTitle(0),
        QStringLiteral("Braille -  Cajetin - Exploracion cajetin"));
    QCOMPARE(BrailleWidget::activityTitle(11),
        QStringLiteral("Braille -  Maquina Perkins - Numeros escondidos"));
}

namespace {

// heard: "dot 1" is the clip of dot 1, "name D" the name of D, anything else
// an instruction clip; keys beginning with "writing" are entered in writing mode.
void row(const char *name, int sub, const char *keys, const char *heard, const char *shown,
    const char *suggestion = "")
{
    QStringList clips;
    for (const QString &clip : QString::fromUtf8(heard).split(", ", Qt::SkipEmptyParts)) {
        if (clip.startsWith("dot "))
            clips << "letters/" + clip.mid(4) + ".ogg";
        else if (clip.startsWith("name "))
            clips << nameOf(clip.mid(5));
        else
            clips << clip + ".ogg";
    }
    QTest::newRow(name) << sub << QString(keys) << clips << QString(shown) << QString(suggestion);
}

} // namespace

void TestBrailleWidget::keys_data()
{
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("clips");
    QTest::addColumn<QString>("screen"); // before Enter
    QTest::addColumn<QString>("suggestion"); // "" when none is sent

    row("exploration: 7 then 8", 0, "7 8", "dot 1, dot 4", "cell: bra4b");
    row("exploration: a brailler key adds", 0, "7 J", "dot 1, dot 4", "cell: bra1b bra4b");
    row("exploration: Enter reads a number", 0, "7 J Enter", "dot 1, dot 4, name 3",
        "cell: bra1b bra4b");
    row("Perkins exploration: F then J", 6, "F J", "dot 1, dot 4", "perkins: per5b");
    row("Perkins exploration: the keypad adds", 6, "F 8", "dot 1, dot 4", "perkins: per3b per5b");
    row("forming letters: 7 8 5 Enter reads D", 2, "7 8 5 Enter", "dot 1, dot 4, dot 5, name D",
        "cell: bra1b bra4b bra5b", "D");
    row("forming letters: Ñ", 2, "7 4 8 5 2 Enter",
        "dot 1, dot 2, dot 4, dot 5, dot 6, name Ntilde", "cell: bra1b bra2b bra4b bra5b bra6b",
        "Ntilde");
    row("NumLock off: every keypad dot", 2, "KP7 KP4 KP1 KP8 KP5 KP2",
        "dot 1, dot 2, dot 3, dot 4, dot 5, dot 6", "cell: bra1b bra2b bra3b bra4b bra5b bra6b");
    row("NumLock off: 7 8 5 Enter reads D", 2, "KP7 KP8 KP5 Enter", "dot 1, dot 4, dot 5, name D",
        "cell: bra1b bra4b bra5b", "D");
    row("forming letters: empty cell", 2, "Enter", "ninguna letra", "cell:", "-1");
    row("forming letters: no word for Z", 2, "7 1 5 2 Enter", "dot 1, dot 3, dot 5, dot 6",
        "cell: bra1b bra3b bra5b bra6b", "Z");
    row("writing mode: 1-2-4 reads D", 2, "writing 7 4 8 Enter", "dot 1, dot 2, dot 4, name D",
        "cell: bra1b bra2b bra4b", "D");
    row("Perkins forming letters: F D S Enter reads L", 8, "F D S Enter",
        "dot 1, dot 2, dot 3, name L", "perkins: per1b per2b per3b", "L");
    row("numbers: empty cell", 4, "Enter", "ningun numero", "cell:");
    row("numbers: 7 4 Enter reads 2", 4, "7 4 KeypadEnter", "dot 1, dot 2, name 2",
        "cell: bra1b bra2b");
    row("numbers: no word for 9", 10, "D J Enter", "dot 2, dot 4", "perkins: per2b per5b");
    row("a held key is one dot", 2, "7 held7 held7", "dot 1", "cell: bra1b");
    row("a key that means nothing", 2, "7 A", "dot 1, durmiendo", "cell:");
    row("Home", 2, "7 Home", "dot 1", "cell: bra1b");
}

// Each dot raised is said, one after the other, and shown; Enter reads the
// cell, says it and clears it.
void TestBrailleWidget::keys()
{
    QFETCH(int, sub);
    QFETCH(QString, keys);
    QFETCH(QStringList, clips);
    QFETCH(QString, screen);
    QFETCH(QString, suggestion);

    QSignalSpy suggestions(m_w.get(), &BrailleWidget::sugerencia);
    m_w->setMofliAudio(0);
    m_w->slotBrailleMode(keys.startsWith("writing"));
    m_w->setActivity(1, sub);
    QStringList names = keys.remove("writing").split(' ', Qt::SkipEmptyParts);
    const QString enter = names.last().endsWith("Enter") ? names.takeLast() : QString();
    press(names.join(' '));
    QCOMPARE(this->screen(), screen);
    press(enter);
    if (!enter.isEmpty())
        QCOMPARE(this->screen(), screen.section(':', 0, 0) + ':');
    QTRY_COMPARE(this->clips(), clips);
    waitIdle();
    QCOMPARE(this->clips(), clips);
    QCOMPARE(suggestions.size(), suggestion.isEmpty() ? 0 : 1);
    if (!suggestion.isEmpty())
        QCOMPARE(
            suggestions.at(0), (QVariantList { BrailleWidget::activityTitle(sub), suggestion }));
}

void TestBrailleWidget::escapeTwice()
{
    QSignalSpy modes(m_w.get(), &BrailleWidget::signalKeyMenuMode);
    QSignalSpy menuKeys(m_w.get(), &BrailleWidget::signalSayMenu);
    m_w->setMofliAudio(0);
    m_w->setActivity(1, 2);
    press("7 Esc 8 Esc");
    QCOMPARE(screen(), QStringLiteral("cell:"));
    QTRY_COMPARE(clips(), (QStringList { "letters/1.ogg", "Modo menu.ogg", "Modo normal.ogg" }));
    waitIdle();
    QCOMPARE(clips().size(), 3); // no "durmiendo"
    QCOMPARE(QList<QVariantList>(modes), (QList<QVariantList> { { true }, { false } }));
    QCOMPARE(QList<QVariantList>(menuKeys),
        (QList<QVariantList> { { int(Qt::Key_Escape) }, { int(Qt::Key_8) } }));
}

// setActivity(0, 3): the cell is cleared, the menu mode left, and nothing
// the braille widget is asked to do is heard.
void TestBrailleWidget::otherGroupLeavesWidgetIdle()
{
    m_w->setActivity(1, 3);
    press("7 8");
    m_w->slotSetKeyMenuMode(true);
    m_w->setActivity(0, 3);
    QCOMPARE(screen(), QStringLiteral("cell:"));
    QVERIFY(!m_w->keyMenuMode());
    mark();
    press("7 Enter A");
    m_w->slotPickLetter();
    m_w->slotLastInstruction();
    waitIdle();
    QCOMPARE(clipsSinceMark(), QStringList());
    QCOMPARE(screen(), QStringLiteral("cell:"));
}

void TestBrailleWidget::oneShotPlayersReleased()
{
    const int players = int(m_w->findChildren<AudioThread *>().size());
    m_w->setMofliAudio(0);
    start(1, seedWhere([](Draws &d) { return d.dot() == 4; }));
    press("7 7 7"); // two encouragements, then the point's name on a player of its own
    m_w->slotSayMenuMode(true);
    waitIdle();
    m_w->setActivity(1, 0);
    m_w->slotLastInstruction();
    waitIdle();
    QCOMPARE(clips().count("Exploracion cajetin.ogg"), 1);
    QTRY_COMPARE(int(m_w->findChildren<AudioThread *>().size()), players);
}

void TestBrailleWidget::numberNameOfOlderTrees_data()
{
    ActivityFixture::nameClipRows();
}

// A number folder holding only one of the two name clips is heard: a digit
// read from the cell, a hidden digit and a hidden dot asked.
void TestBrailleWidget::numberNameOfOlderTrees()
{
    QFETCH(QString, file);
    const ActivityFixture::OnlyNameClip only(
        m_tree.get(), "media/languages/" + language + "/Numeros/3/Tres", file);
    const QString heard = "Numeros/3/Tres/" + file;

    m_w->setMofliAudio(0);
    m_w->setActivity(1, 4);
    press("7 J Enter");
    QTRY_COMPARE(clips(), (QStringList { "letters/1.ogg", "letters/4.ogg", heard }));
    waitIdle();

    mark();
    start(5, seedWhere([](Draws &d) { return d.digit() == "3"; }));
    QTRY_COMPARE(clipsSinceMark(), QStringList { heard });
    waitIdle();

    mark();
    start(1, seedWhere([](Draws &d) { return d.dot() == 3; }));
    QTRY_COMPARE(clipsSinceMark(), QStringList { heard });
}

// Answers recorded under "P4" and "Ñ" by playing, written, and read back by
// another widget; the file holds the six sets in order, the reports too.
void TestBrailleWidget::scoresReadBackAfterWrite()
{
    m_tree->addFile("data/scores.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
        " <Ana type=\"Letters and Numbers\"/>\n</Scores>\n");
    m_w->slotSetCurrentUserName("Ana");
    m_w->slotReadScores();
    m_w->setMofliAudio(0);
    start(1, seedWhere([](Draws &d) { return d.dot() == 4; }));
    press("8");
    waitIdle();
    start(9, 1, QStringLiteral("Ñ"));
    press("F D J K L Enter");
    waitIdle();
    m_w->slotWriteScores();

    BrailleWidget other;
    other.slotSetCurrentUserName("Ana");
    other.slotReadScores();
    QCOMPARE(other.scoreManager(1)->score("P4")->corrects(), 1);
    QCOMPARE(other.scoreManager(9)->score(QStringLiteral("Ñ"))->corrects(), 1);
    QCOMPARE(other.scoreManager(9)->score(QStringLiteral("Ñ"))->total(), 1);
    QCOMPARE(other.scoreManager(3)->score(QStringLiteral("Ñ"))->total(), 0);
    QCOMPARE(other.scoreToHTML(), m_w->scoreToHTML());

    QFile file(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument doc;
    QVERIFY(doc.setContent(&file));
    QStringList elements;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement()) {
        elements << e.tagName() + '/' + e.attribute("type");
        for (QDomElement a = e.firstChildElement(); !a.isNull(); a = a.nextSiblingElement())
            elements << a.attribute("name") + ' '
                    + QString::number(a.elementsByTagName("Score").size());
    }
    QCOMPARE(elements,
        (QStringList { "Ana/Letters and Numbers", "Ana/Braille", "Puntos Escondidos Cajetin 6",
            "Letras Escondidas Cajetin 27", "Numeros Escondidos Cajetin 10",
            "Puntos Escondidos Maquina Perkins 6", "Letras Escondidas Maquina Perkins 27",
            "Numeros Escondidos Maquina Perkins 10" }));
    QString report;
    for (int sub : { 1, 3, 5, 7, 9, 11 })
        report += m_w->scoreManager(sub)->toText();
    QCOMPARE(m_w->scoreToExcel(), report);
}

QTEST_MAIN(TestBrailleWidget)
#include "tst_braillewidget.moc"
