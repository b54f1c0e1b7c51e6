#include "RoundContent.h"
#include "content/DataStore.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

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

// An element as the toolkit's DOM sees it: tag, attributes by name, content.
QString describe(const QDomElement &element)
{
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i)
        attributes << map.item(i).nodeName() + QLatin1Char('=') + map.item(i).nodeValue();
    attributes.sort();
    QString content;
    QTextStream stream(&content);
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling())
        child.save(stream, 0);
    return element.tagName() + QLatin1Char('[') + attributes.join(QLatin1Char(','))
        + QLatin1Char(']') + content;
}

// An entry as the store read it, its bytes read again by the toolkit.
QString describe(const DataDocument::Entry &entry)
{
    QDomDocument fragment;
    if (!fragment.setContent(entry.bytes))
        return QStringLiteral("entry does not parse: ") + QString::fromUtf8(entry.bytes);
    const QString dom = describe(fragment.documentElement());
    QStringList attributes;
    for (const auto &[name, value] : entry.attributes)
        attributes << name + QLatin1Char('=') + value;
    attributes.sort();
    return entry.name + QLatin1Char('[') + attributes.join(QLatin1Char(',')) + QLatin1Char(']')
        + dom.mid(dom.indexOf(QLatin1Char(']')) + 1);
}

} // namespace

class TestDataStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFilesHaveTheirShape_data();
    void newFilesHaveTheirShape();
    void readsWhatTheToolkitReads_data();
    void readsWhatTheToolkitReads();
    void refusesWhatIsNotWellFormed_data();
    void refusesWhatIsNotWellFormed();
    void ownFilesComeBackByteForByte();
    void whatSurroundsTheChildrenIsKept_data();
    void whatSurroundsTheChildrenIsKept();
    void elementsAreWrittenInTheProgramsShape_data();
    void elementsAreWrittenInTheProgramsShape();
    void suggestionFileKeepsItsDocumentType();
    void damagedFileIsKeptAsideAndLogged();
    void rereadingSeesChangesMadeByOthers();
    void rereadingABigFileSeesEveryChange_data();
    void rereadingABigFileSeesEveryChange();
    void preloadedFileIsReadAsItIsWhenRead();
    void changesAreMadeOnTheFileAsItIsNow();
    void lockLeftByAMachineThatWentDownIsTakenOver();
    void fullDiskLeavesThePreviousFile();
    void crashInTheMiddleOfAWriteLeavesThePreviousFile();
    void killedWriterLeavesOneWholeRound();
    void keptChangesOutliveTheProgram();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name) const { return m_dir->filePath(name); }
};

void TestDataStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDataStore::cleanup()
{
    m_dir.reset();
}

void TestDataStore::newFilesHaveTheirShape_data()
{
    QTest::addColumn<QString>("rootName");
    QTest::addColumn<QString>("doctype");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("users") << "userdb" << QString()
                           << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                         "<userdb>\n</userdb>\n");
    QTest::newRow("activity suggestions")
        << "Sugerencias"
        << "Sugerencias"
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE Sugerencias>\n"
                      "<Sugerencias>\n</Sugerencias>\n");
}

