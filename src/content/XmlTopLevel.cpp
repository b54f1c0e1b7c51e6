#include "content/XmlTopLevel.h"

#include "content/XmlDataFile.h"

#include <QDomDocument>
#include <QDomElement>
#include <QStringList>
#include <QUtf8StringView>
#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <future>
#include <pugixml.hpp>
#include <system_error>
#include <utility>

namespace {

// The attributes the program writes, in the order a reader expects them.
const QStringList &knownAttributes()
{
    static const QStringList order = {
        QStringLiteral("Name"),
        QStringLiteral("LastAct"),
        QStringLiteral("LastSubAct"),
        QStringLiteral("CreateDate"),
        QStringLiteral("LastDate"),
        QStringLiteral("type"),
        QStringLiteral("name"),
        QStringLiteral("Object"),
        QStringLiteral("Corrects"),
        QStringLiteral("Total"),
        QStringLiteral("Consecutive"),
    };
    return order;
}

// Characters XML cannot carry at all become U+FFFD rather than making the
// whole file unreadable.
QByteArray escaped(const QString &text, bool inAttribute)
{
    QString out;
    out.reserve(text.size());
    const QList<uint> codePoints = text.toUcs4();
    for (uint c : codePoints) {
        switch (c) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += inAttribute ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        case '\n':
            out += inAttribute ? QLatin1String("&#xa;") : QLatin1String("\n");
            break;
        case '\r':
            out += QLatin1String("&#xd;");
            break;
        case '\t':
            out += inAttribute ? QLatin1String("&#x9;") : QLatin1String("\t");
            break;
        default:
            if (!XmlDataFile::isXmlChar(c)) {
                out += QChar(QChar::ReplacementCharacter);
            } else {
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
        const qsizetype ia = known.indexOf(a);
        const qsizetype ib = known.indexOf(b);
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

// Depth -1 writes the element inline, inside text, without added blanks.
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
            for (QDomNode child = element.firstChild(); !child.isNull();
                 child = child.nextSibling()) {
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
            for (QDomNode child = element.firstChild(); !child.isNull();
                 child = child.nextSibling())
                writeNode(out, child);
        }
        out += "</" + tag + '>';
    }
    if (depth >= 0)
        out += '\n';
}

// pugixml reads a file of a thousand learners many times faster than the
// toolkit, but it lets through some of what XML forbids. The checks below
// refuse all of that, and anything the program does not write itself, for
// the toolkit to decide.

// Every kind of node, so that none is skipped unseen; references are left as
// written, to be checked.
const unsigned int fastOptions = pugi::parse_full & ~pugi::parse_escapes;

inline uchar isControl(uchar c)
{
    return (c < 0x20) & (c != '\t') & (c != '\n') & (c != '\r');
}

// Valid UTF-8 of the characters XML allows, without a byte-order mark.
bool isPlainText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xef\xbb\xbf") || !QUtf8StringView(bytes).isValidUtf8())
        return false;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const qsizetype size = bytes.size();
    // Blocks of a fixed size without a branch inside, which the compiler
    // turns into vector instructions: this pass sees every byte.
    uchar control = 0;
    qsizetype i = 0;
    for (; i + 64 <= size && !control; i += 64) {
        for (int k = 0; k < 64; ++k)
            control |= isControl(data[i + k]);
    }
    for (; i < size; ++i)
        control |= isControl(data[i]);
    if (control)
        return false;
    // U+FFFE and U+FFFF; valid UTF-8 has the two bytes after 0xEF.
    for (const uchar *p = data;
         (p = static_cast<const uchar *>(std::memchr(p, 0xEF, size_t(size - (p - data))))); ++p) {
        if (p[1] == 0xBF && p[2] >= 0xBE)
            return false;
    }
    return true;
}

bool isBlank(const QByteArray &bytes, qsizetype from, qsizetype to)
{
    return from >= 0 && from <= to
        && QByteArrayView(bytes).sliced(from, to - from).trimmed().isEmpty();
}

// pugixml takes any byte above ASCII for a name character, and the colon,
// which would ask for namespaces.
bool isPlainName(const char *name)
{
    bool ascii = true;
    for (const char *p = name; *p; ++p) {
        if (*p == ':')
            return false;
        ascii = ascii && uchar(*p) < 0x80;
    }
    return ascii || XmlDataFile::isElementName(QString::fromUtf8(name));
}

// The character the reference at text stands for ("&amp;", "&#xE9;"...),
// with the reference's length; 0 when XML allows no such reference.
uint reference(const char *text, int *length)
{
    static const struct
    {
        const char *name;
        char value;
    } entities[] = { { "&amp;", '&' }, { "&lt;", '<' }, { "&gt;", '>' }, { "&quot;", '"' },
        { "&apos;", '\'' } };
    for (const auto &entity : entities) {
        const size_t size = std::strlen(entity.name);
        if (std::strncmp(text, entity.name, size) == 0) {
            *length = int(size);
            return uint(entity.value);
        }
    }
    if (text[1] != '#')
        return 0;
    const int base = text[2] == 'x' ? 16 : 10;
    const char *digits = text + (base == 16 ? 3 : 2);
    const char *p = digits;
    uint c = 0;
    // Longer references (leading zeros) are left to the toolkit.
    for (; p - digits < 8; ++p) {
        const int lower = *p | 0x20;
        int digit = -1;
        if (*p >= '0' && *p <= '9')
            digit = *p - '0';
        else if (base == 16 && lower >= 'a' && lower <= 'f')
            digit = lower - 'a' + 10;
        if (digit < 0)
            break;
        c = c * uint(base) + uint(digit);
    }
    if (p == digits || *p != ';')
        return 0;
    *length = int(p + 1 - text);
    return XmlDataFile::isXmlChar(c) ? c : 0;
}

// No '<', and only references XML allows.
bool isPlainValue(const char *text)
{
    for (const char *p = text; *p; ++p) {
        int length = 0;
        if (*p == '<' || (*p == '&' && reference(p, &length) == 0))
            return false;
    }
    return true;
}

// The value with its references replaced, once isPlainValue() vouched for it.
QString decoded(const char *text)
{
    QString out;
    for (const char *amp = std::strchr(text, '&'); amp; amp = std::strchr(text, '&')) {
        int length = 0;
        const char32_t c = reference(amp, &length);
        out += QString::fromUtf8(text, amp - text) + QString::fromUcs4(&c, 1);
        text = amp + length;
    }
    return out + QString::fromUtf8(text);
}

// pugixml ends a comment at the first "-->"; XML allows no "--" inside.
bool isPlainComment(const char *text)
{
    const size_t size = std::strlen(text);
    return !std::strstr(text, "--") && (size == 0 || text[size - 1] != '-');
}

// Version 1.0, then maybe the encoding, UTF-8, then maybe standalone.
bool isPlainDeclaration(const pugi::xml_node &declaration)
{
    static const char *const fields[] = { "version", "encoding", "standalone" };
    int next = 0;
    for (pugi::xml_attribute a = declaration.first_attribute(); a; a = a.next_attribute()) {
        int field = next;
        while (field < 3 && std::strcmp(a.name(), fields[field]) != 0)
            ++field;
        if (field == 3 || (next == 0 && field != 0))
            return false;
        const QByteArray value = a.value();
        if ((field == 0 && value != "1.0") || (field == 1 && value.toLower() != "utf-8")
            || (field == 2 && value != "yes" && value != "no"))
            return false;
        next = field + 1;
    }
    return next > 0;
}

// The node itself, without what is inside it, by the rules pugixml leaves out.
bool isPlainNode(const pugi::xml_node &node)
{
    switch (node.type()) {
    case pugi::node_element: {
        if (!isPlainName(node.name()))
            return false;
        QVarLengthArray<const char *, 8> names;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const char *name = a.name();
            if (!isPlainName(name) || !isPlainValue(a.value()))
                return false;
            for (const char *seen : std::as_const(names)) {
                if (seen[0] == name[0] && std::strcmp(seen, name) == 0)
                    return false;
            }
            names.append(name);
        }
        break;
    }
    case pugi::node_pcdata:
        if (std::strstr(node.value(), "]]>") || !isPlainValue(node.value()))
            return false;
        break;
    case pugi::node_comment:
        if (!isPlainComment(node.value()))
            return false;
        break;
    case pugi::node_cdata:
        break;
    default: // processing instructions
        return false;
    }
    return true;
}

