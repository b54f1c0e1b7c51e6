#include "bench/Bench.h"
#include "content/XmlDataFile.h"
#include "content/XmlTopLevel.h"
#include "users/ScoreFile.h"
#include "users/ScoreManager.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTemporaryDir>
#include <utility>

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

QString learner(int i)
{
    return QStringLiteral("Alumno%1").arg(i);
}

XmlTopLevel::Node learnerNode(
    const QString &name, const QString &type, const QList<ScoreManager *> &managers)
{
    QDomDocument doc;
    QDomElement element = doc.createElement(ScoreFile::tagName(name));
    element.setAttribute(QStringLiteral("type"), type);
    for (const ScoreManager *manager : managers)
        element.appendChild(manager->toElement(doc));
    return XmlTopLevel::elementNode(element);
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

void scoresBench()
{
    const int learners = 1000;
    Widgets widgets;
    XmlTopLevel doc(QStringLiteral("Scores"));
    for (int i = 0; i < learners; ++i) {
        widgets.play(i);
        doc.children.append(learnerNode(learner(i), letrasType, widgets.letters));
        doc.children.append(learnerNode(learner(i), brailleType, widgets.braille));
    }
    XmlDataFile(ScoreFile::path(), QStringLiteral("Scores")).write(doc);

    const ScoreFile letrasFile(letrasType);
    const ScoreFile brailleFile(brailleType);
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

    XmlDataFile::forgetParsedFiles();
    Bench::report("scores_switch_cold_ms_1000", switchLearner(0, 500), "ms");
    QVector<double> times;
    for (int i = 1; i <= 15; ++i)
        times << switchLearner(500 + i - 1, 500 + i);
    Bench::report("scores_switch_ms_1000", Bench::median(times), "ms");
}

void usersBench()
{
    const int users = 10000;
    XmlTopLevel doc(QStringLiteral("userdb"));
    QDomDocument scratch;
    for (int i = 0; i < users; ++i) {
        QDomElement element = scratch.createElement(QStringLiteral("User"));
        element.setAttribute(QStringLiteral("Name"), learner(i));
        element.setAttribute(QStringLiteral("LastAct"), QString::number(i % 4));
        element.setAttribute(QStringLiteral("LastSubAct"), QString::number(i % 12));
        element.setAttribute(QStringLiteral("CreateDate"), QStringLiteral("Mon Mar 2 2026"));
        element.setAttribute(QStringLiteral("LastDate"), QStringLiteral("Tue Dec 8 2026"));
        doc.children.append(XmlTopLevel::elementNode(element));
    }
    XmlDataFile(UserDatabase::path(), QStringLiteral("userdb")).write(doc);

    // What the main window does on every change of activity: a fresh
    // database for the current learner's new position.
    const auto update = [](int i) {
        QElapsedTimer timer;
        timer.start();
        User user(learner(i));
        user.lastAct = QStringLiteral("1");
        user.lastSubAct = QString::number(i % 12);
        UserDatabase().updateUser(user);
        return elapsedMs(timer);
    };

    XmlDataFile::forgetParsedFiles();
    Bench::report("users_update_cold_ms_10000", update(0), "ms");
    QVector<double> times;
    for (int i = 1; i <= 21; ++i)
        times << update(i * 97 % users);
    Bench::report("users_update_ms_10000", Bench::median(times), "ms");
}

} // namespace

void runRecordsBench()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    scoresBench();
    usersBench();
    QDir::setCurrent(previous);
}
