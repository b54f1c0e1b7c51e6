#include "RoundContent.h"
#include "content/XmlDataFile.h"
#include "content/XmlTopLevel.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(XmlTopLevel)

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

// What the process wrote to standard output while f ran.
QByteArray standardOutputOf(const std::function<void()> &f)
{
    QTemporaryFile capture;
    if (!capture.open())
        return QByteArray();
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(capture.handle(), STDOUT_FILENO);
    f();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

// A child as the toolkit's DOM sees it: tag, attributes by name, content.
QString describe(const QDomElement &element)
{
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i)
        attributes << map.item(i).nodeName() + QLatin1Char('=') + map.item(i).nodeValue();
    attributes.sort();
    return element.tagName() + QLatin1Char('[') + attributes.join(QLatin1Char(','))
        + QLatin1Char(']') + QString::fromUtf8(XmlTopLevel::elementText(element, 0));
}

QString describe(const XmlTopLevel::Node &node)
{
    QStringList attributes;
    for (const auto &attribute : node.attributes)
        attributes << attribute.first + QLatin1Char('=') + attribute.second;
    attributes.sort();
    QDomDocument fragment;
    if (!fragment.setContent(node.text))
        return QStringLiteral("fragment does not parse: ") + QString::fromUtf8(node.text);
    return node.tagName + QLatin1Char('[') + attributes.join(QLatin1Char(',')) + QLatin1Char(']')
        + QString::fromUtf8(XmlTopLevel::elementText(fragment.documentElement(), 0));
}

} // namespace

class TestXmlDataFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void emptyFileHasThreeLines();
    void readsWhatTheToolkitReads_data();
    void readsWhatTheToolkitReads();
    void refusesWhatIsNotWellFormed_data();
    void refusesWhatIsNotWellFormed();
    void bigFilesAreCheckedThroughout_data();
    void bigFilesAreCheckedThroughout();
    void ownFilesComeBackByteForByte();
    void whatSurroundsTheChildrenIsKept_data();
    void whatSurroundsTheChildrenIsKept();
    void domDocumentsAreWrittenInTheSameShape();
    void damagedFileIsKeptAsideAndLogged();
    void damagedFileSeenThroughTheDom();
    void rereadingSeesChangesMadeByOthers();
    void rereadingABigFileSeesEveryChange_data();
    void rereadingABigFileSeesEveryChange();
    void fullDiskLeavesThePreviousFile();
    void crashInTheMiddleOfAWriteLeavesThePreviousFile();
    void killedWriterLeavesOneWholeRound();
    void elementNames_data();
    void elementNames();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestXmlDataFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    XmlDataFile::forgetParsedFiles();
}

void TestXmlDataFile::cleanup()
{
    m_dir.reset();
}

void TestXmlDataFile::emptyFileHasThreeLines()
{
    const QString file = path(QStringLiteral("data/users.xml"));
    XmlDataFile users(file, QStringLiteral("userdb"));
    QVERIFY(!users.exists());
    QVERIFY(users.createEmpty());
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n</userdb>\n";
    QCOMPARE(readAll(file), expected);

    XmlTopLevel doc;
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.rootName(), QStringLiteral("userdb"));
    QVERIFY(doc.children.isEmpty());
    QCOMPARE(doc.serialise(), expected);
    // A document emptied by the program keeps the shape.
    QCOMPARE(XmlTopLevel(QStringLiteral("Scores")).serialise(),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n</Scores>\n"));
}

