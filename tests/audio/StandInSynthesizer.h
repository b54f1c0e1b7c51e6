#pragma once

#include "audio/TTS.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Stand-in synthesizers, each a small script first on PATH, so tests check a
// real process start. Each run records the name it was started under, its
// arguments and the scratch file's bytes as it found them. The tests' PATH
// holds nothing else, so the machine's own synthesizers are never found.
class StandInSynthesizer
{
public:
    struct Call
    {
        QString program;
        QStringList arguments;
        QByteArray text;
    };

    // readDelay: seconds the synthesizer takes before it reads the scratch
    // file, as a slow one would. A run whose text is "cuelga" never ends.
    explicit StandInSynthesizer(const QStringList &programs = { QStringLiteral("espeak-ng") },
        const QString &readDelay = QStringLiteral("0"))
        : m_oldPath(qgetenv("PATH"))
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
        QDir(m_dir.path()).mkpath(QStringLiteral("records"));
        // Few processes of its own: the tests run on a busy machine too.
        QByteArray script = "#!/bin/sh\n"
                            "PATH=/usr/bin:/bin\n"
                            "r='"
            + records().toUtf8() + "'/$(date +%s%N)-$$\n";
        if (readDelay != QLatin1String("0"))
            script += "sleep " + readDelay.toUtf8() + "\n";
        script += "{ echo \"${0##*/}\"; printf '%s\\n' \"$@\"; } > \"$r.args\"\n"
                  "cat purimba.txt > \"$r.text\"\n"
                  ": > \"$r.done\"\n"
                  "IFS= read -r text < \"$r.text\"\n"
                  "if [ \"$text\" = cuelga ]; then exec sleep 60; fi\n";
        for (const QString &program : programs)
            add(program, script);
        qputenv("PATH", bin().toUtf8());
    }

    ~StandInSynthesizer() { qputenv("PATH", m_oldPath); }

    QString bin() const { return m_dir.filePath(QStringLiteral("bin")); }

    // The runs so far, in the order they started.
    QList<Call> calls() const
    {
        QList<Call> result;
        QDir dir(records());
        const QStringList done
            = dir.entryList({ QStringLiteral("*.done") }, QDir::Files, QDir::Name);
        for (const QString &name : done) {
            const QString base = dir.filePath(name.chopped(5));
            QStringList lines = QString::fromUtf8(read(base + QStringLiteral(".args")))
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            Call call;
            call.program = lines.takeFirst();
            call.arguments = lines;
            call.text = read(base + QStringLiteral(".text"));
            result << call;
        }
        return result;
    }

    QStringList texts() const
    {
        QStringList result;
        const QList<Call> all = calls();
        for (const Call &call : all)
            result << QString::fromUtf8(call.text);
        return result;
    }

    // Waits until every request made has had its turn and n runs have read
    // their text.
    bool waitForCalls(int n, int timeoutMs = 60000) const
    {
        return QTest::qWaitFor([&] { return calls().size() >= n && !TTS::isBusy(); }, timeoutMs);
    }

private:
    QString records() const { return m_dir.filePath(QStringLiteral("records")); }

    void add(const QString &program, const QByteArray &script)
    {
        QFile file(QDir(bin()).filePath(program));
        if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
            qFatal("cannot write the stand-in synthesizer");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};
