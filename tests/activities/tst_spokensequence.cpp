#include "activities/SpokenSequence.h"
#include "audio/Audio.h"
#include "audio/AudioMonitor.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <QtTest>

using Step = SpokenSequence::Step;

// Played at the real pace: A, B, C and X, Y are 300 ms tones, L lasts 2 s.
// Steps are written "A" (say), "A~100" (say, the next step 100 ms after it
// was asked for), "-" (the empty clip) and "!" (an action). Events are
// "ms:op args" (play, interject, stop). The log holds each clip as it is
// asked for, "*" marking the next step of a sequence, and "!" for actions.
class TestSpokenSequence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Audio::instance()->init();
        for (const char *name : { "A", "B", "C", "X", "Y" })
            m_tree.addClip(QStringLiteral("%1.ogg").arg(QLatin1String(name)),
                QStringLiteral("tone-300ms.ogg"));
        m_tree.addClip(QStringLiteral("L.ogg"), QStringLiteral("tone-2s.ogg"));
    }

    void steps_data();
    void steps();

private:
    QList<Step> parse(const QString &text)
    {
        QList<Step> steps;
        for (const QString &token : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (token == QLatin1String("!")) {
                steps << SpokenSequence::then([this] { m_log << QStringLiteral("!"); });
                continue;
            }
            const QStringList parts = token.split(QLatin1Char('~'));
            const QString clip = parts.first() == QLatin1String("-")
                ? QString()
                : m_tree.root() + QLatin1Char('/') + parts.first() + QStringLiteral(".ogg");
            steps << (parts.size() > 1 ? SpokenSequence::sayFor(clip, parts.at(1).toInt())
                                       : SpokenSequence::say(clip));
        }
        return steps;
    }

    TestSupport::MediaTree m_tree;
    QStringList m_log;
};

void TestSpokenSequence::steps_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("heard");
    // Bounds on when the last entry of the log came, in ms; -1: none.
    QTest::addColumn<int>("atLeast");
    QTest::addColumn<int>("within");

    QTest::newRow("a chain") << "A ! B"
                             << ""
                             << "A ! B*" << 290 << 1000;
    QTest::newRow("the empty clip hands on") << "- B"
                                             << ""
                                             << "- B*" << -1 << 600;
    QTest::newRow("stopped mid-chain") << "A B"
                                       << "100:stop"
                                       << "A" << -1 << -1;
    QTest::newRow("replaced mid-chain") << "A B"
                                        << "100:play C"
                                        << "A C" << -1 << -1;
    QTest::newRow("an interjection, then the rest") << "A B"
                                                    << "100:interject X"
                                                    << "A X B*" << 330 << 1000;
    QTest::newRow("interjections follow each other") << "A B"
                                                     << "100:interject X;150:interject Y"
                                                     << "A X Y* B*" << 630 << 1300;
    QTest::newRow("interjected when idle") << ""
                                           << "0:interject X Y"
                                           << "X Y*" << -1 << 1500;
    QTest::newRow("a timed step does not wait for its clip") << "L~100 !"
                                                             << ""
                                                             << "L !" << 90 << 1000;
    QTest::newRow("a pause keeps its length under an interjection") << "A~700 ! B"
                                                                    << "100:interject X"
                                                                    << "A X ! B" << 690 << 1800;
    QTest::newRow("the pause's end cuts an interjection") << "A~200 ! B"
                                                          << "100:interject L"
                                                          << "A L ! B" << 190 << 1000;
}

void TestSpokenSequence::steps()
{
    QFETCH(QString, steps);
    QFETCH(QString, events);
    QFETCH(QString, heard);
    QFETCH(int, atLeast);
    QFETCH(int, within);

    m_log.clear();
    SpokenSequence sequence(nullptr);
    QElapsedTimer clock;
    qint64 lastEntry = 0;
    QObject logging;
    connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, &logging,
        [&](const QString &file, bool step) {
            const QString name
                = file.isEmpty() ? QStringLiteral("-") : QFileInfo(file).completeBaseName();
            m_log << name + QLatin1String(step ? "*" : "");
            lastEntry = clock.elapsed();
        });
    clock.start();
    if (!steps.isEmpty())
        sequence.play(parse(steps));
    for (const QString &event : events.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int colon = int(event.indexOf(QLatin1Char(':')));
        const QString op = event.mid(colon + 1).section(QLatin1Char(' '), 0, 0);
        const QString args = event.mid(colon + 1).section(QLatin1Char(' '), 1);
        QTimer::singleShot(event.left(colon).toInt(), &sequence, [&, op, args] {
            if (op == QLatin1String("stop"))
                sequence.stop();
            else if (op == QLatin1String("play"))
                sequence.play(parse(args));
            else
                sequence.interject(parse(args));
        });
    }
    const QStringList expected = heard.split(QLatin1Char(' '));
    QTRY_COMPARE_WITH_TIMEOUT(m_log, expected, 5000);
    const qint64 completed = m_log.last() == QLatin1String("!") ? clock.elapsed() : lastEntry;
    if (atLeast >= 0)
        QVERIFY2(completed >= atLeast, qPrintable(QString::number(completed)));
    if (within >= 0)
        QVERIFY2(completed <= within, qPrintable(QString::number(completed)));
    // Nothing more follows.
    QTest::qWait(400);
    QCOMPARE(m_log, expected);
    QVERIFY(!sequence.isRunning());
}

QTEST_MAIN(TestSpokenSequence)
#include "tst_spokensequence.moc"