void TestXmlDataFile::readsWhatTheToolkitReads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("parsedBy");

    const int fast = XmlTopLevel::Fast;
    const int toolkit = XmlTopLevel::Toolkit;
    QTest::newRow("own shape") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
        " <Ana type=\"Braille\">\n  <Activity name=\"x\">\n"
        "   <Score Object=\"\xc3\x91\" Corrects=\"1\" Total=\"2\" Consecutive=\"0\"/>\n"
        "  </Activity>\n </Ana>\n"
        " <User Name=\"Bea\" LastAct=\"\" LastSubAct=\"\"/>\n</Scores>\n")
                               << fast;
    QTest::newRow("single quotes, no declaration")
        << QByteArray("<userdb><User Name='Ana' LastAct='1'/><User Name = 'Bea' /></userdb>")
        << fast;
    QTest::newRow("references and blanks in values") << QByteArray(
        "<r><u Name=\"Ana &amp; Bea &lt;3 &#233;&#xE9; &quot;x&quot; &apos;\" "
        "t=\"a\tb\nc\"/></r>") << fast;
    QTest::newRow("comments, text and CDATA") << QByteArray(
        "<?xml version='1.0'?>\n<!-- before -->\n<r>\n <!-- a note -->\n"
        " <a>text &amp; more<![CDATA[<raw>]]><b/></a>\n loose text\n</r>\n"
        "<!-- after -->\n") << fast;
    QTest::newRow("empty root") << QByteArray("<?xml version=\"1.0\"?>\n<Scores/>\n") << fast;
    QTest::newRow("root with attributes")
        << QByteArray("<Scores version=\"2\">\n <a/>\n</Scores>") << fast;
    QTest::newRow("names outside ASCII") << QByteArray("<r><Mar\xc3\xad"
                                                       "a type=\"Braille\"><\xc3\x91"
                                                       "and\xc3\xba/></Mar\xc3\xad"
                                                       "a></r>")
                                         << fast;
    QTest::newRow("standalone") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><r><a/></r>")
                                << fast;
    QTest::newRow("end tag with blanks") << QByteArray("<r><a></a  ></r >") << fast;
    QTest::newRow("deep") << QByteArray("<r><a><b><c><d x=\"1\"/></c></b></a><e/></r>") << fast;
    QTest::newRow("doctype") << QByteArray(
        "<!DOCTYPE Users>\n<userdb><User Name=\"Ana\"/></userdb>")
                             << toolkit;
    QTest::newRow("processing instruction")
        << QByteArray("<?xml version=\"1.0\"?><?style x?><r><a/></r>") << toolkit;
    QTest::newRow("prefixed names") << QByteArray("<r><p:a p:x=\"1\"/></r>") << toolkit;
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf<r><a x=\"1\"/></r>") << toolkit;
    QTest::newRow("CR LF line ends")
        << QByteArray("<r>\r\n <a x=\"1\r\n2\" y=\"&#xd;&#xa;\"/>\r\n</r>\r\n") << fast;
    QTest::newRow("references in a comment")
        << QByteArray("<r><!-- &nbsp; & < --><a x=\"&#65;\"/></r>") << fast;
    QTest::newRow("Latin-1") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><a x=\"Mar\xed"
        "a\"/></r>") << toolkit;
}

void TestXmlDataFile::readsWhatTheToolkitReads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, parsedBy);

    XmlTopLevel doc;
    QVERIFY(doc.parse(bytes));
    QCOMPARE(int(doc.parsedBy()), parsedBy);

    QDomDocument dom;
    QVERIFY(dom.setContent(bytes));
    const QDomElement root = dom.documentElement();
    QCOMPARE(doc.rootName(), root.tagName());
    QStringList expected;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        expected << describe(e);
    QStringList found;
    for (const XmlTopLevel::Node &node : std::as_const(doc.children)) {
        if (node.isElement)
            found << describe(node);
    }
    QCOMPARE(found, expected);

    // What it writes reads back the same.
    XmlTopLevel again;
    QVERIFY(again.parse(doc.serialise()));
    QCOMPARE(again.serialise(), doc.serialise());
}