void TestDataStore::newFilesHaveTheirShape()
{
    QFETCH(QString, rootName);
    QFETCH(QString, doctype);
    QFETCH(QByteArray, expected);

    const DataStore::File file { path(QStringLiteral("data/new.xml")), rootName, doctype };
    DataStore store;
    DataDocument doc;
    QCOMPARE(store.read(file, &doc), DataStore::Missing);
    QVERIFY(!doc.hasRoot());
    QVERIFY(store.update(file, [](DataDocument &) { return true; }));
    QCOMPARE(readAll(file.path), expected);

    QCOMPARE(DataStore().read(file, &doc), DataStore::Loaded);
    QCOMPARE(doc.rootName(), rootName);
    QVERIFY(doc.entries.isEmpty());
    QCOMPARE(doc.serialise(), expected);
    // The lock is gone with the change.
    QCOMPARE(QDir(path(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("new.xml") });
}

void TestDataStore::readsWhatTheToolkitReads_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("own shape") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
        " <Ana type=\"Braille\">\n  <Activity name=\"x\">\n"
        "   <Score Object=\"\xc3\x91\" Corrects=\"1\" Total=\"2\" Consecutive=\"0\"/>\n"
        "  </Activity>\n </Ana>\n"
        " <User Name=\"Bea\" LastAct=\"\" LastSubAct=\"\"/>\n</Scores>\n");
    QTest::newRow("single quotes, no declaration")
        << QByteArray("<userdb><User Name='Ana' LastAct='1'/><User Name = 'Bea' /></userdb>");
    QTest::newRow("references and blanks in values")
        << QByteArray("<r><u Name=\"Ana &amp; Bea &lt;3 &#233;&#xE9; &quot;x&quot; &apos;\" "
                      "t=\"a\tb\nc\"/></r>");
    QTest::newRow("comments, text and CDATA")
        << QByteArray("<?xml version='1.0'?>\n<!-- before -->\n<r>\n <!-- a note -->\n"
                      " <a>text &amp; more<![CDATA[<raw>]]><b/></a>\n loose text\n</r>\n"
                      "<!-- after -->\n");
    QTest::newRow("empty root") << QByteArray("<?xml version=\"1.0\"?>\n<Scores/>\n");
    QTest::newRow("root with attributes") << QByteArray("<Scores version=\"2\">\n <a/>\n</Scores>");
    QTest::newRow("names outside ASCII") << QByteArray("<r><Mar\xc3\xad"
                                                       "a type=\"Braille\"><\xc3\x91"
                                                       "and\xc3\xba/></Mar\xc3\xad"
                                                       "a></r>");
    QTest::newRow("standalone") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><r><a/></r>");
    QTest::newRow("end tag with blanks") << QByteArray("<r><a></a  ></r >");
    QTest::newRow("deep") << QByteArray("<r><a><b><c><d x=\"1\"/></c></b></a><e/></r>");
    QTest::newRow("doctype") << QByteArray(
        "<!DOCTYPE Users>\n<userdb><User Name=\"Ana\"/></userdb>");
    QTest::newRow("processing instruction")
        << QByteArray("<?xml version=\"1.0\"?><?style x?><r><a/></r>");
    QTest::newRow("prefixed names") << QByteArray("<r><p:a p:x=\"1\"/></r>");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf<r><a x=\"1\"/></r>");
    QTest::newRow("CR LF line ends")
        << QByteArray("<r>\r\n <a x=\"1\r\n2\" y=\"&#xd;&#xa;\"/>\r\n</r>\r\n");
    QTest::newRow("references in a comment")
        << QByteArray("<r><!-- &nbsp; & < --><a x=\"&#65;\"/></r>");
    QTest::newRow("markup in a value") << QByteArray("<r><a x=\"b>c\"/><d/></r>");
}

void TestDataStore::readsWhatTheToolkitReads()
{
    QFETCH(QByteArray, bytes);

    DataDocument doc;
    QVERIFY(doc.parse(bytes));

    QDomDocument dom;
    QVERIFY(dom.setContent(bytes));
    const QDomElement root = dom.documentElement();
    QCOMPARE(doc.rootName(), root.tagName());
    QStringList expected;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        expected << describe(e);
    QStringList found;
    for (const DataDocument::Entry &entry : std::as_const(doc.entries)) {
        if (!entry.name.isEmpty())
            found << describe(entry);
    }
    QCOMPARE(found, expected);

    // What it writes reads back the same.
    DataDocument again;
    QVERIFY(again.parse(doc.serialise()));
    QCOMPARE(again.serialise(), doc.serialise());
}