// The node and everything inside it.
bool isPlainTree(const pugi::xml_node &top)
{
    pugi::xml_node node = top;
    for (;;) {
        if (!isPlainNode(node))
            return false;
        if (const pugi::xml_node child = node.first_child()) {
            node = child;
            continue;
        }
        while (node != top && !node.next_sibling())
            node = node.parent();
        if (node == top)
            return true;
        node = node.next_sibling();
    }
}

// The siblings from first up to (without) end, and everything inside them.
bool areAllPlain(pugi::xml_node first, const pugi::xml_node &end)
{
    for (; first != end; first = first.next_sibling()) {
        if (!isPlainTree(first))
            return false;
    }
    return true;
}

// Files from this size on are checked by two threads.
const qsizetype sharedCheckSize = 256 * 1024;

// The check run by a second thread for a big file; for a small one, or when
// no thread can be had, by the caller when it asks for the result.
template <typename Check> std::future<bool> checkAside(bool big, Check check)
{
    if (big) {
        try {
            return std::async(std::launch::async, check);
        } catch (const std::system_error &) {
        }
    }
    return std::async(std::launch::deferred, check);
}

// Where a node's markup begins: pugixml gives where its name or value does
// (or -1, when it cannot tell).
qsizetype startOf(const pugi::xml_node &node)
{
    const qsizetype offset = node.offset_debug();
    if (offset < 0)
        return -1;
    switch (node.type()) {
    case pugi::node_element:
        return offset - 1; // <
    case pugi::node_declaration:
        return offset - 2; // <?
    case pugi::node_comment:
        return offset - 4; // <!--
    case pugi::node_cdata:
        return offset - 9; // <![CDATA[
    default:
        return offset;
    }
}

