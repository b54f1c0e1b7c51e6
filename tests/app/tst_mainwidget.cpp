#include "activities/braille/BrailleWidget.h"
#include "activities/language/EscrituraWidget.h"
#include "activities/language/TextWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/MainWidget.h"
#include "app/MenuWidget.h"
#include "app/TopWidget.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "support/TestSupport.h"
#include "users/Score.h"
#include "users/ScoreFile.h"
#include "users/ScoreManager.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

// The activity area as the switchboard: addresses, focus, learners, the key
// menu mode and the suggestions.
class TestMainWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tree = std::make_unique<TestSupport::MediaTree>();
        m_area = std::make_unique<MainWidget>(&m_store);
        m_area->setLanguage(QStringLiteral("Espanol"));
        // Silent activities: these cases are about the switchboard.
        m_area->lettersWidget()->setMofliAudio(0);
        m_area->brailleWidget()->setMofliAudio(0);
        m_area->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_area.get()));
    }
    void cleanup()
    {
        m_area.reset();
        m_tree.reset();
    }

    void showActivity_data()
    {
        QTest::addColumn<int>("activity");
        QTest::addColumn<int>("sub");
        QTest::addColumn<QString>("focused");
        QTest::newRow("letters") << 0 << 5 << "LetrasWidget";
        QTest::newRow("braille") << 1 << 8 << "BrailleWidget";
        QTest::newRow("writing") << 3 << 0 << "EscrituraWidget";
        QTest::newRow("texts") << 2 << 0 << "TextWidget";
    }

    void showActivity()
    {
        QFETCH(int, activity);
        QFETCH(int, sub);
        QFETCH(QString, focused);
        QSignalSpy changed(m_area.get(), &MainWidget::signalActivityChanged);
        m_area->showActivity(1, 0);
        m_area->showActivity(activity, sub);
        QCOMPARE(m_area->findChild<QStackedWidget *>()->currentIndex(), activity);
        QCOMPARE(QString::fromLatin1(m_area->focusWidget()->metaObject()->className()), focused);
        // Every widget hears every address, also one that is not its own.
        QCOMPARE(m_area->lettersWidget()->group(), activity);
        QCOMPARE(m_area->brailleWidget()->group(), activity);
        QCOMPARE(m_area->topBar()->title(), TopWidget::titleFor(activity, sub));
        QCOMPARE(changed.last(), (QVariantList { activity, sub }));
    }

    void tabKeepsTheKeyboardInTheActivity()
    {
        for (int activity = 0; activity < 4; ++activity) {
            m_area->showActivity(activity, 0);
            QWidget *focused = m_area->focusWidget();
            QTest::keyClick(focused, Qt::Key_Tab);
            QTest::keyClick(focused, Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(m_area->focusWidget(), focused);
        }
    }

    // The mode one widget enters is every widget's; choosing an activity
    // ends it everywhere.
    void keyMenuModeIsShared()
    {
        QSignalSpy sayMenu(m_area.get(), &MainWidget::signalSayMenu);
        m_area->showActivity(0, 0);
        release(m_area->lettersWidget(), Qt::Key_Escape);
        QVERIFY(m_area->keyMenuMode());
        QVERIFY(m_area->brailleWidget()->keyMenuMode());
        QVERIFY(m_area->textWidget()->keyMenuMode());
        QVERIFY(m_area->writingWidget()->keyMenuMode());
        release(m_area->writingWidget(), Qt::Key_F2);
        QCOMPARE(sayMenu.count(), 2); // the Escape that turned it on, then F2
        QCOMPARE(sayMenu.last().at(0).toInt(), int(Qt::Key_F2));

        m_area->showActivity(1, 0);
        QVERIFY(!m_area->keyMenuMode());
        QVERIFY(!m_area->brailleWidget()->keyMenuMode());
        QVERIFY(!m_area->writingWidget()->keyMenuMode());
    }

    // The first learner's scores are written when the second logs in, and
    // read back when the first returns; the first login writes nothing. A
    // name that makes the greeting read like the one before any login is a
    // learner like any other.
    void learnerChange_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("greeting");
        QTest::newRow("Ana") << "Ana"
                             << "Bienvenido Ana";
        QTest::newRow("a Purimba") << "a Purimba"
                                   << "Bienvenido a Purimba";
    }

    void learnerChange()
    {
        QFETCH(QString, first);
        QFETCH(QString, greeting);
        const QString scores = MediaPaths::dataFile(QStringLiteral("scores.xml"));
        LetrasWidget *letters = m_area->lettersWidget();
        m_area->setUserName(first);
        QVERIFY(!QFile::exists(scores));
        QCOMPARE(m_area->sidePanel()->greeting(), greeting);
        letters->scoreSet(1)->recordCorrect(QStringLiteral("B"));

        m_area->setUserName(QStringLiteral("Luis"));
        QFile written(scores);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("<" + ScoreFile::tagName(first).toUtf8()));
        QCOMPARE(letters->userName(), QStringLiteral("Luis"));
        QCOMPARE(letters->scoreSet(1)->score(QStringLiteral("B"))->total(), 0);

        m_area->setUserName(first);
        QCOMPARE(letters->scoreSet(1)->score(QStringLiteral("B"))->corrects(), 1);
    }

    void suggestions_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("shown");
        const QString presentNumbers = LetrasWidget::activityTitle(6);
        const QString hiddenLetters = LetrasWidget::activityTitle(4);
        QTest::newRow("the last match wins") << hiddenLetters << "B"
                                             << "Segunda";
        QTest::newRow("numbers from their folder") << presentNumbers << "3"
                                                   << "Tres dedos";
        QTest::newRow("no match") << LetrasWidget::activityTitle(1) << "B"
                                  << "";
        QTest::newRow("no file") << hiddenLetters << "C"
                                 << "";
        QTest::newRow("cleared") << ""
                                 << ""
                                 << "";
    }

    void suggestions()
    {
        QFETCH(QString, title);
        QFETCH(QString, item);
        QFETCH(QString, shown);
        const QString root = QStringLiteral("media/languages/Espanol/");
        const QString hiddenLetters = LetrasWidget::activityTitle(4);
        m_tree->addFile(root + QStringLiteral("Letras/B/sugerencias.txt"),
            "<Sugerencias>\n"
            " <sugerencia activity=\""
                + hiddenLetters.toUtf8()
                + "\">Primera</sugerencia>\n"
                  " <otra activity=\""
                + hiddenLetters.toUtf8()
                + "\">Segunda</otra>\n"
                  "</Sugerencias>\n");
        m_tree->addFile(root + QStringLiteral("Numeros/3/sugerencias.txt"),
            "<Sugerencias><sugerencia activity=\"" + LetrasWidget::activityTitle(6).toUtf8()
                + "\">Tres dedos</sugerencia></Sugerencias>");
        m_area->sidePanel()->setSugerencia(QStringLiteral("antes"));
        m_area->slotSugerencia(title, item);
        QCOMPARE(m_area->sidePanel()->exerciseSuggestion(), shown);
    }

    void openingAText()
    {
        m_tree->addClip(QStringLiteral("media/languages/Espanol/Textos/Cuentos/Luna/audio1.ogg"));
        m_tree->addFile(
            QStringLiteral("media/languages/Espanol/Textos/Cuentos/Luna/image1.jpg"), QByteArray());
        m_area->showActivity(2, 0);
        m_area->slotTexts(QStringLiteral("Cuentos"), QStringLiteral("Luna"));
        QCOMPARE(m_area->sidePanel()->exerciseSuggestion(),
            QStringLiteral("No hay sugerencias para este texto"));
        QCOMPARE(m_area->textWidget()->textFolder(),
            MediaPaths::textFolder(
                QStringLiteral("Espanol"), QStringLiteral("Cuentos"), QStringLiteral("Luna")));
        QCOMPARE(m_area->textWidget()->frame(), 2);
    }

private:
    static void release(QWidget *widget, int key)
    {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    DataStore m_store;
    std::unique_ptr<MainWidget> m_area;
};

QTEST_MAIN(TestMainWidget)
#include "tst_mainwidget.moc"