void TestDataStore::refusesWhatIsNotWellFormed_data()
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
    QTest::newRow("a second root after a comment") << QByteArray("<r/>\n<!-- c -->\n<s/>\n");
    QTest::newRow("text after the root") << QByteArray("<r/>x");
    QTest::newRow("text before the root") << QByteArray("x<r/>");
    QTest::newRow("CDATA outside the root") << QByteArray("<r/><![CDATA[x]]>");
    QTest::newRow("unquoted value") << QByteArray("<r><a x=1/></r>");
    QTest::newRow("attribute without value") << QByteArray("<r><a x/></r>");
    QTest::newRow("no blank between attributes") << QByteArray("<r><a x=\"1\"y=\"2\"/></r>");
    QTest::newRow("name starting with a digit") << QByteArray("<r><2pac/></r>");
    QTest::newRow("name with a blank") << QByteArray("<r><Ana Maria type=\"Braille\"/></r>");
    QTest::newRow("empty name") << QByteArray("<r></></r>");
    QTest::newRow("CDATA not closed") << QByteArray("<r><![CDATA[abc</r>");
    QTest::newRow("comment not closed") << QByteArray("<r><!-- abc </r>");
    QTest::newRow("end tag with an attribute") << QByteArray("<r><a></a x=\"1\"></r>");
    QTest::newRow("one end tag too many") << QByteArray("<r></r></r>");
    // The parser would stop at the NUL, and what follows would be lost.
    QTest::newRow("NUL between children") << QByteArray("<r>\n <a/>\n") + '\0' + " <b/>\n</r>\n";
    QTest::newRow("NUL after an odd declaration")
        << QByteArray("<?xml version=\"1.0\" encodifg=\"x\"/>\n <r a=\"1\"?>\n") + '\0' + "r>\n";
}

void TestDataStore::refusesWhatIsNotWellFormed()
{
    QFETCH(QByteArray, bytes);
    DataDocument doc(QStringLiteral("r"));
    QString error;
    QVERIFY(!doc.parse(bytes, &error));
    QVERIFY(error.contains(QLatin1String("(line ")));
    QVERIFY(!doc.hasRoot());
    QVERIFY(doc.entries.isEmpty());
}

void TestDataStore::ownFilesComeBackByteForByte()
{
    DataDocument doc(QStringLiteral("Scores"));
    for (const char *name : { "Ana",
             "Mar\xc3\xad"
             "a",
             "_-Ana_20_Bea" }) {
        DataElement learner(QString::fromUtf8(name), { { "type", "Braille" } });
        DataElement activity(QStringLiteral("Activity"), { { "name", "Como Suena" } });
        activity.children.append(DataElement(QStringLiteral("Score"),
            { { "Object", "\u00d1" }, { "Corrects", "1" }, { "Total", "2" },
                { "Consecutive", "0" } }));
        learner.children.append(activity);
        doc.entries.append(DataDocument::entry(learner));
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

    DataDocument read;
    QVERIFY(read.parse(bytes));
    QCOMPARE(read.entries.size(), 3);
    QCOMPARE(read.entries.at(1).name, QStringLiteral("Mar\u00eda"));
    QCOMPARE(read.entries.at(1).attribute(QStringLiteral("type")), QStringLiteral("Braille"));
    QCOMPARE(read.serialise(), bytes);
}

void TestDataStore::whatSurroundsTheChildrenIsKept_data()
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
    QTest::newRow("document type, other indentation")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE Sugerencias>\n<Sugerencias>\n"
                      "\t<sugerencia activity=\"0\" subactivity=\"1\">Hola</sugerencia>\n"
                      "</Sugerencias>")
        << declaration
            + "<!DOCTYPE Sugerencias>\n<Sugerencias>\n"
              " <sugerencia activity=\"0\" subactivity=\"1\">Hola</sugerencia>\n"
              "</Sugerencias>\n";
    QTest::newRow("root's start tag with a '>' in a value")
        << QByteArray("<r a=\"x>y\"><b/></r>") << declaration + "<r a=\"x>y\">\n <b/>\n</r>\n";
}

void TestDataStore::whatSurroundsTheChildrenIsKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);

    DataDocument doc;
    QVERIFY(doc.parse(bytes));
    QCOMPARE(doc.serialise(), written);
}

