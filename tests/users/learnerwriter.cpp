// One of several programs sharing a data folder, each with its own store, as
// the machines of a school do.
//   learnerwriter FOLDER NAME LEARNERS ANSWERS [PAUSE_MS]
// adds the learners NAME-1 ... NAME-LEARNERS, spread over the answers, and
// records ANSWERS answers (every third one wrong) for NAME-1, writing its
// scores and its progress after each answer and pausing PAUSE_MS before the
// next. Ends with status 1 as soon as a write fails.
#include "ScoreFixtures.h"
#include "content/DataStore.h"
#include "users/ScoreFile.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int learners = QByteArray(argv[3]).toInt();
    const int answers = QByteArray(argv[4]).toInt();
    const int pauseMs = argc > 5 ? QByteArray(argv[5]).toInt() : 0;

    DataStore store;
    const ScoreFile scores(QStringLiteral("Letters and Numbers"), &store);
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    const QString own = name + QStringLiteral("-1");
    const QStringList labels = ScoreManager::labels(ScoreManager::Letters);
    int added = 0;
    for (int answer = 0; answer < answers; ++answer) {
        if (added < learners && answer * learners >= added * answers)
            UserDatabase(&store).addUser(name + QLatin1Char('-') + QString::number(++added));
        ScoreManager *manager = letters->managers.at(answer % 4);
        const QString &label = labels.at(answer % labels.size());
        if (answer % 3 == 2)
            manager->recordWrong(label);
        else
            manager->recordCorrect(label);
        if (!scores.write(own, letters->managers))
            return 1;
        User progress(own);
        progress.lastAct = QStringLiteral("0");
        progress.lastSubAct = QString::number(answer % 8);
        UserDatabase(&store).updateUser(progress);
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
    }
    return 0;
}
