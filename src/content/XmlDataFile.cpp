#include "content/XmlDataFile.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QStringList>

#include <algorithm>
#include <utility>

#include <cstdio>

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
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(folder);
#endif
}

void writeLogRecord(const QString &tag, const QStringList &details)
{
    QByteArray record = "BEGIN " + tag.toUtf8() + '\n';
    for (const QString &line : details)
        record += line.toUtf8() + '\n';
    record += "END " + tag.toUtf8() + '\n';
    std::fwrite(record.constData(), 1, size_t(record.size()), stdout);
    std::fflush(stdout);
}


const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// The attributes the program writes, in the order a reader expects them.
const QStringList &knownAttributes()
{
    static const QStringList order = {
        QStringLiteral("Name"),   QStringLiteral("LastAct"),   QStringLiteral("LastSubAct"),
        QStringLiteral("CreateDate"), QStringLiteral("LastDate"), QStringLiteral("type"),
        QStringLiteral("name"),   QStringLiteral("Object"),    QStringLiteral("Corrects"),
        QStringLiteral("Total"),  QStringLiteral("Consecutive"),
    };
    return order;
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF)
        || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Characters XML cannot carry at all become U+FFFD instead of making the
// whole file unreadable.
QByteArray escaped(const QString &text, bool inAttribute)
{
    QString out;
    out.reserve(text.size());
    const QList<uint> codePoints = text.toUcs4();
    for (uint c : codePoints) {
        switch (c) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += inAttribute ? QLatin1String("&quot;") : QLatin1String("\""); break;
        case '\n': out += inAttribute ? QLatin1String("&#xa;") : QLatin1String("\n"); break;
        case '\r': out += QLatin1String("&#xd;"); break;
        case '\t': out += inAttribute ? QLatin1String("&#x9;") : QLatin1String("\t"); break;
        default:
            if (!isXmlChar(c))
                out += QChar(QChar::ReplacementCharacter);
            else {
                const char32_t codePoint = c;
                out += QString::fromUcs4(&codePoint, 1);
            }
        }
    }
    return out.toUtf8();
}

QByteArray attributesText(const QDomElement &element)
{
    const QDomNamedNodeMap map = element.attributes();
    QStringList names;
    for (int i = 0; i < map.count(); ++i)
        names.append(map.item(i).nodeName());
    const QStringList &known = knownAttributes();
    std::sort(names.begin(), names.end(), [&known](const QString &a, const QString &b) {
        const int ia = known.indexOf(a);
        const int ib = known.indexOf(b);
        if (ia != ib)
            return ia >= 0 && (ib < 0 || ia < ib);
        return a < b;
    });
    QByteArray out;
    for (const QString &name : std::as_const(names))
        out += ' ' + name.toUtf8() + "=\"" + escaped(element.attribute(name), true) + '"';
    return out;
}

void writeElement(QByteArray &out, const QDomElement &element, int depth);

void writeNode(QByteArray &out, const QDomNode &node)
{
    if (node.isCDATASection())
        out += "<![CDATA[" + node.nodeValue().toUtf8() + "]]>";
    else if (node.isText())
        out += escaped(node.nodeValue(), false);
    else if (node.isComment())
        out += "<!--" + node.nodeValue().toUtf8() + "-->";
    else if (node.isProcessingInstruction())
        out += "<?" + node.toProcessingInstruction().target().toUtf8() + ' '
            + node.toProcessingInstruction().data().toUtf8() + "?>";
    else if (node.isEntityReference())
        out += '&' + node.nodeName().toUtf8() + ';';
    else if (node.isElement())
        writeElement(out, node.toElement(), -1);
}

