#include "bench/Bench.h"
#include "content/DataStore.h"
#include "users/ScoreFile.h"
#include "users/ScoreManager.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QString letrasType = QStringLiteral("Letters and Numbers");
const QString brailleType = QStringLiteral("Braille");

struct Widgets
{
    QObject owner;
    QList<ScoreManager *> letters;
    QList<ScoreManager *> braille;

    Widgets()
    {
        const auto add = [this](QList<ScoreManager *> &list, const char *name, int kind) {
            auto *manager = new ScoreManager(QString::fromLatin1(name), &owner);
            manager->setKind(kind);
            list.append(manager);
        };
        add(letters, "Como Suena", ScoreManager::Letters);
        add(letters, "Como Empieza", ScoreManager::Letters);
        add(letters, "Letras Escondidas", ScoreManager::Letters);
        add(letters, "Objetos Escondidos", ScoreManager::Letters);
        add(letters, "Numeros Escondidos", ScoreManager::Numbers);
        add(braille, "Puntos Escondidos Cajetin", ScoreManager::Dots);
        add(braille, "Letras Escondidas Cajetin", ScoreManager::Letters);
        add(braille, "Numeros Escondidos Cajetin", ScoreManager::Numbers);
        add(braille, "Puntos Escondidos Maquina Perkins", ScoreManager::Dots);
        add(braille, "Letras Escondidas Maquina Perkins", ScoreManager::Letters);
        add(braille, "Numeros Escondidos Maquina Perkins", ScoreManager::Numbers);
    }

    // Counters of a learner who has played a while.
    void play(int seed)
    {
        for (const QList<ScoreManager *> *list : { &letters, &braille }) {
            for (ScoreManager *manager : *list) {
                for (const QString &label : ScoreManager::allLabels())
                    manager->setScore(label, 10 + seed % 7, 17 + seed % 11, seed % 4);
            }
        }
    }
};

// Each other machine answers every 10 ms or so, where a child takes seconds.
const int sharedWriterPauseMs = 10;

