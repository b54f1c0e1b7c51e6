#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/MainWidget.h"
#include "app/MainWindow.h"
#include "audio/AudioMonitor.h"
#include "support/TestSupport.h"
#include "users/InputDialog.h"
#include "users/UserDatabase.h"

#include <QKeyEvent>
#include <QtTest>

// The greeting at the real pace: the audible-menu instruction is heard whole
// before the learner's activity starts, however long it is.
class TestGreeting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void instructionHeardWhole_data()
    {
        QTest::addColumn<QString>("instruction");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<int>("startsAfterMs");
        QTest::addColumn<bool>("spaceAgain");
        QTest::newRow("shorter than the pause") << "tone-300ms.ogg" << 1000 << 1000 << false;
        QTest::newRow("longer than the pause") << "tone-2s.ogg" << 500 << 2000 << false;
        // Said again from its start, and heard whole once more.
        QTest::newRow("Space while it sounds") << "tone-2s.ogg" << 500 << 2000 << true;
    }

    void instructionHeardWhole()
    {
        QFETCH(QString, instruction);
        QFETCH(int, delayMs);
        QFETCH(int, startsAfterMs);
        QFETCH(bool, spaceAgain);
        TestSupport::MediaTree tree;
        const QString clip
            = QStringLiteral("media/system/audio/instructions/para menu audible.ogg");
        tree.addClip(clip, instruction);
        tree.addClip(QStringLiteral("media/system/audio/instructions/Saludo de mofli.ogg"));
        tree.addFolder(QStringLiteral("data"));
        MainWindow::setDelaysForTesting(60000, delayMs);
        TestSupport::ClipRecorder clips;
        MainWindow window(false);
        window.activityArea()->lettersWidget()->setMofliAudio(0);
        window.activityArea()->brailleWidget()->setMofliAudio(0);
        qint64 startedAt = 0;
        connect(window.activityArea(), &MainWidget::signalActivityChanged, &window,
            [&startedAt] { startedAt = AudioMonitor::now(); });

        UserDatabase users;
        users.addUser(User(QStringLiteral("Ana")));
        Q_EMIT window.loginDialog()->chooseUser(users.findUser(QStringLiteral("Ana")));
        Q_EMIT window.loginDialog()->chooseLanguage(QStringLiteral("Espanol"));
        QKeyEvent space(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QApplication::sendEvent(&window, &space);
        if (spaceAgain) {
            QTRY_VERIFY(clips.started.contains(clip));
            QTest::qWait(700);
            QApplication::sendEvent(&window, &space);
            QTRY_COMPARE(clips.started.count(clip), 2);
        }
        QTRY_VERIFY_WITH_TIMEOUT(startedAt != 0, 10000);

        const qsizetype heard = clips.started.lastIndexOf(clip);
        QVERIFY(heard >= 0);
        const qint64 afterMs = (startedAt - clips.startTimes.at(heard)) / 1000000;
        // The pause runs from the instruction's request, a little before it sounds.
        QVERIFY2(afterMs >= startsAfterMs - 50, qPrintable(QString::number(afterMs)));
        QVERIFY2(afterMs < startsAfterMs + 800, qPrintable(QString::number(afterMs)));
    }
};

QTEST_MAIN(TestGreeting)
#include "tst_greeting.moc"
