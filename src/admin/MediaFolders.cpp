#include "admin/MediaFolders.h"

#include "audio/ClipCheck.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

namespace MediaFolders {

namespace {

// Removes what a folder holds, depth first, without following links.
void removeContents(const QString &folder, QStringList *failed)
{
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() && !entry.isSymLink()) {
            removeContents(entry.filePath(), failed);
            if (!QDir(folder).rmdir(entry.fileName()))
                failed->append(entry.fileName());
        } else {
            QFile::remove(entry.filePath());
        }
    }
}

} // namespace

bool isInsideLanguages(const QString &path)
{
    const QString root = QFileInfo(MediaPaths::languagesFolder()).canonicalFilePath();
    const QFileInfo entry(path);
    if (root.isEmpty() || !MediaPaths::isFolderName(entry.fileName()))
        return false;
    const QString folder = QFileInfo(entry.absolutePath()).canonicalFilePath();
    return folder == root || folder.startsWith(root + QLatin1Char('/'));
}

bool makeFolder(const QString &path)
{
    if (!isInsideLanguages(path))
        return false;
    const QFileInfo entry(path);
    return QDir(entry.absolutePath()).mkdir(entry.fileName()) || QFileInfo(path).isDir();
}

Removal removeTree(const QString &path, QStringList *failed)
{
    if (!isInsideLanguages(path))
        return Removal::Refused;
    const QFileInfo entry(path);
    if (entry.isSymLink()) {
        if (!QFile::remove(path))
            failed->append(entry.fileName());
        return Removal::Removed;
    }
    if (!entry.isDir())
        return Removal::Missing;
    removeContents(path, failed);
    if (!QDir(entry.absolutePath()).rmdir(entry.fileName()))
        failed->append(entry.fileName());
    return Removal::Removed;
}

bool placeFile(const QByteArray &bytes, const QString &path, bool replace)
{
    if (!isInsideLanguages(path))
        return false;
    const QFileInfo entry(path);
    if (entry.exists() || entry.isSymLink()) {
        if (!replace)
            return true;
        // A link is replaced by a file; what it pointed at is left alone.
        if (entry.isSymLink() && !QFile::remove(path))
            return false;
    }
    return DataStore::writeAtomically(path, bytes);
}

bool renameFolder(const QString &from, const QString &to)
{
    const QFileInfo source(from);
    const QFileInfo target(to);
    if (!isInsideLanguages(from) || !isInsideLanguages(to)
        || source.absolutePath() != target.absolutePath() || target.exists() || target.isSymLink())
        return false;
    return QDir(source.absolutePath()).rename(source.fileName(), target.fileName());
}

bool isNewName(const QString &name)
{
    return MediaPaths::isFolderName(name) && !name.startsWith(QLatin1Char('.'));
}

QString wordFolderName(const QString &typed)
{
    QString plain;
    for (const QChar c : typed.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    }
    plain = plain.toLower();
    if (!plain.isEmpty())
        plain[0] = plain.at(0).toUpper();
    static const QRegularExpression form(QStringLiteral("^[A-Z][a-z]+$"));
    return form.match(plain).hasMatch() ? plain : QString();
}

QString caseTwin(const QString &folder, const QString &name, const QString &except)
{
    // Composed and decomposed accents are one name to some file systems too.
    const auto key = [](const QString &s) {
        return s.normalized(QString::NormalizationForm_C).toCaseFolded();
    };
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry != name && entry != except && key(entry) == key(name))
            return entry;
    }
    return QString();
}

bool beginsWithLetter(const QString &typed, const QString &letter)
{
    const QString word = typed.trimmed().normalized(QString::NormalizationForm_C);
    if (word.isEmpty())
        return false;
    const QChar first = word.at(0).toUpper();
    if (first == QChar(0x00d1))
        return letter == QLatin1String("Ntilde");
    const QString base = QString(first).normalized(QString::NormalizationForm_D).left(1);
    return letter != QLatin1String("Ntilde") && base == letter;
}

bool isUsablePicture(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return !reader.read().isNull();
}

bool isUsableClip(const QString &path)
{
    return QFileInfo(path).isFile() && ClipCheck::decodes(path);
}

} // namespace MediaFolders
