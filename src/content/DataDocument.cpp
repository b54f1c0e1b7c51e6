#include "content/DataDocument.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <pugixml.hpp>

namespace {

// The encoding a file's bytes are in: its byte order mark, the shape of its
// first characters, then the name its declaration gives. Null for UTF-8,
// which is parsed as it is.
QByteArray encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\x00\x00", 4)))
        return "UTF-32LE";
    if (bytes.startsWith(QByteArrayView("\x00\x00\xFE\xFF", 4)))
        return "UTF-32BE";
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith(QByteArrayView("<\x00?\x00", 4)))
        return "UTF-16LE";
    if (bytes.startsWith("\xFE\xFF") || bytes.startsWith(QByteArrayView("\x00<\x00?", 4)))
        return "UTF-16BE";
    if (bytes.startsWith("\xEF\xBB\xBF") || !bytes.startsWith("<?xml"))
        return QByteArray();
    const qsizetype end = bytes.indexOf("?>");
    static const QRegularExpression declared(
        QStringLiteral("\\sencoding\\s*=\\s*[\"']([A-Za-z0-9._:-]+)[\"']"));
    const QRegularExpressionMatch match
        = declared.match(QString::fromLatin1(bytes.left(end < 0 ? 0 : end)));
    const QByteArray name = match.captured(1).toLatin1();
    return name.compare("UTF-8", Qt::CaseInsensitive) == 0
            || name.compare("UTF8", Qt::CaseInsensitive) == 0
        ? QByteArray()
        : name;
}

// The file's bytes in UTF-8, without a byte order mark; false when its
// encoding is one the toolkit cannot decode.
bool toUtf8(const QByteArray &bytes, QByteArray *utf8)
{
    const QByteArray encoding = encodingOf(bytes);
    if (encoding.isEmpty()) {
        *utf8 = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
        return true;
    }
    // Windows-1252 needs ICU; Latin-1 and the Unicode forms do not.
    QStringDecoder decoder(encoding.constData());
    if (!decoder.isValid())
        return false;
    const QString text = decoder.decode(bytes);
    *utf8 = text.toUtf8();
    return !decoder.hasError();
}

// Characters XML cannot carry at all become U+FFFD rather than making the
// whole file unreadable.
QByteArray escaped(const QString &text, bool inAttribute)
{
    QString out;
    for (const uint c : text.toUcs4()) {
        const bool xml = c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0xD7FF)
            || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
        DataDocument::appendCodePoint(&out, xml ? c : 0xFFFD);
    }
    out = out.toHtmlEscaped().replace(QLatin1Char('\r'), QLatin1String("&#xd;"));
    if (inAttribute) {
        out.replace(QLatin1Char('\n'), QLatin1String("&#xa;"))
            .replace(QLatin1Char('\t'), QLatin1String("&#x9;"));
    }
    return out.toUtf8();
}

// Where a node's markup begins: pugixml tells where its name or value does.
qsizetype startOf(const QByteArray &bytes, const pugi::xml_node &node)
{
    const qsizetype offset = node.offset_debug();
    if (node.type() == pugi::node_pcdata || offset < 0)
        return offset;
    return bytes.lastIndexOf('<', offset - 1);
}

// Just past the '>' that ends the tag beginning at from.
qsizetype endOfTag(const QByteArray &bytes, qsizetype from)
{
    char quote = 0;
    for (qsizetype i = from; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '>')
            return i + 1;
    }
    return bytes.size();
}

// A thousand learners' entries share the file's bytes instead of copying
// them. An entry read before with the same bytes is taken as it was: a file
// changed by another program differs in one learner or two.
DataDocument::Entry entryOf(const pugi::xml_node &node, const QByteArray &source,
    QByteArrayView bytes, const QHash<QByteArrayView, DataDocument::Entry> &known)
{
    DataDocument::Entry entry = known.value(bytes);
    entry.bytes = QByteArray::fromRawData(bytes.data(), bytes.size());
    entry.source = source;
    if (node.type() == pugi::node_element && entry.name.isEmpty()) {
        entry.name = QString::fromUtf8(node.name());
        for (const pugi::xml_attribute &a : node.attributes())
            entry.attributes.append({ QString::fromUtf8(a.name()), QString::fromUtf8(a.value()) });
        entry.text = QString::fromUtf8(node.child_value());
    }
    return entry;
}

} // namespace

QByteArray DataElement::toBytes(int depth) const
{
    const QByteArray tag = name.toUtf8();
    QByteArray out = '<' + tag;
    for (const auto &[attribute, value] : attributes)
        out += ' ' + attribute.toUtf8() + "=\"" + escaped(value, true) + '"';
    if (children.isEmpty() && text.isEmpty())
        return out + "/>";
    out += '>' + escaped(text, false);
    for (const DataElement &child : children)
        out += '\n' + QByteArray(depth + 1, ' ') + child.toBytes(depth + 1);
    if (!children.isEmpty())
        out += '\n' + QByteArray(depth, ' ');
    return out + "</" + tag + '>';
}

QString DataDocument::Entry::attribute(const QString &name) const
{
    for (const auto &[attribute, value] : attributes) {
        if (attribute == name)
            return value;
    }
    return QString();
}

