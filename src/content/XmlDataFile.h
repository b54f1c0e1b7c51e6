#pragma once

#include <QByteArray>
#include <QString>

class QDomDocument;
class XmlTopLevel;

// One of the program's XML data files ("data/users.xml", "data/scores.xml"),
// read whole and written whole, with an indentation of one blank, in UTF-8.
//
// Nothing a teacher stored may be lost: a write replaces the file in one
// step, so a crash or a full disk leaves the previous file whole, and a file
// that cannot be parsed is moved aside under a backup name (with a log record
// on standard output) instead of being overwritten by the next write.
class XmlDataFile
{
public:
    enum Status {
        Loaded, // parsed
        Missing, // no file: the document is left empty, without a root
        Unreadable, // exists but cannot be read or moved aside: never write over it
        Damaged, // not well-formed: kept as backupName(); the document is the empty file's
    };

    // rootName is the root element of the file the program creates ("userdb", "Scores").
    XmlDataFile(const QString &path, const QString &rootName);

    const QString &path() const { return m_path; }
    bool exists() const;

    // The file the program creates when there is none: the XML declaration,
    // the opening and the closing root tag, each on a line of its own.
    QByteArray emptyContent() const;
    bool createEmpty() const;

    // Parses the file, replacing the document's content. The top-level form
    // remembers the last file it parsed or wrote, so reading a big file
    // again costs no more than comparing its bytes.
    Status read(XmlTopLevel &doc);
    Status read(QDomDocument &doc);
    // As read(), but a missing file is first created empty.
    Status readOrCreate(XmlTopLevel &doc);
    Status readOrCreate(QDomDocument &doc);
    // Where the last read put the damaged file it met; empty if none.
    const QString &backupName() const { return m_backupName; }

    // Replaces the file by the document. Returns false, leaving the previous
    // file as it was, when the new one cannot be written whole, or when the
    // document has no root (a file nobody could read back).
    bool write(const XmlTopLevel &doc) const;
    bool write(const QDomDocument &doc) const;

    // The bytes of a DOM document in the same form as the top-level one's.
    static QByteArray serialise(const QDomDocument &doc);
    // Writes bytes to a temporary file beside path, flushes it to the disk,
    // renames it over path and flushes the folder, so the new name survives
    // a power cut too.
    static bool writeAtomically(const QString &path, const QByteArray &bytes);
    // Forgets the remembered documents (for measuring first reads).
    static void forgetParsedFiles();

    // The characters an XML document may hold at all.
    static bool isXmlChar(uint c);
    // XML's name characters (without the colon, which namespaces reserve).
    static bool isNameStartChar(uint c);
    static bool isNameChar(uint c);
    // Whether text can be an element's tag name as it is, both by the rules
    // of XML and for the toolkit's own parser.
    static bool isElementName(const QString &text);

private:
    Status readBytes(QByteArray *bytes) const;
    bool keepDamaged(const QString &error);
    // A file that does not parse: kept aside (Damaged) or, when it cannot be
    // moved, left alone and never written over (Unreadable).
    Status setAside(const QString &message, int line, int column);

    QString m_path;
    QString m_rootName;
    QString m_backupName;
};