void TestXmlDataFile::refusesWhatIsNotWellFormed_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no markup") << QByteArray("not xml at all");
    QTest::newRow("only a declaration") << QByteArray("<?xml version=\"1.0\"?>\n");
    QTest::newRow("root not closed") << QByteArray("<r><a/>");
    QTest::newRow("child not closed") << QByteArray("<r>\n <a>\n</r>\n");
    QTest::newRow("crossed tags") << QByteArray("<r><a><b></a></b></r>");
    QTest::newRow("cut in a tag") << QByteArray("<r><a x=\"1");
    QTest::newRow("two roots") << QByteArray("<r/><s/>");
    QTest::newRow("text after the root") << QByteArray("<r/>x");
    QTest::newRow("same attribute twice") << QByteArray("<r><a x=\"1\" x=\"2\"/></r>");
    QTest::newRow("< in a value") << QByteArray("<r><a x=\"<\"/></r>");
    QTest::newRow("unknown entity") << QByteArray("<r><a x=\"&nbsp;\"/></r>");
    QTest::newRow("unknown entity in text") << QByteArray("<r>&eacute;</r>");
    QTest::newRow("bare ampersand") << QByteArray("<r><a x=\"a & b\"/></r>");
    QTest::newRow("reference to a control character") << QByteArray("<r><a x=\"&#1;\"/></r>");
    QTest::newRow("reference to a surrogate") << QByteArray("<r>&#xD800;</r>");
    QTest::newRow("empty reference") << QByteArray("<r>&#;</r>");
    QTest::newRow("double dash in a comment") << QByteArray("<r><!-- a -- b --></r>");
    QTest::newRow("comment ending in a dash") << QByteArray("<r><!-- a ---></r>");
    QTest::newRow("control character") << QByteArray("<r><a x=\"\x01\"/></r>");
    QTest::newRow("invalid UTF-8") << QByteArray("<r><a x=\"\xc3\x28\"/></r>");
    QTest::newRow("truncated UTF-8") << QByteArray("<r><a x=\"\xe2\x82\"/></r>");
    QTest::newRow("U+FFFE") << QByteArray("<r>\xef\xbf\xbe</r>");
    QTest::newRow("unquoted value") << QByteArray("<r><a x=1/></r>");
    QTest::newRow("attribute without value") << QByteArray("<r><a x/></r>");
    QTest::newRow("no blank between attributes") << QByteArray("<r><a x=\"1\"y=\"2\"/></r>");
    QTest::newRow("name starting with a digit") << QByteArray("<r><2pac/></r>");
    QTest::newRow("name with a blank") << QByteArray("<r><Ana Maria type=\"Braille\"/></r>");
    QTest::newRow("empty name") << QByteArray("<r></></r>");
    QTest::newRow("name beyond the first plane") << QByteArray("<r><a\xf0\x9f\x98\x80/></r>");
    QTest::newRow("]]> in text") << QByteArray("<r>a]]>b</r>");
    QTest::newRow("CDATA not closed") << QByteArray("<r><![CDATA[abc</r>");
    QTest::newRow("declaration not first") << QByteArray("\n<?xml version=\"1.0\"?><r/>");
    QTest::newRow("end tag with an attribute") << QByteArray("<r><a></a x=\"1\"></r>");
    QTest::newRow("text before the root") << QByteArray("x<r/>");
    QTest::newRow("declaration without a version") << QByteArray("<?xml?><r/>");
    QTest::newRow("declaration out of order")
        << QByteArray("<?xml encoding=\"UTF-8\" version=\"1.0\"?><r/>");
    QTest::newRow("XML 1.1") << QByteArray("<?xml version=\"1.1\"?><r/>");
    QTest::newRow("comment before the declaration")
        << QByteArray("<!--c--><?xml version=\"1.0\"?><r/>");
    QTest::newRow("sign in a name") << QByteArray("<r><a\xc3\x97/></r>");
    QTest::newRow("same attribute twice on the root") << QByteArray("<r x=\"1\" x=\"2\"><a/></r>");
}

