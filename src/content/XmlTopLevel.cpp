#include "content/XmlTopLevel.h"

#include "content/XmlDataFile.h"
#include "content/XmlScanner.h"

#include <QDomDocument>
#include <QDomElement>
#include <QStringList>
#include <algorithm>
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
    if (XmlScanner::scan(bytes, *this)) {
        m_parsedBy = Scanner;
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
