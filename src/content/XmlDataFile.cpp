#include "content/XmlDataFile.h"

#include "content/LogRecord.h"

#include "content/XmlTopLevel.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringList>
#include <QVarLengthArray>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Flushes a folder's entries, so a file renamed into it is still there after
// a power cut. Not every file system can sync a folder; that is no failure.
void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(folder);
#endif
}

// The last bytes parsed or written for each file, with their document. The
// bytes are compared whole before the document is used again, so a file
// changed by anyone else is always parsed anew. GUI thread only.
struct ParsedFile
{
    QByteArray bytes;
    XmlTopLevel doc;
};

QHash<QString, ParsedFile> &parsedFiles()
{
    static QHash<QString, ParsedFile> files;
    return files;
}

QString cacheKey(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// Whether the rest of the open file holds exactly the remembered bytes. The
// file is read in small pieces into one buffer, so a file of many megabytes
// that did not change costs no new memory; it must also end where they do.
bool holdsExactly(QFile &file, const QByteArray &bytes)
{
    if (file.size() != bytes.size())
        return false;
    QVarLengthArray<char, 64 * 1024> piece(64 * 1024);
    qsizetype done = 0;
    for (;;) {
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0)
            return false;
        if (got == 0)
            return done == bytes.size();
        if (got > bytes.size() - done
            || std::memcmp(piece.constData(), bytes.constData() + done, size_t(got)) != 0)
            return false;
        done += qsizetype(got);
    }
}

} // namespace

XmlDataFile::XmlDataFile(const QString &path, const QString &rootName)
    : m_path(path)
    , m_rootName(rootName)
{
}

bool XmlDataFile::exists() const
{
    return QFileInfo::exists(m_path);
}

QByteArray XmlDataFile::emptyContent() const
{
    const QByteArray root = m_rootName.toUtf8();
    return XmlTopLevel::declaration() + '<' + root + ">\n</" + root + ">\n";
}

bool XmlDataFile::createEmpty() const
{
    return writeAtomically(m_path, emptyContent());
}

XmlDataFile::Status XmlDataFile::readBytes(QByteArray *bytes) const
{
    QFile file(m_path);
    if (!file.exists())
        return Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Unreadable;
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Unreadable;
    return Loaded;
}

XmlDataFile::Status XmlDataFile::setAside(const QString &message, int line, int column)
{
    const QString error = QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
    return keepDamaged(error) ? Damaged : Unreadable;
}

XmlDataFile::Status XmlDataFile::read(XmlTopLevel &doc)
{
    doc = XmlTopLevel();
    const QString key = cacheKey(m_path);
    const auto known = parsedFiles().constFind(key);
    if (known != parsedFiles().constEnd()) {
        QFile file(m_path);
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
            && holdsExactly(file, known->bytes)) {
            doc = known->doc;
            return Loaded;
        }
    }
    QByteArray bytes;
    const Status status = readBytes(&bytes);
    if (status != Loaded)
        return status;
    QString message;
    int line = 0;
    int column = 0;
    if (doc.parse(bytes, &message, &line, &column)) {
        parsedFiles().insert(key, ParsedFile { bytes, doc });
        return Loaded;
    }
    const Status kept = setAside(message, line, column);
    if (kept == Damaged)
        doc = XmlTopLevel(m_rootName);
    return kept;
}

XmlDataFile::Status XmlDataFile::read(QDomDocument &doc)
{
    doc.clear();
    QByteArray bytes;
    const Status status = readBytes(&bytes);
    if (status != Loaded)
        return status;
    QString message;
    int line = 0;
    int column = 0;
    if (doc.setContent(bytes, &message, &line, &column))
        return Loaded;
    doc.clear();
    const Status kept = setAside(message, line, column);
    if (kept == Damaged)
        doc.setContent(emptyContent());
    return kept;
}

XmlDataFile::Status XmlDataFile::readOrCreate(XmlTopLevel &doc)
{
    if (!exists() && !createEmpty()) {
        doc = XmlTopLevel();
        return Missing;
    }
    return read(doc);
}

XmlDataFile::Status XmlDataFile::readOrCreate(QDomDocument &doc)
{
    if (!exists() && !createEmpty()) {
        doc.clear();
        return Missing;
    }
    return read(doc);
}

bool XmlDataFile::keepDamaged(const QString &error)
{
    // A backup never replaces an older one: rename() refuses an existing name.
    QString backup = m_path + QStringLiteral(".damaged");
    bool kept = QFile::rename(m_path, backup);
    for (int n = 2; !kept && n < 1000; ++n) {
        backup = m_path + QStringLiteral(".damaged-") + QString::number(n);
        if (!QFileInfo::exists(backup))
            kept = QFile::rename(m_path, backup);
    }

    QStringList details;
    details << QStringLiteral("file = ") + m_path << QStringLiteral("error = ") + error;
    if (kept) {
        syncFolder(QFileInfo(m_path).absolutePath());
        m_backupName = backup;
        details << QStringLiteral("kept as = ") + backup;
    } else {
        details << QStringLiteral("could not be moved aside; it is left as it is");
    }
    writeLogRecord(QStringLiteral("XmlDataFile::read"), details, QStringLiteral("XmlDataFile::read"));
    return kept;
}

bool XmlDataFile::write(const XmlTopLevel &doc) const
{
    if (!doc.hasRoot())
        return false;
    const QByteArray bytes = doc.serialise();
    if (!writeAtomically(m_path, bytes))
        return false;
    parsedFiles().insert(cacheKey(m_path), ParsedFile { bytes, doc });
    return true;
}

bool XmlDataFile::write(const QDomDocument &doc) const
{
    if (doc.documentElement().isNull())
        return false;
    return writeAtomically(m_path, serialise(doc));
}

QByteArray XmlDataFile::serialise(const QDomDocument &doc)
{
    QByteArray out = XmlTopLevel::declaration();
    const QDomElement root = doc.documentElement();
    for (QDomNode node = doc.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node == root) {
            // An empty root keeps the shape of the file the program creates.
            if (!root.hasChildNodes())
                out += XmlTopLevel::startTag(root) + "\n</" + root.tagName().toUtf8() + ">\n";
            else
                out += XmlTopLevel::elementText(root, 0);
        } else if (node.isComment()) {
            out += "<!--" + node.nodeValue().toUtf8() + "-->\n";
        }
    }
    return out;
}

bool XmlDataFile::writeAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    // commit() flushes the new file to the disk before it takes the old name.
    if (!file.commit())
        return false;
    syncFolder(info.absolutePath());
    return true;
}

void XmlDataFile::forgetParsedFiles()
{
    parsedFiles().clear();
}

bool XmlDataFile::isXmlChar(uint c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool XmlDataFile::isNameStartChar(uint c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D)
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF)
        || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
        || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool XmlDataFile::isNameChar(uint c)
{
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7
        || (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool XmlDataFile::isElementName(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    if (codePoints.isEmpty() || !isNameStartChar(codePoints.first()))
        return false;
    for (uint c : codePoints) {
        if (!isNameChar(c))
            return false;
    }
    // The toolkit's parser is older than the rules above in a few ranges; a
    // name it refuses would make a file it cannot read.
    QXmlStreamReader reader(QLatin1Char('<') + text + QStringLiteral("/>"));
    bool seen = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            seen = reader.name() == text;
    }
    return seen && !reader.hasError();
}
