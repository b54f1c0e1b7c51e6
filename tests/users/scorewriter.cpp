// Writes one learner's letters element again and again, each time with all
// counters set to the round's number, and prints the number of every round
// it finished. The tests kill it in the middle of a write.
#include "ScoreFixtures.h"
#include "users/ScoreFile.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    const QString learner = QString::fromLocal8Bit(argv[2]);
    std::unique_ptr<WidgetManagers> set(WidgetManagers::letters());
    const ScoreFile file(QStringLiteral("Letters and Numbers"));
    for (int round = 1;; ++round) {
        for (ScoreManager *manager : std::as_const(set->managers)) {
            for (const QString &label : ScoreManager::allLabels())
                manager->setScore(label, round, round, round);
        }
        if (!file.write(learner, set->managers))
            return 1;
        std::printf("%d\n", round);
        std::fflush(stdout);
    }
}
