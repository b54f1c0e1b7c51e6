#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace {

QDomDocument parsed(const QString &path)
{
    QFile file(path);
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return QDomDocument();
    return doc;
}

// Every program ended well; then both files whole, nothing set aside, no
// lock left behind.
void endedWhole(const std::vector<std::unique_ptr<QProcess>> &running, int timeoutMs,
    const QTemporaryDir &dir, QDomDocument *users, QDomDocument *scores)
{
    for (const auto &program : running) {
        QVERIFY(program->waitForFinished(timeoutMs));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
    }
    const QString data = dir.filePath(QStringLiteral("data"));
    QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        QStringList({ "scores.xml", "users.xml" }));
    *users = parsed(data + QStringLiteral("/users.xml"));
    *scores = parsed(data + QStringLiteral("/scores.xml"));
    QVERIFY(!users->isNull());
    QVERIFY(!scores->isNull());
}

QList<QDomElement> childrenOf(const QDomElement &element, const QString &tag = QString())
{
    QList<QDomElement> children;
    for (QDomElement e = element.firstChildElement(tag); !e.isNull(); e = e.nextSiblingElement(tag))
        children << e;
    return children;
}

} // namespace

// Several machines of a school on one shared data folder: every change is
// made under a lock on the file as it is then, so none is lost.
class TestSharedFolder : public QObject
{
    Q_OBJECT

private slots:
    void fourProgramsOnOneFolder();
    void classroomClosesAtOnce();
};

void TestSharedFolder::fourProgramsOnOneFolder()
{
    const int programs = 4;
    const int learners = 25;
    const int answers = 200;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < programs; ++p) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->setProcessChannelMode(QProcess::ForwardedChannels);
        running.back()->start(QStringLiteral(LEARNERWRITER),
            { dir.path(), QStringLiteral("P%1").arg(p), QString::number(learners),
                QString::number(answers) });
    }
    QDomDocument users;
    QDomDocument scores;
    endedWhole(running, 240000, dir, &users, &scores);
    if (QTest::currentTestFailed())
        return;

    // Every learner once; each program's own learner with its last progress.
    QStringList expected;
    QStringList names;
    for (int p = 0; p < programs; ++p) {
        for (int i = 1; i <= learners; ++i)
            expected << QStringLiteral("P%1-%2").arg(p).arg(i);
    }
    for (const QDomElement &user : childrenOf(users.documentElement())) {
        names << user.attribute(QStringLiteral("Name"));
        if (user.attribute(QStringLiteral("Name")).endsWith(QLatin1String("-1")))
            QCOMPARE(
                user.attribute(QStringLiteral("LastSubAct")), QString::number((answers - 1) % 8));
    }
    names.sort();
    expected.sort();
    QCOMPARE(names, expected);

    // Every answer of every program: one in three was wrong.
    QStringList learnersWithScores;
    for (const QDomElement &learner : childrenOf(scores.documentElement())) {
        learnersWithScores << learner.tagName();
        int corrects = 0;
        int total = 0;
        for (const QDomElement &activity : childrenOf(learner, QStringLiteral("Activity"))) {
            for (const QDomElement &score : childrenOf(activity, QStringLiteral("Score"))) {
                corrects += score.attribute(QStringLiteral("Corrects")).toInt();
                total += score.attribute(QStringLiteral("Total")).toInt();
            }
        }
        QCOMPARE(total, answers);
        QCOMPARE(corrects, answers - answers / 3);
    }
    learnersWithScores.sort();
    QCOMPARE(learnersWithScores, QStringList({ "P0-1", "P1-1", "P2-1", "P3-1" }));
}

void TestSharedFolder::classroomClosesAtOnce()
{
    const int writers = 8;
    const int answers = 30;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString start = dir.filePath(QStringLiteral("start"));
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QStringLiteral(CLASSWRITER),
            { dir.path(), QStringLiteral("Alumno %1").arg(w), QString::number(answers), start });
    }
    // Log records come before, when a lock was busy.
    for (const auto &writer : running) {
        QByteArray line;
        while (line != "ready\n") {
            while (!writer->canReadLine())
                QVERIFY(writer->waitForReadyRead(60000));
            line = writer->readLine();
        }
    }
    // The bell: every machine closes now.
    QVERIFY(QFile(start).open(QIODevice::WriteOnly));
    QDomDocument users;
    QDomDocument scores;
    endedWhole(running, 60000, dir, &users, &scores);
    if (QTest::currentTestFailed())
        return;
    QStringList names;
    for (const QDomElement &user : childrenOf(users.documentElement())) {
        names << user.attribute(QStringLiteral("Name"));
        QCOMPARE(user.attribute(QStringLiteral("LastSubAct")), QString::number((answers - 1) % 8));
    }
    QCOMPARE(names.size(), writers);
    // Each learner's answers, split between the two widgets.
    QMap<QString, int> totals;
    QMap<QString, int> corrects;
    for (const QDomElement &learner : childrenOf(scores.documentElement())) {
        for (const QDomElement &activity : childrenOf(learner, QStringLiteral("Activity"))) {
            for (const QDomElement &score : childrenOf(activity, QStringLiteral("Score"))) {
                corrects[learner.tagName()] += score.attribute(QStringLiteral("Corrects")).toInt();
                totals[learner.tagName()] += score.attribute(QStringLiteral("Total")).toInt();
            }
        }
    }
    QCOMPARE(totals.size(), writers);
    for (auto total = totals.cbegin(); total != totals.cend(); ++total) {
        QCOMPARE(total.value(), answers);
        QCOMPARE(corrects.value(total.key()), answers - answers / 3);
    }
}

QTEST_GUILESS_MAIN(TestSharedFolder)
#include "tst_sharedfolder.moc"
