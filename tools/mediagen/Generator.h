#pragma once

#include "Job.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class Tools;

// Brings the output tree in line with a plan. Each file's fingerprint (its
// kind, parameters and the versions of the tools and painting code that
// make it) is kept in a manifest beside the tree; a file whose fingerprint
// and size did not change is left alone, equal files are made once and
// copied, files no longer planned are removed. Work runs on a pool of
// threads, each file written under a temporary name and renamed into place,
// so an interrupted run never leaves a half-written file that looks done.
class Generator
{
public:
    struct Stats
    {
        int files = 0;
        int made = 0;
        int copied = 0;
        int removed = 0;
    };

    Generator(const Tools &tools, const QString &outputRoot, int threads);

    bool run(const QList<Job> &jobs, const QStringList &folders, QString *error);
    Stats stats() const { return m_stats; }

    QByteArray fingerprint(const Job &job) const;

private:
    struct Record
    {
        QByteArray fingerprint;
        qint64 size = -1;
    };

    QHash<QString, Record> readManifest() const;
    bool writeManifest(const QHash<QString, Record> &records, QString *error) const;
    bool produce(const Job &job, const QString &target, QString *error) const;
    int removeUnplanned(const QStringList &planned, const QStringList &folders) const;

    const Tools &m_tools;
    QString m_root;
    QString m_state;
    int m_threads;
    Stats m_stats;
};