QString learner(int i)
{
    return QStringLiteral("Alumno%1").arg(i);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The program's store, owned as the main window owns it and shared by both
// widgets' score files and every user database.
void scoresBench(DataStore &store)
{
    const int learners = 1000;
    Widgets widgets;
    const ScoreFile letrasFile(letrasType, &store);
    const ScoreFile brailleFile(brailleType, &store);
    DataDocument doc(QStringLiteral("Scores"));
    for (int i = 0; i < learners; ++i) {
        widgets.play(i);
        doc.entries.append(letrasFile.entry(learner(i), widgets.letters));
        doc.entries.append(brailleFile.entry(learner(i), widgets.braille));
    }
    DataStore::writeAtomically(ScoreFile::path(), doc.serialise());

    // What the activity area does when a learner logs in after another:
    // both widgets write the previous learner, then both read the new one.
    const auto switchLearner = [&](int from, int to) {
        QElapsedTimer timer;
        timer.start();
        letrasFile.write(learner(from), widgets.letters);
        brailleFile.write(learner(from), widgets.braille);
        letrasFile.read(learner(to), widgets.letters);
        brailleFile.read(learner(to), widgets.braille);
        return elapsedMs(timer);
    };

    // The first switch after start: the main window has the file read in
    // the background from the moment it is built, and the first learner logs
    // in seconds later, after the welcome window and the login.
    store.clear();
    store.preload(ScoreFile::path());
    QThread::msleep(3000);
    Bench::report("scores_switch_cold_ms_1000", switchLearner(0, 500), "ms");
    // The same switch when the whole file must be parsed on the spot, as
    // after another machine has changed it.
    store.clear();
    Bench::report("scores_switch_reparse_ms_1000", switchLearner(500, 0), "ms");
    QVector<double> times;
    for (int i = 1; i <= 15; ++i)
        times << switchLearner(500 + i - 1, 500 + i);
    Bench::report("scores_switch_ms_1000", Bench::median(times), "ms");
}

const int users = 10000;

// What the main window does on every change of activity: a fresh database
// for the current learner's new position.
double update(DataStore &store, int i)
{
    QElapsedTimer timer;
    timer.start();
    User user(learner(i));
    user.lastAct = QStringLiteral("1");
    user.lastSubAct = QString::number(i % 12);
    UserDatabase(&store).updateUser(user);
    return elapsedMs(timer);
}

void usersBench(DataStore &store)
{
    DataDocument doc(QStringLiteral("userdb"));
    for (int i = 0; i < users; ++i) {
        User user(learner(i));
        user.lastAct = QString::number(i % 4);
        user.lastSubAct = QString::number(i % 12);
        user.createDate = QDate(2026, 3, 2);
        doc.entries.append(DataDocument::entry(UserDatabase::makeElement(user)));
    }
    DataStore::writeAtomically(UserDatabase::path(), doc.serialise());

    store.clear();
    Bench::report("users_update_cold_ms_10000", update(store, 0), "ms");
    QVector<double> times;
    for (int i = 1; i <= 21; ++i)
        times << update(store, i * 97 % users);
    Bench::report("users_update_ms_10000", Bench::median(times), "ms");
}

// The same folder shared with three other machines, each recording answers
// for a learner of its own and writing its scores and its progress after
// every answer. Here all four programs share the same cores and disk.
void sharedBench(DataStore &store)
{
    const int others = 3;
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < others; ++p) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QStringLiteral(PURIMBA_LEARNERWRITER),
            { QDir::currentPath(), QStringLiteral("Otro%1").arg(p), QStringLiteral("0"),
                QStringLiteral("1000000"), QString::number(sharedWriterPauseMs) });
    }
    // Each has written its learner once before the measure begins.
    const QDeadlineTimer started(30000);
    while (UserDatabase(&store).userNames().size() < users + others && !started.hasExpired())
        QThread::msleep(20);
    QVector<double> times;
    for (int i = 0; i < 100; ++i)
        times << update(store, i * 89 % users);
    for (const auto &program : running) {
        program->kill();
        program->waitForFinished();
    }
    std::sort(times.begin(), times.end());
    Bench::report("shared_update_ms_p95", times.at(int(std::ceil(0.95 * times.size())) - 1), "ms");
}

// A classroom on one data folder: thirty machines, each with its learner's
// answers, closed at the same moment (a bell, a shutdown from the teacher's
// desk). The figure is the time each took to close, from the moment on.
void classroomBench()
{
    const int writers = 30;
    QTemporaryDir folder;
    const QString start = folder.filePath(QStringLiteral("start"));
    std::vector<std::unique_ptr<QProcess>> running;
    for (int w = 0; w < writers; ++w) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QStringLiteral(PURIMBA_CLASSWRITER),
            { folder.path(), QStringLiteral("Alumno%1").arg(w), QStringLiteral("40"), start });
    }
    // Log records come before "ready" when a lock was busy.
    for (const auto &writer : running) {
        QByteArray line;
        while (line != "ready\n" && (writer->canReadLine() || writer->waitForReadyRead(60000)))
            line = writer->canReadLine() ? writer->readLine() : QByteArray();
    }
    QFile(start).open(QIODevice::WriteOnly);
    QVector<double> times;
    for (const auto &writer : running) {
        writer->waitForFinished(60000);
        // The close's time is the last line, after the close's log records.
        times << writer->readAll().trimmed().split('\n').last().toDouble();
    }
    std::sort(times.begin(), times.end());
    Bench::report(
        "close_30_writers_p95_ms", times.at(int(std::ceil(0.95 * times.size())) - 1), "ms");
}

} // namespace

void runRecordsBench()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    DataStore store;
    scoresBench(store);
    usersBench(store);
    sharedBench(store);
    classroomBench();
    QDir::setCurrent(previous);
}