void TestXmlDataFile::refusesWhatIsNotWellFormed()
{
    QFETCH(QByteArray, bytes);
    XmlTopLevel doc;
    QString error;
    QVERIFY(!doc.parse(bytes, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!doc.hasRoot());
    QVERIFY(doc.children.isEmpty());
}

void TestXmlDataFile::bigFilesAreCheckedThroughout_data()
{
    QTest::addColumn<QByteArray>("child");
    QTest::addColumn<int>("place"); // in thousands of children
    QTest::addColumn<int>("parsedBy"); // Nothing: refused

    const int fast = XmlTopLevel::Fast;
    const int toolkit = XmlTopLevel::Toolkit;
    const int refused = XmlTopLevel::Nothing;
    const struct
    {
        const char *name;
        QByteArray child;
        int parsedBy;
    } children[] = {
        { "plain", "<a x=\"2\"/>", fast },
        { "same attribute twice", "<a x=\"1\" x=\"2\"/>", refused },
        { "unknown entity", "<a x=\"&nbsp;\"/>", refused },
        { "double dash in a comment", "<!-- a -- b -->", refused },
        { "control character", "<a x=\"\x01\"/>", refused },
        { "invalid UTF-8", "<a x=\"\xc3\x28\"/>", refused },
        { "deep unknown entity", "<a><b><c>&eacute;</c></b></a>", refused },
        { "prefixed name", "<a><p:b/></a>", toolkit },
        { "processing instruction", "<a><?style x?></a>", toolkit },
    };
    // The first child, the middle and the last of a file checked in parts.
    for (const int place : { 0, 15, 29 }) {
        for (const auto &c : children) {
            QTest::addRow("%s at %d", c.name, place) << c.child << place << c.parsedBy;
        }
    }
}

void TestXmlDataFile::bigFilesAreCheckedThroughout()
{
    QFETCH(QByteArray, child);
    QFETCH(int, place);
    QFETCH(int, parsedBy);

    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\n";
    for (int i = 0; i < 30000; ++i)
        bytes += i == place * 1000 ? ' ' + child + '\n' : QByteArray(" <a x=\"1\"/>\n");
    bytes += "</r>\n";
    QVERIFY(bytes.size() > 256 * 1024);

    XmlTopLevel doc;
    QCOMPARE(doc.parse(bytes), parsedBy != XmlTopLevel::Nothing);
    QCOMPARE(int(doc.parsedBy()), parsedBy);
    if (parsedBy != XmlTopLevel::Nothing)
        QCOMPARE(doc.children.size(), 30000);
}

void TestXmlDataFile::ownFilesComeBackByteForByte()
{
    QDomDocument scratch;
    XmlTopLevel doc(QStringLiteral("Scores"));
    for (const char *name : { "Ana",
             "Mar\xc3\xad"
             "a",
             "_-Ana_20_Bea" }) {
        QDomElement learner = scratch.createElement(QString::fromUtf8(name));
        learner.setAttribute(QStringLiteral("type"), QStringLiteral("Braille"));
        QDomElement activity = scratch.createElement(QStringLiteral("Activity"));
        activity.setAttribute(QStringLiteral("name"), QStringLiteral("Como Suena"));
        QDomElement score = scratch.createElement(QStringLiteral("Score"));
        score.setAttribute(QStringLiteral("Consecutive"), 0);
        score.setAttribute(QStringLiteral("Total"), 2);
        score.setAttribute(QStringLiteral("Corrects"), 1);
        score.setAttribute(QStringLiteral("Object"), QStringLiteral("\u00d1"));
        activity.appendChild(score);
        learner.appendChild(activity);
        doc.children.append(XmlTopLevel::elementNode(learner));
    }
    const QByteArray bytes = doc.serialise();
    QCOMPARE(bytes.left(bytes.indexOf("Mar")),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
                   " <Ana type=\"Braille\">\n"
                   "  <Activity name=\"Como Suena\">\n"
                   "   <Score Object=\"\xc3\x91\" Corrects=\"1\" Total=\"2\" Consecutive=\"0\"/>\n"
                   "  </Activity>\n"
                   " </Ana>\n <"));
    QVERIFY(bytes.endsWith(" </_-Ana_20_Bea>\n</Scores>\n"));

    XmlTopLevel read;
    QVERIFY(read.parse(bytes));
    QCOMPARE(read.parsedBy(), XmlTopLevel::Fast);
    QCOMPARE(read.children.size(), 3);
    QCOMPARE(read.children.at(1).tagName, QStringLiteral("Mar\u00eda"));
    QCOMPARE(read.serialise(), bytes);
}

void TestXmlDataFile::whatSurroundsTheChildrenIsKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("written");

    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    QTest::newRow("empty root with attributes") << QByteArray(
        "<Scores version=\"2\" />") << declaration + "<Scores version=\"2\">\n</Scores>\n";
    QTest::newRow("comments around the root")
        << QByteArray("<?xml version='1.0'?>\n<!-- before -->\n<r a=\"1\">\n <b/>\n</r >\n"
                      "<!-- after --> <!--</r>-->\n")
        << declaration + "<!-- before -->\n<r a=\"1\">\n <b/>\n</r>\n<!-- after -->\n<!--</r>-->\n";
}

void TestXmlDataFile::whatSurroundsTheChildrenIsKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);

    XmlTopLevel doc;
    QVERIFY(doc.parse(bytes));
    QCOMPARE(doc.parsedBy(), XmlTopLevel::Fast);
    QCOMPARE(doc.serialise(), written);
}

void TestXmlDataFile::domDocumentsAreWrittenInTheSameShape()
{
    QDomDocument doc;
    QVERIFY(doc.setContent(QByteArray("<?xml version='1.0' encoding='UTF-8'?>"
                                      "<userdb><User LastDate='d' Name='Ana &amp; Bea' "
                                      "LastAct='1'/><!--n--></userdb>")));
    const QString file = path(QStringLiteral("users.xml"));
    QVERIFY(XmlDataFile(file, QStringLiteral("userdb")).write(doc));
    QCOMPARE(readAll(file),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n"
                   " <User Name=\"Ana &amp; Bea\" LastAct=\"1\" LastDate=\"d\"/>\n"
                   " <!--n-->\n</userdb>\n"));
    // A document without a root is never written.
    QVERIFY(!XmlDataFile(file, QStringLiteral("userdb")).write(QDomDocument()));
    QVERIFY(!XmlDataFile(file, QStringLiteral("userdb")).write(XmlTopLevel()));
    QVERIFY(readAll(file).contains("Ana &amp; Bea"));
}

