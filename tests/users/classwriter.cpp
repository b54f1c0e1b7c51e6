// One learner of a classroom whose machines share a data folder and all
// close at the same moment.
//   classwriter FOLDER NAME ANSWERS START
// registers NAME, records ANSWERS answers (every third one wrong), writing
// its progress after each as an activity change does, prints "ready", waits
// for the file START to appear, then closes as the window does: both scoring
// widgets write their counters and the store writes what it kept. Prints the
// milliseconds the close took; status 1 when something was not written.
#include "ScoreFixtures.h"
#include "content/DataStore.h"
#include "users/ScoreFile.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 5)
        return 2;
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    const int answers = QByteArray(argv[3]).toInt();
    const QString start = QString::fromLocal8Bit(argv[4]);

    DataStore store;
    UserDatabase(&store).addUser(name);
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    std::unique_ptr<WidgetManagers> braille(WidgetManagers::braille());
    for (int answer = 0; answer < answers; ++answer) {
        const WidgetManagers *widget = answer % 2 ? braille.get() : letters.get();
        ScoreManager *manager = widget->managers.at(answer / 2 % widget->managers.size());
        const QStringList labels = ScoreManager::labels(manager->kind());
        const QString &label = labels.at(answer / 2 % labels.size());
        if (answer % 3 == 2)
            manager->recordWrong(label);
        else
            manager->recordCorrect(label);
        User progress(name);
        progress.lastAct = QString::number(answer % 2);
        progress.lastSubAct = QString::number(answer % 8);
        UserDatabase(&store).updateUser(progress);
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (!QFileInfo::exists(start))
        QThread::usleep(500);

    QElapsedTimer closing;
    closing.start();
    bool written
        = ScoreFile(QStringLiteral("Letters and Numbers"), &store).write(name, letters->managers);
    written
        = ScoreFile(QStringLiteral("Braille"), &store).write(name, braille->managers) && written;
    written = store.close() && written;
    std::printf("%.1f\n", double(closing.nsecsElapsed()) / 1e6);
    std::fflush(stdout);
    return written ? 0 : 1;
}
