#include "Tools.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

const int kTimeoutMs = 120000;

} // namespace

bool Tools::locate(QString *error)
{
    struct Wanted
    {
        QString *path;
        const char *name;
        const char *versionFlag;
    };
    const Wanted wanted[] = {
        { &espeak, "espeak-ng", "--version" },
        { &oggenc, "oggenc", "--version" },
        { &sox, "sox", "--version" },
        { &convert, "convert", "-version" },
    };
    versions.clear();
    for (const Wanted &w : wanted) {
        *w.path = QStandardPaths::findExecutable(QString::fromLatin1(w.name));
        if (w.path->isEmpty()) {
            *error = QStringLiteral("%1 not found on the PATH (tools/install-deps.sh installs it)")
                         .arg(QString::fromLatin1(w.name));
            return false;
        }
        QByteArray out;
        if (!run(*w.path, { QString::fromLatin1(w.versionFlag) }, error, &out))
            return false;
        // The first line names the version; later lines may carry dates or paths.
        versions += QString::fromUtf8(out).section(QLatin1Char('\n'), 0, 0).trimmed();
        versions += QLatin1Char('\n');
    }
    return true;
}

bool Tools::run(const QString &program, const QStringList &args, QString *error, QByteArray *output,
    const QByteArray &input)
{
    const QString what = program + QLatin1Char(' ') + args.join(QLatin1Char(' '));
    QProcess process;
    if (input.isEmpty())
        process.setStandardInputFile(QProcess::nullDevice());
    if (!output)
        process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForStarted(kTimeoutMs)) {
        *error = what + QStringLiteral(": cannot start");
        return false;
    }
    if (!input.isEmpty()) {
        process.write(input);
        process.closeWriteChannel();
    }
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        *error = what + QStringLiteral(": did not finish");
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = what
            + QStringLiteral(": failed (status %1): %2")
                  .arg(process.exitCode())
                  .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}