void TestXmlDataFile::damagedFileIsKeptAsideAndLogged()
{
    const QString file = path(QStringLiteral("scores.xml"));
    const QByteArray damaged = "<Scores>\n <Ana type=\"Braille\">\n</Scores>\n";
    QVERIFY(writeFile(file, damaged));

    XmlDataFile scores(file, QStringLiteral("Scores"));
    XmlTopLevel doc;
    XmlDataFile::Status status = XmlDataFile::Loaded;
    const QByteArray log = standardOutputOf([&] { status = scores.read(doc); });
    QCOMPARE(status, XmlDataFile::Damaged);
    QCOMPARE(scores.backupName(), file + QStringLiteral(".damaged"));
    QCOMPARE(readAll(file + QStringLiteral(".damaged")), damaged);
    QVERIFY(!QFile::exists(file));
    // Work goes on with the empty document of the format.
    QCOMPARE(doc.serialise(), scores.emptyContent());

    const QList<QByteArray> lines = log.split('\n');
    QCOMPARE(lines.first(), QByteArray("BEGIN XmlDataFile::read"));
    QVERIFY(lines.contains("file = " + file.toUtf8()));
    QVERIFY(lines.contains("kept as = " + file.toUtf8() + ".damaged"));
    QCOMPARE(lines.at(lines.size() - 2), QByteArray("END XmlDataFile::read"));

    // Older backups are never replaced.
    QVERIFY(writeFile(file, "second"));
    QCOMPARE(scores.readOrCreate(doc), XmlDataFile::Damaged);
    QVERIFY(writeFile(file, "third"));
    QCOMPARE(scores.read(doc), XmlDataFile::Damaged);
    QCOMPARE(readAll(file + QStringLiteral(".damaged")), damaged);
    QCOMPARE(readAll(file + QStringLiteral(".damaged-2")), QByteArray("second"));
    QCOMPARE(readAll(file + QStringLiteral(".damaged-3")), QByteArray("third"));
}

void TestXmlDataFile::damagedFileSeenThroughTheDom()
{
    const QString file = path(QStringLiteral("users.xml"));
    QVERIFY(writeFile(file, "<userdb><User Name=\"Ana\"></userdb>"));
    XmlDataFile users(file, QStringLiteral("userdb"));
    QDomDocument doc;
    XmlDataFile::Status status = XmlDataFile::Loaded;
    standardOutputOf([&] { status = users.read(doc); });
    QCOMPARE(status, XmlDataFile::Damaged);
    QCOMPARE(doc.documentElement().tagName(), QStringLiteral("userdb"));
    QVERIFY(!doc.documentElement().hasChildNodes());
    QCOMPARE(readAll(file + QStringLiteral(".damaged")),
        QByteArray("<userdb><User Name=\"Ana\"></userdb>"));
}

void TestXmlDataFile::rereadingSeesChangesMadeByOthers()
{
    const QString file = path(QStringLiteral("users.xml"));
    XmlDataFile users(file, QStringLiteral("userdb"));
    QVERIFY(writeFile(file, "<userdb><User Name=\"Ana\" LastAct=\"1\"/></userdb>"));
    XmlTopLevel doc;
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.children.first().attribute(QStringLiteral("LastAct")), QStringLiteral("1"));
    // Same size, same second: only the bytes tell.
    QVERIFY(writeFile(file, "<userdb><User Name=\"Ana\" LastAct=\"2\"/></userdb>"));
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.children.first().attribute(QStringLiteral("LastAct")), QStringLiteral("2"));

    doc.children.first().text = "<User Name=\"Bea\"/>";
    doc.children.first().attributes = { qMakePair(QStringLiteral("Name"), QStringLiteral("Bea")) };
    QVERIFY(users.write(doc));
    QVERIFY(writeFile(file, "<userdb><User Name=\"Cid\"/></userdb>"));
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.children.first().attribute(QStringLiteral("Name")), QStringLiteral("Cid"));
}

