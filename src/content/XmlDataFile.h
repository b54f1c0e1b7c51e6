#pragma once

#include <QByteArray>
#include <QString>

class QDomDocument;
class QDomElement;

// One of the program's XML data files ("data/users.xml", "data/scores.xml"):
// read whole into a document and written whole, with an indentation of one
// blank, in UTF-8.
//
// Nothing a teacher stored may be lost, so a write replaces the file in one
// step (a crash or a full disk leaves the previous file whole), and a file
// that cannot be parsed is moved aside under a backup name instead of being
// overwritten by the next write.
class XmlDataFile
{
public:
    enum Status {
        Loaded,     // parsed
        Missing,    // no file: the document is left empty
        Unreadable, // exists but cannot be read or kept aside: do not write over it
        Damaged,    // not well-formed: kept under backupName(), the document is the empty file's
    };

    // rootName is the root element of the file the program creates ("userdb", "Scores").
    XmlDataFile(const QString &path, const QString &rootName);

    const QString &path() const { return m_path; }
    bool exists() const;

    // The file the program creates when there is none: the XML declaration,
    // the opening and the closing root tag, each on a line of its own.
    QByteArray emptyContent() const;
    bool createEmpty() const;

    // Parses the file into doc, replacing its content. With raw, also hands
    // back the bytes that were parsed (empty unless Loaded).
    Status read(QDomDocument &doc, QByteArray *raw = nullptr);
    // As read(), but a missing file is first created empty.
    Status readOrCreate(QDomDocument &doc, QByteArray *raw = nullptr);
    // Where read() put the damaged file it met last; empty if none.
    const QString &backupName() const { return m_backupName; }

    // Serialises doc (indent 1, UTF-8) and replaces the file with it.
    // With written, also hands back the bytes. Returns false, leaving the
    // previous file untouched, when the new one cannot be written whole.
    bool write(const QDomDocument &doc, QByteArray *written = nullptr) const;

    // The file's bytes for doc: the XML declaration with double quotes, then
    // the nodes with an indentation of one blank per level. Attributes come
    // in a fixed order (the ones the program knows first, as it lists them,
    // then the others by name), so equal documents give equal files.
    static QByteArray serialise(const QDomDocument &doc);
    // One element at the given depth, ended by a line feed.
    static QByteArray serialise(const QDomElement &element, int depth);
    // Writes bytes to a temporary file beside path, flushes it to the disk,
    // renames it over path and flushes the folder, so the new name survives
    // a power cut too.
    static bool writeAtomically(const QString &path, const QByteArray &bytes);

    // XML's name characters (without the colon, which namespaces reserve).
    static bool isNameStartChar(char32_t c);
    static bool isNameChar(char32_t c);
    // Whether text can be an element's tag name as it is, both by the rules
    // of XML and for the toolkit's own parser.
    static bool isElementName(const QString &text);

private:
    Status keepDamaged(QDomDocument &doc, const QString &error);

    QString m_path;
    QString m_rootName;
    QString m_backupName;
};