void TestDataStore::elementsAreWrittenInTheProgramsShape_data()
{
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("plain") << "Ana" << QString() << QByteArray("<e v=\"Ana\"/>");
    QTest::newRow("markup") << "Ana & <Bea> \"la 'peque'\""
                            << "a < b & \"c\" > d"
                            << QByteArray("<e v=\"Ana &amp; &lt;Bea&gt; &quot;la 'peque'&quot;\">"
                                          "a &lt; b &amp; &quot;c&quot; &gt; d</e>");
    QTest::newRow("line ends and tabs") << "a\tb\nc\rd"
                                        << "a\tb\nc\rd"
                                        << QByteArray("<e v=\"a&#x9;b&#xa;c&#xd;d\">"
                                                      "a\tb\nc&#xd;d</e>");
    QTest::newRow("characters XML cannot carry")
        << QString::fromUtf16(u"a\u0001b\uffffc") << QString()
        << QByteArray("<e v=\"a\xef\xbf\xbd"
                      "b\xef\xbf\xbd"
                      "c\"/>");
    QTest::newRow("beyond the first plane")
        << "\U0001F600" << QString() << QByteArray("<e v=\"\xf0\x9f\x98\x80\"/>");
}

void TestDataStore::elementsAreWrittenInTheProgramsShape()
{
    QFETCH(QString, attribute);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    const DataElement element(QStringLiteral("e"), { { QStringLiteral("v"), attribute } }, text);
    QCOMPARE(element.toBytes(), expected);
    // The toolkit reads back what was written, up to the characters replaced.
    QDomDocument dom;
    QVERIFY(dom.setContent(element.toBytes()));
    if (!expected.contains("\xef\xbf\xbd")) {
        QCOMPARE(dom.documentElement().attribute(QStringLiteral("v")), attribute);
        QCOMPARE(dom.documentElement().text(), text);
    }
}

void TestDataStore::suggestionFileKeepsItsDocumentType()
{
    const DataStore::File file { path(QStringLiteral("suggestions.txt")),
        QStringLiteral("Sugerencias"), QStringLiteral("Sugerencias") };
    QVERIFY(writeFile(file.path,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE Sugerencias>\n<Sugerencias>\n"
        " <sugerencia activity=\"0\" subactivity=\"1\">Repite &amp; espera</sugerencia>\n"
        " <sugerencia activity=\"1\" subactivity=\"2\"/>\n"
        "</Sugerencias>\n"));
    DataStore store;
    DataDocument doc;
    QCOMPARE(store.read(file, &doc), DataStore::Loaded);
    QCOMPARE(doc.entries.size(), 2);
    QCOMPARE(doc.entries.at(0).text, QStringLiteral("Repite & espera"));
    QCOMPARE(doc.entries.at(1).attribute(QStringLiteral("subactivity")), QStringLiteral("2"));
    QVERIFY(doc.entries.at(1).text.isEmpty());

    // Giving the second its text, as saving a suggestion does.
    QVERIFY(store.update(file, [](DataDocument &doc) {
        doc.entries[1] = DataDocument::entry(DataElement(QStringLiteral("sugerencia"),
            { { "activity", "1" }, { "subactivity", "2" } }, QStringLiteral("Otra vez")));
        return true;
    }));
    QCOMPARE(readAll(file.path),
        QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE Sugerencias>\n"
            "<Sugerencias>\n"
            " <sugerencia activity=\"0\" subactivity=\"1\">Repite &amp; espera</sugerencia>\n"
            " <sugerencia activity=\"1\" subactivity=\"2\">Otra vez</sugerencia>\n"
            "</Sugerencias>\n"));
}

