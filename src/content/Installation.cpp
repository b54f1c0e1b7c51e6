#include "content/Installation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#ifndef PURIMBA_SHARED_RELATIVE
#define PURIMBA_SHARED_RELATIVE "../share/purimba"
#endif

namespace {

const QString media = QStringLiteral("media");

QString dataFolderFrom(const QProcessEnvironment &env)
{
    const QString named = env.value(QStringLiteral("PURIMBA_DATA_DIR"));
    if (!named.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(named));
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const QString xdg = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg + QStringLiteral("/purimba"));
    QString home = env.value(QStringLiteral("HOME"));
    if (home.isEmpty())
        home = QDir::homePath();
    return QDir::cleanPath(home + QStringLiteral("/.local/share/purimba"));
}

bool copyTree(const QString &from, const QString &to, QString *error)
{
    if (!QDir().mkpath(to)) {
        *error = to;
        return false;
    }
    QDirIterator it(
        from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        const bool ok = it.fileInfo().isDir() ? QDir().mkpath(target) : QFile::copy(path, target);
        if (!ok) {
            *error = target;
            return false;
        }
        // Installed files are read-only for everyone; the copy is there to be edited.
        if (!it.fileInfo().isDir())
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return true;
}

} // namespace

Installation Installation::detect(const QString &applicationDir, const QProcessEnvironment &env)
{
    Installation installation;
    installation.m_applicationDir = applicationDir;
    installation.m_sharedRoot = applicationDir;
    const QString shared
        = QDir::cleanPath(applicationDir + QStringLiteral("/" PURIMBA_SHARED_RELATIVE));
    if (QFileInfo(applicationDir + QLatin1Char('/') + media).isDir()
        || !QFileInfo(shared + QLatin1Char('/') + media).isDir())
        return installation;
    installation.m_layout = Layout::Installed;
    installation.m_sharedRoot = shared;
    installation.m_dataFolder = dataFolderFrom(env);
    return installation;
}

QString Installation::executableDir(const char *argv0)
{
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return QFileInfo(self.canonicalFilePath()).absolutePath();
    return QFileInfo(QString::fromLocal8Bit(argv0)).absolutePath();
}

QString Installation::mediaRoot() const
{
    if (!isInstalled())
        return m_applicationDir;
    return hasMediaCopy() ? m_dataFolder : m_sharedRoot;
}

bool Installation::hasMediaCopy() const
{
    return isInstalled() && QFileInfo(m_dataFolder + QLatin1Char('/') + media).isDir();
}

bool Installation::makeDataFolder() const
{
    return !isInstalled() || QDir().mkpath(m_dataFolder + QStringLiteral("/data"));
}

QString Installation::looseSuggestionsFile() const
{
    return m_dataFolder + QStringLiteral("/suggestions.txt");
}

bool Installation::copyMediaToDataFolder(QString *error) const
{
    QString failed;
    const QString partial = m_dataFolder + QStringLiteral("/media.copying");
    const QString final = m_dataFolder + QLatin1Char('/') + media;
    // What an earlier copy left when it was cut short.
    QDir(partial).removeRecursively();
    if (!copyTree(m_sharedRoot + QLatin1Char('/') + media, partial, &failed)) {
        *error = failed;
        QDir(partial).removeRecursively();
        return false;
    }
    const QString loose = looseSuggestionsFile();
    const QString kept = partial + QStringLiteral("/system/text/suggestions.txt");
    if (QFileInfo::exists(loose)) {
        QDir().mkpath(QFileInfo(kept).absolutePath());
        QFile::remove(kept);
        if (!QFile::copy(loose, kept)) {
            *error = kept;
            QDir(partial).removeRecursively();
            return false;
        }
    }
    if (!QDir().rename(partial, final)) {
        *error = final;
        QDir(partial).removeRecursively();
        return false;
    }
    QFile::remove(loose);
    return true;
}
