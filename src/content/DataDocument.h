#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

using DataAttributes = QList<QPair<QString, QString>>;

// An element as the program writes it: the attributes in the order given,
// then a text or child elements, each child on a line of its own indented by
// one blank per level.
struct DataElement
{
    explicit DataElement(
        const QString &name, const DataAttributes &attributes = {}, const QString &text = QString())
        : name(name)
        , attributes(attributes)
        , text(text)
    {
    }

    QString name;
    DataAttributes attributes;
    QString text;
    QList<DataElement> children;

    // The element at the given depth, without the blanks before its first
    // line and without a line feed after its last.
    QByteArray toBytes(int depth = 1) const;
};

// A data file's document held as the list of its root's children, each kept
// as the bytes it has in the file. Files of a thousand learners are far too
// big to build a tree of on every change; a change here replaces or appends
// one entry and leaves every other byte as it was.
//
// The file this gives back is the XML declaration, what stood before the
// root (a document type, comments), the root's start tag, each entry on a
// line of its own indented by one blank, the root's end tag and what followed.
class DataDocument
{
public:
    struct Entry
    {
        // From the entry's first byte to its last, as in the file. Read from a
        // file, they are a piece of the file's bytes, which source keeps.
        QByteArray bytes;
        // The tag name; empty for a comment or loose text.
        QString name;
        // Decoded values, in file order.
        DataAttributes attributes;
        // The text directly inside the element, as a suggestion holds it.
        QString text;

        QByteArray source = QByteArray();

        // The empty string when the element has no such attribute.
        QString attribute(const QString &name) const;
    };

    // A root without entries (no root at all for the empty name), after the
    // document type when one is given.
    explicit DataDocument(const QString &rootName = QString(), const QString &doctype = QString());

    // Replaces the content by the document in bytes; false, with pugixml's
    // message and the place, when they are not one well-formed element with
    // only comments, a document type and processing instructions around it.
    // Bytes in another encoding than UTF-8 (named by a byte order mark or
    // by the declaration) are decoded first; the document holds, and
    // serialise() gives, UTF-8.
    bool parse(const QByteArray &bytes, QString *error = nullptr);
    // The encoding the bytes' declaration names when the toolkit cannot
    // decode it; empty otherwise.
    static QString undecodableEncoding(const QByteArray &bytes);

    bool hasRoot() const { return !m_rootName.isEmpty(); }
    const QString &rootName() const { return m_rootName; }

    QList<Entry> entries;

    QByteArray serialise() const;
    // The file serialise() gives, as the pieces it is made of, in order, so
    // that a big file can be written or compared without a copy of it;
    // stops, returning false, when f does.
    bool forEachPiece(const std::function<bool(QByteArrayView)> &f) const;

    static Entry entry(const DataElement &element);
    // Appends one code point to text: QString::fromUcs4() would take a
    // U+FEFF for a byte order mark and drop it.
    static void appendCodePoint(QString *text, char32_t c);

private:
    QString m_rootName;
    // The name as the start tag has it: bytes that are not UTF-8 would not
    // match it decoded and encoded again, and the file written back would
    // not parse.
    QByteArray m_rootTag;
    QByteArray m_rootStartTag;
    QList<QByteArray> m_prolog;
    QList<QByteArray> m_epilog;
};