// Just past the '>' ending the tag that begins at from.
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

QByteArray nodeText(const QDomNode &node)
{
    if (node.isElement()) {
        QByteArray text = XmlTopLevel::elementText(node.toElement(), 1);
        return text.mid(1, text.size() - 2);
    }
    QByteArray text;
    writeNode(text, node);
    return text;
}

} // namespace

QString XmlTopLevel::Node::attribute(const QString &name) const
{
    for (const auto &attribute : attributes) {
        if (attribute.first == name)
            return attribute.second;
    }
    return QString();
}

XmlTopLevel::XmlTopLevel(const QString &rootName)
    : m_rootName(rootName)
    , m_rootStartTag(rootName.isEmpty() ? QByteArray() : '<' + rootName.toUtf8() + '>')
{
}

const QByteArray &XmlTopLevel::declaration()
{
    static const QByteArray line = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    return line;
}

bool XmlTopLevel::parse(const QByteArray &bytes, QString *error, int *line, int *column)
{
    *this = XmlTopLevel();
    if (parseFast(bytes)) {
        m_parsedBy = Fast;
        return true;
    }
    *this = XmlTopLevel();
    if (parseWithToolkit(bytes, error, line, column)) {
        m_parsedBy = Toolkit;
        return true;
    }
    *this = XmlTopLevel();
    return false;
}