void TestDataStore::damagedFileIsKeptAsideAndLogged()
{
    const DataStore::File scores { path(QStringLiteral("scores.xml")), QStringLiteral("Scores") };
    const QByteArray damaged = "<Scores>\n <Ana type=\"Braille\">\n</Scores>\n";
    QVERIFY(writeFile(scores.path, damaged));

    DataStore store;
    DataDocument doc;
    DataStore::Status status = DataStore::Loaded;
    const QByteArray log
        = TestSupport::standardOutputOf([&] { status = store.read(scores, &doc); });
    QCOMPARE(status, DataStore::Damaged);
    QCOMPARE(readAll(scores.path + QStringLiteral(".damaged")), damaged);
    QVERIFY(!QFile::exists(scores.path));
    // Work goes on with the empty document of the format.
    QCOMPARE(doc.serialise(), scores.emptyDocument().serialise());

    const QList<QByteArray> lines = log.split('\n');
    QCOMPARE(lines.first(), QByteArray("BEGIN DataStore::read"));
    QVERIFY(lines.contains("file = " + scores.path.toUtf8()));
    QVERIFY(lines.contains("kept as = " + scores.path.toUtf8() + ".damaged"));
    QCOMPARE(lines.at(lines.size() - 2), QByteArray("END DataStore::read"));

    // Older backups are never replaced, whether a change or a read meets the
    // damaged file; the change is made on the empty document.
    QVERIFY(writeFile(scores.path, "second"));
    TestSupport::standardOutputOf([&] {
        QVERIFY(store.update(scores, [](DataDocument &doc) { return doc.entries.isEmpty(); }));
    });
    QCOMPARE(readAll(scores.path), scores.emptyDocument().serialise());
    QVERIFY(writeFile(scores.path, "third"));
    TestSupport::standardOutputOf([&] { status = store.read(scores, &doc); });
    QCOMPARE(status, DataStore::Damaged);
    QCOMPARE(readAll(scores.path + QStringLiteral(".damaged")), damaged);
    QCOMPARE(readAll(scores.path + QStringLiteral(".damaged-2")), QByteArray("second"));
    QCOMPARE(readAll(scores.path + QStringLiteral(".damaged-3")), QByteArray("third"));

    // A change that leaves no root writes nothing nobody could read back.
    QVERIFY(!store.update(scores, [](DataDocument &doc) {
        doc = DataDocument();
        return true;
    }));
    QVERIFY(!QFile::exists(scores.path));
}

void TestDataStore::rereadingSeesChangesMadeByOthers()
{
    const DataStore::File users { path(QStringLiteral("users.xml")), QStringLiteral("userdb") };
    DataStore store;
    QVERIFY(writeFile(users.path, "<userdb><User Name=\"Ana\" LastAct=\"1\"/></userdb>"));
    DataDocument doc;
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.entries.first().attribute(QStringLiteral("LastAct")), QStringLiteral("1"));
    // Same size, same second: only the bytes tell.
    QVERIFY(writeFile(users.path, "<userdb><User Name=\"Ana\" LastAct=\"2\"/></userdb>"));
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.entries.first().attribute(QStringLiteral("LastAct")), QStringLiteral("2"));

    QVERIFY(store.update(users, [](DataDocument &doc) {
        doc.entries.first()
            = DataDocument::entry(DataElement(QStringLiteral("User"), { { "Name", "Bea" } }));
        return true;
    }));
    QVERIFY(writeFile(users.path, "<userdb><User Name=\"Cid\"/></userdb>"));
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.entries.first().attribute(QStringLiteral("Name")), QStringLiteral("Cid"));
}

void TestDataStore::rereadingABigFileSeesEveryChange_data()
{
    DataDocument doc(QStringLiteral("userdb"));
    for (int i = 0; i < 4000; ++i) {
        doc.entries.append(DataDocument::entry(DataElement(QStringLiteral("User"),
            { { QStringLiteral("Name"), QStringLiteral("U%1").arg(i) }, { "LastAct", "1" } })));
    }
    const QByteArray written = doc.serialise();
    QVERIFY(written.size() > 128 * 1024);
    const qsizetype last = written.lastIndexOf("LastAct=\"1\"") + 9;
    const qsizetype first = written.indexOf("LastAct=\"1\"") + 9;

    QTest::addColumn<QByteArray>("remembered");
    QTest::addColumn<QByteArray>("changed");
    QTest::addColumn<bool>("writtenByTheStore");
    // The store remembers a file it read by its bytes, one it wrote by the
    // document it wrote.
    for (const bool written_ : { false, true }) {
        const char *how = written_ ? "written" : "read";
        QTest::addRow("%s, last value, same size", how)
            << written << QByteArray(written).replace(last, 1, "2") << written_;
        QTest::addRow("%s, first value, same size", how)
            << written << QByteArray(written).replace(first, 1, "2") << written_;
        QTest::addRow("%s, grown at the end", how) << written << written + "<!-- x -->\n"
                                                   << written_;
        QTest::addRow("%s, last child gone", how)
            << written << written.left(written.lastIndexOf("\n <User")) + "\n</userdb>\n"
            << written_;
    }
}

