#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class QDomElement;

// A data file's document held as the list of its root's children, each kept
// as the text it has in the file. Files of a thousand learners are far too
// big to build a DOM of on every change; a change here replaces or appends
// one child and leaves every other byte as it was.
//
// The file this gives back is the XML declaration, the root's start tag, each
// child on a line of its own indented by one blank, and the root's end tag.
class XmlTopLevel
{
public:
    struct Node
    {
        // From the node's first byte to its last, as in the file.
        QByteArray text;
        bool isElement = false;
        QString tagName;
        // Decoded values, in file order.
        QList<QPair<QString, QString>> attributes;

        // The empty string when the element has no such attribute.
        QString attribute(const QString &name) const;
    };

    enum ParsedBy { Nothing, Fast, Toolkit };

    // An empty document: a root without children.
    explicit XmlTopLevel(const QString &rootName = QString());

    // Replaces the content by the document in bytes; false when it is not
    // well-formed XML, with the parser's message and place.
    bool parse(const QByteArray &bytes, QString *error = nullptr, int *line = nullptr,
        int *column = nullptr);
    // Files in the shape the program writes are read fast by pugixml;
    // anything unusual, and every error, goes through the toolkit's parser,
    // which has the last word on what is well-formed.
    ParsedBy parsedBy() const { return m_parsedBy; }

    bool hasRoot() const { return !m_rootName.isEmpty(); }
    const QString &rootName() const { return m_rootName; }

    QList<Node> children;

    QByteArray serialise() const;

    // A child made from an element, written with an indentation of one blank
    // per level and its attributes in a fixed order.
    static Node elementNode(const QDomElement &element);
    // The element at the given depth, ended by a line feed.
    static QByteArray elementText(const QDomElement &element, int depth);
    static QByteArray startTag(const QDomElement &element);

    static const QByteArray &declaration();

private:
    bool parseFast(const QByteArray &bytes);
    bool parseWithToolkit(const QByteArray &bytes, QString *error, int *line, int *column);

    QString m_rootName;
    QByteArray m_rootStartTag;
    QList<QByteArray> m_prolog;
    QList<QByteArray> m_epilog;
    ParsedBy m_parsedBy = Nothing;
};