bool XmlTopLevel::parseFast(const QByteArray &bytes)
{
    const bool big = bytes.size() >= sharedCheckSize;
    std::future<bool> textIsPlain = checkAside(big, [&bytes] { return isPlainText(bytes); });
    pugi::xml_document doc;
    const bool loaded = doc.load_buffer(
        bytes.constData(), size_t(bytes.size()), fastOptions, pugi::encoding_utf8);
    if (!textIsPlain.get() || !loaded)
        return false;
    const pugi::xml_node root = doc.document_element();
    if (!root || !isPlainNode(root))
        return false;
    // Checking every node of a big file takes longer than building the
    // children, so a second thread checks the last two thirds meanwhile;
    // both only read the parsed document. The future is declared after the
    // document, so it is waited for before the document goes.
    pugi::xml_node later;
    for (pugi::xml_node child = root.first_child(); big && child && !later;
         child = child.next_sibling()) {
        if (startOf(child) >= bytes.size() / 3)
            later = child;
    }
    std::future<bool> laterArePlain
        = checkAside(big, [later] { return areAllPlain(later, pugi::xml_node()); });

    // Outside the root: the declaration first, then blanks and comments.
    qsizetype done = 0;
    for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
        const qsizetype start = startOf(node);
        if (!isBlank(bytes, done, start))
            return false;
        if (node.type() == pugi::node_declaration) {
            if (start != 0 || !isPlainDeclaration(node))
                return false;
            done = bytes.indexOf("?>") + 2;
        } else if (node.type() == pugi::node_comment) {
            if (!isPlainComment(node.value()))
                return false;
            done = bytes.indexOf("-->", start + 4) + 3;
            (hasRoot() ? m_epilog : m_prolog).append(bytes.mid(start, done - start));
        } else if (node == root) {
            m_rootName = QString::fromUtf8(root.name());
            done = endOfTag(bytes, start);
            if (bytes.at(done - 2) == '/') {
                m_rootStartTag = bytes.mid(start, done - 2 - start).trimmed() + '>';
                continue;
            }
            m_rootStartTag = bytes.mid(start, done - start);
            // Only blanks and comments follow the root's end tag.
            const pugi::xml_node after = node.next_sibling();
            const qsizetype endTag = bytes.lastIndexOf("</", after ? startOf(after) : -1);
            for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
                const pugi::xml_node next = child.next_sibling();
                const qsizetype from = startOf(child);
                const qsizetype to = next ? startOf(next) : endTag;
                if (from < 0 || to < from)
                    return false;
                // The attributes are decoded below only once they are vouched for.
                if (!isPlainNode(child))
                    return false;
                Node item;
                item.text = bytes.mid(from, to - from).trimmed();
                if (child.type() == pugi::node_element) {
                    item.isElement = true;
                    item.tagName = QString::fromUtf8(child.name());
                    for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute())
                        item.attributes.append(
                            qMakePair(QString::fromUtf8(a.name()), decoded(a.value())));
                }
                children.append(item);
            }
            done = bytes.indexOf('>', endTag) + 1;
        } else {
            // A second root, a DOCTYPE, a processing instruction.
            return false;
        }
    }
    if (!isBlank(bytes, done, bytes.size()) || !areAllPlain(root.first_child(), later))
        return false;
    return laterArePlain.get();
}

bool XmlTopLevel::parseWithToolkit(const QByteArray &bytes, QString *error, int *line, int *column)
{
    QDomDocument doc;
    if (!doc.setContent(bytes, error, line, column))
        return false;
    const QDomElement root = doc.documentElement();
    if (root.isNull())
        return false;
    m_rootName = root.tagName();
    m_rootStartTag = startTag(root);
    QList<QByteArray> *around = &m_prolog;
    for (QDomNode node = doc.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node == root)
            around = &m_epilog;
        else if (node.isComment()
            || (node.isProcessingInstruction()
                && node.toProcessingInstruction().target() != QLatin1String("xml")))
            around->append(nodeText(node));
    }
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isElement()) {
            children.append(elementNode(node.toElement()));
        } else {
            Node other;
            other.text = nodeText(node).trimmed();
            if (!other.text.isEmpty())
                children.append(other);
        }
    }
    return true;
}

QByteArray XmlTopLevel::serialise() const
{
    qsizetype size = declaration().size() + 2 * m_rootStartTag.size() + 8;
    for (const Node &child : children)
        size += child.text.size() + 2;
    QByteArray out;
    out.reserve(size);
    out += declaration();
    for (const QByteArray &node : m_prolog)
        out += node + '\n';
    // An empty root keeps the shape of the file the program creates.
    out += m_rootStartTag + '\n';
    for (const Node &child : children) {
        out += ' ';
        out += child.text;
        out += '\n';
    }
    out += "</" + m_rootName.toUtf8() + ">\n";
    for (const QByteArray &node : m_epilog)
        out += node + '\n';
    return out;
}

XmlTopLevel::Node XmlTopLevel::elementNode(const QDomElement &element)
{
    Node node;
    node.isElement = true;
    node.tagName = element.tagName();
    node.text = nodeText(element);
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i)
        node.attributes.append(qMakePair(map.item(i).nodeName(), map.item(i).nodeValue()));
    return node;
}

QByteArray XmlTopLevel::elementText(const QDomElement &element, int depth)
{
    QByteArray out;
    writeElement(out, element, depth);
    return out;
}

QByteArray XmlTopLevel::startTag(const QDomElement &element)
{
    return '<' + element.tagName().toUtf8() + attributesText(element) + '>';
}