void TestDataStore::rereadingABigFileSeesEveryChange()
{
    QFETCH(QByteArray, remembered);
    QFETCH(QByteArray, changed);
    QFETCH(bool, writtenByTheStore);
    const DataStore::File users { path(QStringLiteral("users.xml")), QStringLiteral("userdb") };
    DataStore store;
    DataDocument doc;
    if (writtenByTheStore) {
        QVERIFY(doc.parse(remembered));
        QVERIFY(store.update(users, [&doc](DataDocument &now) {
            now = doc;
            return true;
        }));
        QCOMPARE(readAll(users.path), remembered);
    } else {
        QVERIFY(writeFile(users.path, remembered));
    }
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.serialise(), remembered);

    QVERIFY(writeFile(users.path, changed));
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.serialise(), changed);
}

// Read ahead in the background, a file is still taken as it is when it is
// read, and a damaged one is still kept aside.
void TestDataStore::preloadedFileIsReadAsItIsWhenRead()
{
    const DataStore::File users { path(QStringLiteral("users.xml")), QStringLiteral("userdb") };
    const DataStore::File scores { path(QStringLiteral("scores.xml")), QStringLiteral("Scores") };
    QVERIFY(writeFile(users.path, "<userdb><User Name=\"Ana\"/></userdb>"));
    QVERIFY(writeFile(scores.path, "<Scores><Ana type=\"Braille\"></Scores>"));
    DataStore store;
    store.preload(users.path);
    store.preload(scores.path);
    QVERIFY(writeFile(users.path, "<userdb><User Name=\"Bea\"/></userdb>"));
    DataDocument doc;
    QCOMPARE(store.read(users, &doc), DataStore::Loaded);
    QCOMPARE(doc.entries.first().attribute(QStringLiteral("Name")), QStringLiteral("Bea"));
    QCOMPARE(store.read(scores, &doc), DataStore::Damaged);
    QVERIFY(QFile::exists(scores.path + QStringLiteral(".damaged")));

    store.preload(path(QStringLiteral("missing.xml")));
    const DataStore::File missing { path(QStringLiteral("missing.xml")), QStringLiteral("userdb") };
    QCOMPARE(store.read(missing, &doc), DataStore::Missing);
}

void TestDataStore::changesAreMadeOnTheFileAsItIsNow()
{
    // Two programs on one folder, each with its own store.
    const DataStore::File users { path(QStringLiteral("users.xml")), QStringLiteral("userdb") };
    DataStore here;
    DataStore there;
    const auto add = [&users](DataStore &store, const QString &name) {
        return store.update(users, [&name](DataDocument &doc) {
            doc.entries.append(
                DataDocument::entry(DataElement(QStringLiteral("User"), { { "Name", name } })));
            return true;
        });
    };
    QVERIFY(add(here, QStringLiteral("Ana")));
    DataDocument seen;
    QCOMPARE(here.read(users, &seen), DataStore::Loaded);
    QVERIFY(add(there, QStringLiteral("Bea")));
    QVERIFY(add(here, QStringLiteral("Cid")));

    QCOMPARE(there.read(users, &seen), DataStore::Loaded);
    QStringList names;
    for (const DataDocument::Entry &entry : std::as_const(seen.entries))
        names << entry.attribute(QStringLiteral("Name"));
    QCOMPARE(names, QStringList({ "Ana", "Bea", "Cid" }));
}

