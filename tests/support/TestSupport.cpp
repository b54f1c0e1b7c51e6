#include "support/TestSupport.h"

#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "content/MediaPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <sys/types.h>
#include <unistd.h>

namespace TestSupport {

QString fixture(const QString &name)
{
    return qEnvironmentVariable("PURIMBA_TEST_FIXTURES") + QLatin1Char('/') + name;
}

MediaTree::MediaTree()
    : m_previousWorkingDir(QDir::currentPath())
{
    MediaPaths::setApplicationDir(m_dir.path());
    QDir::setCurrent(m_dir.path());
}

MediaTree::~MediaTree()
{
    QDir::setCurrent(m_previousWorkingDir);
    MediaPaths::setApplicationDir(QString());
}

QString MediaTree::addFolder(const QString &relativePath)
{
    const QString path = m_dir.filePath(relativePath);
    QDir().mkpath(path);
    return path;
}

QString MediaTree::addFile(const QString &relativePath, const QByteArray &content)
{
    const QString path = m_dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    // Whole or not at all: a player of the test before may still be opening
    // the file being replaced, and a half-written clip is fatal to it.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content);
        file.commit();
    }
    return path;
}

QString MediaTree::addClip(const QString &relativePath, const QString &fixtureName)
{
    QFile source(fixture(fixtureName));
    if (!source.open(QIODevice::ReadOnly))
        qFatal("missing fixture clip %s", qPrintable(fixtureName));
    return addFile(relativePath, source.readAll());
}

ClipRecorder::ClipRecorder()
{
    AudioMonitor *monitor = AudioMonitor::instance();
    connect(monitor, &AudioMonitor::clipRequested, this,
        [this](const QString &file) { requested << file; });
    connect(monitor, &AudioMonitor::clipStarted, this, [this](const QString &file, qint64 time) {
        started << file;
        startTimes << time;
    });
}

QStringList ClipRecorder::requestedNames() const
{
    QStringList names;
    for (const QString &path : requested)
        names << path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return names;
}

int killAfterRounds(const QString &program, const QStringList &arguments, int rounds)
{
    QProcess writer;
    writer.start(program, arguments);
    if (!writer.waitForStarted())
        return -1;
    int finished = 0;
    while (finished < rounds) {
        if (!writer.waitForReadyRead(20000)) {
            writer.kill();
            writer.waitForFinished();
            return -1;
        }
        while (writer.canReadLine())
            finished = writer.readLine().trimmed().toInt();
    }
    ::kill(pid_t(writer.processId()), SIGKILL);
    if (!writer.waitForFinished(20000))
        return -1;
    while (writer.canReadLine())
        finished = writer.readLine().trimmed().toInt();
    return finished;
}

FinishedCounter::FinishedCounter(AudioThread *player)
{
    connect(player, &AudioThread::finished, this, [this] { ++count; });
}

bool FinishedCounter::waitFor(int n, int timeoutMs)
{
    return QTest::qWaitFor([&] { return count >= n; }, timeoutMs);
}

QByteArray standardOutputOf(const std::function<void()> &f)
{
    QTemporaryFile capture;
    if (!capture.open())
        return QByteArray();
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(capture.handle(), STDOUT_FILENO);
    f();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

QStringList playBackToBack(const QString &first, const QString &second)
{
    ClipRecorder clips;
    AudioThread a;
    AudioThread b;
    FinishedCounter aFinished(&a);
    FinishedCounter bFinished(&b);
    a.file = first;
    a.start();
    b.file = second;
    b.start();
    if (!aFinished.waitFor(1) || !bFinished.waitFor(1))
        return QStringList();
    return clips.started;
}

void ClipRecorder::clear()
{
    requested.clear();
    started.clear();
    startTimes.clear();
}

} // namespace TestSupport