DataDocument::DataDocument(const QString &rootName, const QString &doctype)
    : m_rootName(rootName)
    , m_rootTag(rootName.toUtf8())
    , m_rootStartTag(rootName.isEmpty() ? QByteArray() : '<' + rootName.toUtf8() + '>')
{
    if (!doctype.isEmpty())
        m_prolog.append("<!DOCTYPE " + doctype.toUtf8() + '>');
}

QString DataDocument::undecodableEncoding(const QByteArray &bytes)
{
    QByteArray utf8;
    return toUtf8(bytes, &utf8) ? QString() : QString::fromLatin1(encodingOf(bytes));
}

bool DataDocument::parse(const QByteArray &file, QString *error)
{
    // Kept as UTF-8, which is what is written back, whatever the file was in.
    QByteArray bytes;
    if (!toUtf8(file, &bytes)) {
        *this = DataDocument();
        if (error)
            *error = QStringLiteral("Encoding that cannot be read: ")
                + QString::fromLatin1(encodingOf(file));
        return false;
    }
    QHash<QByteArrayView, Entry> known;
    for (const Entry &entry : std::as_const(entries)) {
        if (!entry.source.isEmpty())
            known.insert(entry.bytes, entry);
    }
    *this = DataDocument();
    // Read as a fragment, so that text outside the root shows as a node
    // instead of being skipped: written back, it would be lost.
    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(bytes.constData(), size_t(bytes.size()),
        pugi::parse_full | pugi::parse_fragment, pugi::encoding_utf8);
    QString problem = result ? QString() : QString::fromUtf8(result.description());
    qsizetype at = result.offset;
    // XML allows no NUL, and pugixml stops reading at one: what follows it
    // would be lost when the file is written back.
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0 && (problem.isEmpty() || nul < at)) {
        problem = QStringLiteral("Null character");
        at = nul;
    }
    QList<QByteArray> *around = &m_prolog;
    for (pugi::xml_node node = doc.first_child(); node && problem.isEmpty();
         node = node.next_sibling()) {
        const qsizetype start = startOf(bytes, node);
        const qsizetype end
            = node.next_sibling() ? startOf(bytes, node.next_sibling()) : bytes.size();
        const pugi::xml_node_type type = node.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata
            || (type == pugi::node_element && hasRoot())) {
            problem = QStringLiteral("Content outside the root element");
            at = start;
        } else if (type == pugi::node_element) {
            around = &m_epilog;
            m_rootName = QString::fromUtf8(node.name());
            m_rootTag = node.name();
            const qsizetype tagEnd = endOfTag(bytes, start);
            // An empty root is written as the file the program creates has it.
            const bool empty = !node.first_child() && bytes.at(tagEnd - 2) == '/';
            m_rootStartTag = empty ? bytes.mid(start, tagEnd - 2 - start).trimmed() + '>'
                                   : bytes.mid(start, tagEnd - start);
            const qsizetype endTag = bytes.lastIndexOf("</", end - 1);
            for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
                const pugi::xml_node next = child.next_sibling();
                const qsizetype from = startOf(bytes, child);
                const qsizetype to = next ? startOf(bytes, next) : endTag;
                entries.append(entryOf(
                    child, bytes, QByteArrayView(bytes).sliced(from, to - from).trimmed(), known));
            }
        } else if (type != pugi::node_declaration) {
            // Our own declaration is written in place of the file's.
            around->append(bytes.mid(start, end - start).trimmed());
        }
    }
    if (problem.isEmpty() && !hasRoot())
        problem = QStringLiteral("No document element found");
    if (problem.isEmpty())
        return true;
    *this = DataDocument();
    if (error) {
        *error = QStringLiteral("%1 (line %2, column %3)")
                     .arg(problem)
                     .arg(bytes.left(at).count('\n') + 1)
                     .arg(at - bytes.lastIndexOf('\n', at - 1));
    }
    return false;
}

void DataDocument::appendCodePoint(QString *text, char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        text->append(QChar(QChar::highSurrogate(c)));
        text->append(QChar(QChar::lowSurrogate(c)));
    } else {
        text->append(QChar(char16_t(c)));
    }
}

bool DataDocument::forEachPiece(const std::function<bool(QByteArrayView)> &f) const
{
    if (!f("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"))
        return false;
    for (const QByteArray &node : m_prolog) {
        if (!f(node) || !f("\n"))
            return false;
    }
    if (!f(m_rootStartTag) || !f("\n"))
        return false;
    for (const Entry &entry : entries) {
        if (!f(" ") || !f(entry.bytes) || !f("\n"))
            return false;
    }
    if (!f("</") || !f(m_rootTag) || !f(">\n"))
        return false;
    for (const QByteArray &node : m_epilog) {
        if (!f(node) || !f("\n"))
            return false;
    }
    return true;
}

QByteArray DataDocument::serialise() const
{
    qsizetype size = 0;
    forEachPiece([&size](QByteArrayView piece) {
        size += piece.size();
        return true;
    });
    QByteArray out;
    out.reserve(size);
    forEachPiece([&out](QByteArrayView piece) {
        out += piece;
        return true;
    });
    return out;
}

DataDocument::Entry DataDocument::entry(const DataElement &element)
{
    return Entry { element.toBytes(), element.name, element.attributes, element.text };
}
