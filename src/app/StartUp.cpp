#include "app/StartUp.h"

#include <QList>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace StartUp {

namespace {

void appendStreamTo(int streamFd, FILE *stream, const char *fileName)
{
    // open + dup2 rather than freopen: freopen closes the stream even when the
    // file cannot be opened, and dup2 also catches what libraries write to the
    // descriptor directly.
    const int fd = ::open(fileName, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    std::fflush(stream);
    ::dup2(fd, streamFd);
    ::close(fd);
}

} // namespace

void redirectLogs()
{
    appendStreamTo(STDOUT_FILENO, stdout, "pu-debug.txt");
    appendStreamTo(STDERR_FILENO, stderr, "pu-error.txt");
}

RunMode parseCommandLine(int argc, const char *const *argv)
{
    if (argc <= 1)
        return RunMode::Learner;
    if (argc > 2)
        return RunMode::Silent;
    const char *argument = argv[1];
    if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "-help") == 0)
        return RunMode::Usage;
    if (std::strcmp(argument, "-adm") == 0)
        return RunMode::Administrator;
    if (std::strcmp(argument, "-tutor") == 0)
        return RunMode::Tutor;
    return RunMode::Usage;
}

QByteArray usageText()
{
    return QByteArray("Usage:\t purimba\n") + "or:\t purimba -full\n" + "or:\t purimba -adm\n";
}

void printUsage()
{
    const QByteArray text = usageText();
    for (const QByteArray &line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        std::fputs(line.constData(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
}

} // namespace StartUp