void TestXmlDataFile::rereadingABigFileSeesEveryChange_data()
{
    // A file of several pieces, as the remembered one is compared piece by piece.
    XmlTopLevel doc(QStringLiteral("userdb"));
    for (int i = 0; i < 4000; ++i) {
        XmlTopLevel::Node node;
        node.isElement = true;
        node.tagName = QStringLiteral("User");
        node.text = "<User Name=\"U" + QByteArray::number(i) + "\" LastAct=\"1\"/>";
        doc.children.append(node);
    }
    const QByteArray written = doc.serialise();
    QVERIFY(written.size() > 128 * 1024);
    const qsizetype last = written.lastIndexOf("LastAct=\"1\"") + 9;
    const qsizetype first = written.indexOf("LastAct=\"1\"") + 9;

    QTest::addColumn<XmlTopLevel>("remembered");
    QTest::addColumn<QByteArray>("changed");
    QTest::newRow("last value, same size") << doc << QByteArray(written).replace(last, 1, "2");
    QTest::newRow("first value, same size") << doc << QByteArray(written).replace(first, 1, "2");
    QTest::newRow("grown at the end") << doc << written + "<!-- x -->\n";
    QTest::newRow("last child gone")
        << doc << written.left(written.lastIndexOf("\n <User")) + "\n</userdb>\n";
}

void TestXmlDataFile::rereadingABigFileSeesEveryChange()
{
    QFETCH(XmlTopLevel, remembered);
    QFETCH(QByteArray, changed);
    const QString file = path(QStringLiteral("users.xml"));
    XmlDataFile users(file, QStringLiteral("userdb"));
    QVERIFY(users.write(remembered));
    XmlTopLevel doc;
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.serialise(), remembered.serialise());

    QVERIFY(writeFile(file, changed));
    QCOMPARE(users.read(doc), XmlDataFile::Loaded);
    QCOMPARE(doc.serialise(), changed);
}

void TestXmlDataFile::fullDiskLeavesThePreviousFile()
{
    const QString file = path(QStringLiteral("data/scores.xml"));
    QVERIFY(XmlDataFile::writeAtomically(file, roundContent(1)));

    // The file-size limit stands for a full disk: writes past it fail.
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = XmlDataFile::writeAtomically(file, roundContent(2));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QCOMPARE(readAll(file), roundContent(1));
    // Nothing half written is left beside it.
    QCOMPARE(QDir(path(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("scores.xml") });
}

void TestXmlDataFile::crashInTheMiddleOfAWriteLeavesThePreviousFile()
{
    const QString file = path(QStringLiteral("scores.xml"));
    QVERIFY(XmlDataFile::writeAtomically(file, roundContent(1)));
    QProcess writer;
    writer.start(QStringLiteral(DATAWRITER), { QStringLiteral("crash"), file });
    QVERIFY(writer.waitForFinished(20000));
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    QCOMPARE(readAll(file), roundContent(1));
}

void TestXmlDataFile::killedWriterLeavesOneWholeRound()
{
    const QString file = path(QStringLiteral("scores.xml"));
    for (int wanted : { 1, 2, 3, 5 }) {
        const int finished = TestSupport::killAfterRounds(
            QStringLiteral(DATAWRITER), { QStringLiteral("loop"), file }, wanted);
        QVERIFY(finished >= wanted);

        const QByteArray bytes = readAll(file);
        QVERIFY2(bytes == roundContent(finished) || bytes == roundContent(finished + 1),
            qPrintable(QStringLiteral("%1 bytes after round %2").arg(bytes.size()).arg(finished)));
    }
}

void TestXmlDataFile::elementNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("plain") << "Ana" << true;
    QTest::newRow("accents") << "Mar\u00eda" << true;
    QTest::newRow("underscore first") << "_ana" << true;
    QTest::newRow("digits after") << "ana2" << true;
    QTest::newRow("dash and dot") << "a-b.c" << true;
    QTest::newRow("CJK") << "\u674e\u660e" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank") << "Ana Mar\u00eda" << false;
    QTest::newRow("digit first") << "2ana" << false;
    QTest::newRow("dash first") << "-ana" << false;
    QTest::newRow("colon") << "a:b" << false;
    QTest::newRow("markup") << "a>b" << false;
    // XML allows them; the toolkit's parser does not.
    QTest::newRow("emoji") << "a\U0001F600" << false;
    QTest::newRow("emoji first") << "\U0001F600" << false;
}

void TestXmlDataFile::elementNames()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(XmlDataFile::isElementName(text), valid);
    if (valid) {
        QDomDocument doc;
        QVERIFY(doc.setContent(QLatin1Char('<') + text + QStringLiteral("/>")));
    }
}

QTEST_GUILESS_MAIN(TestXmlDataFile)
#include "tst_xmldatafile.moc"