void TestDataStore::lockLeftByAMachineThatWentDownIsTakenOver()
{
    const DataStore::File users { path(QStringLiteral("users.xml")), QStringLiteral("userdb") };
    const QString lockPath = users.path + QStringLiteral(".lock");
    QVERIFY(writeFile(lockPath, "4242\npurimba\nanother-machine\n"));
    QFile lock(lockPath);
    QVERIFY(lock.open(QIODevice::ReadWrite));
    QVERIFY(lock.setFileTime(
        QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    lock.close();

    QVERIFY(DataStore().update(users, [](DataDocument &) { return true; }));
    QVERIFY(QFile::exists(users.path));
    QVERIFY(!QFile::exists(lockPath));
}

void TestDataStore::fullDiskLeavesThePreviousFile()
{
    const QString file = path(QStringLiteral("data/scores.xml"));
    QVERIFY(DataStore::writeAtomically(file, roundContent(1)));

    // The file-size limit stands for a full disk: writes past it fail.
    rlimit saved {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 64 * 1024;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool written = DataStore::writeAtomically(file, roundContent(2));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!written);
    QCOMPARE(readAll(file), roundContent(1));
    // Nothing half written is left beside it.
    QCOMPARE(QDir(path(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("scores.xml") });
}

void TestDataStore::crashInTheMiddleOfAWriteLeavesThePreviousFile()
{
    const QString file = path(QStringLiteral("scores.xml"));
    QVERIFY(DataStore::writeAtomically(file, roundContent(1)));
    QProcess writer;
    writer.start(QStringLiteral(DATAWRITER), { QStringLiteral("crash"), file });
    QVERIFY(writer.waitForFinished(20000));
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    QCOMPARE(readAll(file), roundContent(1));
}

void TestDataStore::killedWriterLeavesOneWholeRound()
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

// A change kept for a busy folder is in a rescue file until it is written,
// so neither a crash nor a file that stays unwritable loses it.
void TestDataStore::keptChangesOutliveTheProgram()
{
    const QString file = path(QStringLiteral("scores.xml"));
    const QByteArray before = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n</Scores>\n";
    QVERIFY(writeFile(file, before));
    const auto rescues = [this] {
        return QDir(m_dir->path()).entryList({ QStringLiteral("scores.xml.unsaved-*") });
    };
    {
        QLockFile other(file + QStringLiteral(".lock"));
        QVERIFY(other.tryLock(0));
        QProcess writer;
        writer.start(QStringLiteral(DATAWRITER), { QStringLiteral("keep"), file });
        QVERIFY(writer.waitForFinished(20000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    }
    QCOMPARE(readAll(file), before);
    QCOMPARE(rescues().size(), 1);
    const QByteArray rescued = readAll(path(rescues().constFirst()));
    QDomDocument dom;
    QVERIFY2(dom.setContent(rescued), rescued.constData());
    QCOMPARE(dom.documentElement().firstChildElement().attribute(QStringLiteral("Name")),
        QStringLiteral("Ana"));
    QVERIFY(QFile::remove(path(rescues().constFirst())));

    // A file in an encoding nobody can read is never written: at close the
    // change is left in its rescue file, which the log names.
    const QByteArray unreadable = "<?xml version=\"1.0\" encoding=\"X-NOBODY\"?>\n<Scores/>\n";
    QVERIFY(writeFile(file, unreadable));
    const QByteArray log = TestSupport::standardOutputOf([&] {
        DataStore store;
        QCOMPARE(store.submit({ file, QStringLiteral("Scores") },
                     [](DataDocument &doc) {
                         doc.entries.append(DataDocument::entry(
                             DataElement(QStringLiteral("Learner"), { { "Name", "Bea" } })));
                         return true;
                     }),
            DataStore::Kept);
        QVERIFY(!store.close(0));
    });
    QCOMPARE(readAll(file), unreadable);
    QCOMPARE(rescues().size(), 1);
    QVERIFY(readAll(path(rescues().constFirst())).contains("Name=\"Bea\""));
    QVERIFY2(log.contains("they are kept in = " + QFile::encodeName(path(rescues().constFirst()))),
        log.constData());

    // Written once the folder is free: no rescue file is left.
    QVERIFY(writeFile(file, before));
    QFile::remove(path(rescues().constFirst()));
    DataStore store;
    QLockFile other(file + QStringLiteral(".lock"));
    QVERIFY(other.tryLock(0));
    QCOMPARE(store.submit({ file, QStringLiteral("Scores") }, [](DataDocument &) { return true; }),
        DataStore::Kept);
    QCOMPARE(rescues().size(), 1);
    other.unlock();
    QVERIFY(store.close(1000));
    QCOMPARE(rescues(), QStringList());
}

QTEST_GUILESS_MAIN(TestDataStore)
#include "tst_datastore.moc"
