#pragma once

#include "content/XmlTopLevel.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Reads the documents the program writes, and anything plain enough to be
// sure of: elements, attributes, text, comments and CDATA, the XML
// declaration, character references and the five predefined entities, all
// in UTF-8. Whatever else it meets (a DOCTYPE, processing instructions,
// prefixed names, a byte-order mark, and every error) it leaves to the
// toolkit's parser, which has the last word on what is well-formed.
//
// It exists for speed: it reads a file of a thousand learners many times
// faster than the toolkit builds a DOM of it.
class XmlScanner
{
public:
    struct Parts
    {
        QString rootName;
        QByteArray rootStartTag;
        QList<QByteArray> prolog;
        QList<QByteArray> epilog;
        QList<XmlTopLevel::Node> children;
    };

    // Fills out and returns true when it can vouch that bytes are a
    // well-formed document; otherwise leaves out as it was.
    static bool scan(const QByteArray &bytes, XmlTopLevel &out);
};