// depth -1 writes the element inline, inside text, without added blanks.
void writeElement(QByteArray &out, const QDomElement &element, int depth)
{
    const QByteArray tag = element.tagName().toUtf8();
    if (depth >= 0)
        out += QByteArray(depth, ' ');
    out += '<' + tag + attributesText(element);
    if (!element.hasChildNodes()) {
        out += "/>";
    } else {
        bool structured = depth >= 0;
        for (QDomNode child = element.firstChild(); structured && !child.isNull();
             child = child.nextSibling())
            structured = child.isElement() || child.isComment();
        out += '>';
        if (structured) {
            out += '\n';
            for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
                if (child.isElement()) {
                    writeElement(out, child.toElement(), depth + 1);
                } else {
                    out += QByteArray(depth + 1, ' ');
                    writeNode(out, child);
                    out += '\n';
                }
            }
            out += QByteArray(depth, ' ');
        } else {
            for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling())
                writeNode(out, child);
        }
        out += "</" + tag + '>';
    }
    if (depth >= 0)
        out += '\n';
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
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + ">\n</" + root + ">\n";
}

bool XmlDataFile::createEmpty() const
{
    return writeAtomically(m_path, emptyContent());
}

XmlDataFile::Status XmlDataFile::read(QDomDocument &doc, QByteArray *raw)
{
    if (raw)
        raw->clear();
    doc.clear();
    QFile file(m_path);
    if (!file.exists())
        return Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Unreadable;
    const QByteArray bytes = file.readAll();
    const bool readWhole = file.error() == QFileDevice::NoError;
    file.close();
    if (!readWhole)
        return Unreadable;

    QString message;
    int line = 0;
    int column = 0;
    if (!doc.setContent(bytes, &message, &line, &column)) {
        doc.clear();
        return keepDamaged(doc,
                           QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column));
    }
    if (raw)
        *raw = bytes;
    return Loaded;
}

XmlDataFile::Status XmlDataFile::readOrCreate(QDomDocument &doc, QByteArray *raw)
{
    if (!exists() && !createEmpty()) {
        doc.clear();
        if (raw)
            raw->clear();
        return Missing;
    }
    return read(doc, raw);
}

XmlDataFile::Status XmlDataFile::keepDamaged(QDomDocument &doc, const QString &error)
{
    // The backup never replaces an older one: rename() refuses an existing name.
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
        details << QStringLiteral("could not be kept aside; it is left as it is");
    }
    writeLogRecord(QStringLiteral("XmlDataFile::read"), details);

    if (!kept)
        return Unreadable;
    doc.setContent(emptyContent());
    return Damaged;
}

QByteArray XmlDataFile::serialise(const QDomDocument &doc)
{
    QByteArray out = declaration;
    const QDomElement root = doc.documentElement();
    for (QDomNode node = doc.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node == root) {
            // An empty root keeps the shape of the file the program creates.
            if (!root.hasChildNodes()) {
                out += '<' + root.tagName().toUtf8() + attributesText(root) + ">\n</"
                    + root.tagName().toUtf8() + ">\n";
                continue;
            }
            out += serialise(root, 0);
        } else if (node.isComment() || (node.isProcessingInstruction()
                                        && node.toProcessingInstruction().target() != QLatin1String("xml"))) {
            writeNode(out, node);
            out += '\n';
        }
    }
    return out;
}

QByteArray XmlDataFile::serialise(const QDomElement &element, int depth)
{
    QByteArray out;
    writeElement(out, element, depth);
    return out;
}

bool XmlDataFile::write(const QDomDocument &doc, QByteArray *written) const
{
    // A document without a root would make a file nobody can read back.
    if (doc.documentElement().isNull())
        return false;
    const QByteArray bytes = serialise(doc);
    if (!writeAtomically(m_path, bytes))
        return false;
    if (written)
        *written = bytes;
    return true;
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

bool XmlDataFile::isNameStartChar(char32_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D)
        || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D)
        || (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF)
        || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF)
        || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool XmlDataFile::isNameChar(char32_t c)
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
    // The toolkit's parser is older than the rules above in a few ranges;
    // a name it refuses would make a file it cannot read.
    QXmlStreamReader reader(QLatin1Char('<') + text + QStringLiteral("/>"));
    bool seen = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            seen = reader.name() == text;
    }
    return seen && !reader.hasError();
}
