#include "app/StartUp.h"

#include "app/Dialogs.h"
#include "content/MediaPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSocketNotifier>
#include <QTranslator>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/socket.h>
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

// The self-pipe of the termination signals: the handler writes a byte into
// [1], the event loop reads [0]. Process-wide, as signal dispositions are.
int signalSockets[2] = { -1, -1 };

void onTerminationSignal(int)
{
    // Only async-signal-safe calls here; a full socket already holds a byte.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[1], &byte, 1);
    errno = savedErrno;
}

void catchSignal(int signalNumber)
{
    struct sigaction previous = {};
    if (::sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
        return;
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the second signal of a kind finds the default again.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(signalNumber, &action, nullptr);
}

// Qt's Spanish catalogue has no type names for the file dialog's list
// ("Folder" stayed English); asked before it, and silent on all else.
class FileTypeNames : public QTranslator
{
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return QString();
        static const QHash<QByteArray, QString> names {
            { "Folder", QStringLiteral("Carpeta") },
            { "File Folder", QStringLiteral("Carpeta de archivos") },
            { "Drive", QStringLiteral("Unidad") },
            { "Shortcut", QStringLiteral("Acceso directo") },
            { "Alias", QStringLiteral("Alias") },
            { "Unknown", QStringLiteral("Desconocido") },
        };
        return names.value(QByteArray(source));
    }
};

} // namespace

void limitMemoryArenas()
{
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 2);
#endif
}

void catchTerminationSignals()
{
    if (signalSockets[0] >= 0)
        return;
    // Close-on-exec: the synthesizer's processes must not hold the sockets.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        // The signals keep ending the process at once.
        signalSockets[0] = signalSockets[1] = -1;
        return;
    }
    catchSignal(SIGTERM);
    catchSignal(SIGINT);
}

void closeOnTerminationSignals(const QList<QWidget *> &windows)
{
    if (signalSockets[0] < 0)
        return;
    auto *notifier = new QSocketNotifier(
        signalSockets[0], QSocketNotifier::Read, QCoreApplication::instance());
    const QList<QPointer<QWidget>> guarded(windows.cbegin(), windows.cend());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, guarded] {
        char bytes[16];
        while (::read(signalSockets[0], bytes, sizeof bytes) > 0) { }
        notifier->setEnabled(false);
        for (const QPointer<QWidget> &window : guarded) {
            if (window)
                window->close();
        }
        // Also leaves any nested loop (a modal dialog's) on the way out.
        QCoreApplication::exit(0);
    });
}

bool installSpanishTranslations()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(QCoreApplication::instance());
    // "qt_es" gathers the catalogues of every Qt module; a system that
    // splits them may ship only the one of qtbase, where the dialogs are.
    if (!translator->load(QStringLiteral("qt_es"), folder)
        && !translator->load(QStringLiteral("qtbase_es"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator)
        && QCoreApplication::installTranslator(new FileTypeNames(translator));
}

void findInstallation(const char *argv0)
{
    const Installation installation = Installation::detect(
        Installation::executableDir(argv0), QProcessEnvironment::systemEnvironment());
    // A data folder that cannot be made leaves every write failing silently,
    // as a read-only stage folder always did.
    installation.makeDataFolder();
    MediaPaths::setInstallation(installation);
}

bool offerMediaCopy(QWidget *parent)
{
    const Installation &installation = MediaPaths::installation();
    if (!installation.isInstalled() || installation.hasMediaCopy()
        || QFileInfo(MediaPaths::languagesFolder()).isWritable())
        return false;
    const QString question = QCoreApplication::translate("StartUp",
        "Los medios instalados en %1 no se pueden modificar.\n\n"
        "¿Copiarlos a la carpeta de datos (%2) para editarlos allí? Desde entonces "
        "Purimba usará esa copia, también con los alumnos.")
                                 .arg(QDir::toNativeSeparators(installation.sharedRoot()),
                                     QDir::toNativeSeparators(installation.dataFolder()));
    if (!Dialogs::question(
            parent, QCoreApplication::translate("StartUp", "Copiar los medios"), question))
        return false;
    QString failed;
    if (!installation.copyMediaToDataFolder(&failed)) {
        Dialogs::information(parent, QCoreApplication::translate("StartUp", "Error"),
            QCoreApplication::translate("StartUp", "No se pudieron copiar los medios (%1).")
                .arg(QDir::toNativeSeparators(failed)));
        return false;
    }
    return true;
}

void redirectLogs()
{
    appendStreamTo(STDOUT_FILENO, stdout,
        QFile::encodeName(MediaPaths::logFile(QStringLiteral("pu-debug.txt"))).constData());
    appendStreamTo(STDERR_FILENO, stderr,
        QFile::encodeName(MediaPaths::logFile(QStringLiteral("pu-error.txt"))).constData());
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
