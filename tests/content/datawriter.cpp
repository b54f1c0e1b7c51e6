// Replaces a data file again and again, for the tests of interrupted writes.
//   datawriter loop PATH   writes round 1, 2, ... and prints each finished round
//   datawriter crash PATH  writes under a file-size limit, so the kernel ends
//                          the process in the middle of the write
//   datawriter keep PATH   stores a learner in a file another process holds
//                          locked, then crashes
#include "RoundContent.h"
#include "content/DataStore.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "crash") == 0) {
        rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 64 * 1024;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 3;
        DataStore::writeAtomically(path, roundContent(2));
        return 0; // not reached: SIGXFSZ ends the process
    }
    if (std::strcmp(argv[1], "keep") == 0) {
        DataStore store;
        const DataStore::Outcome outcome
            = store.submit({ path, QStringLiteral("Scores") }, [](DataDocument &doc) {
                  doc.entries.append(DataDocument::entry(
                      DataElement(QStringLiteral("Learner"), { { "Name", "Ana" } })));
                  return true;
              });
        if (outcome != DataStore::Kept)
            return 4;
        std::abort();
    }
    for (int round = 1;; ++round) {
        if (!DataStore::writeAtomically(path, roundContent(round)))
            return 1;
        std::printf("%d\n", round);
        std::fflush(stdout);
    }
}
