#include "ScoreFixtures.h"
#include "content/DataStore.h"
#include "support/TestSupport.h"
#include "users/Score.h"
#include "users/ScoreFile.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

const QString letrasType = QStringLiteral("Letters and Numbers");
const QString brailleType = QStringLiteral("Braille");
const QString scoresPath = QStringLiteral("data/scores.xml");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The root's children as "tag/type" strings, in file order.
QStringList learnerElements(const QByteArray &bytes)
{
    QDomDocument doc;
    if (!doc.setContent(bytes))
        return { QStringLiteral("not well-formed") };
    QStringList out;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        out << e.tagName() + QLatin1Char('/') + e.attribute(QStringLiteral("type"));
    return out;
}

QByteArray scoreLines(const ScoreManager &manager)
{
    QByteArray out = "  <Activity name=\"" + manager.name().toUtf8() + "\">\n";
    for (const Score *score : manager.scores()) {
        out += "   <Score Object=\"" + score->object().toUtf8() + "\" Corrects=\""
            + QByteArray::number(score->corrects()) + "\" Total=\""
            + QByteArray::number(score->total()) + "\" Consecutive=\""
            + QByteArray::number(score->consecutive()) + "\"/>\n";
    }
    return out + "  </Activity>\n";
}

int sumOfTotals(const QList<ScoreManager *> &managers)
{
    int sum = 0;
    for (const ScoreManager *manager : managers) {
        for (const QString &label : ScoreManager::allLabels())
            sum += manager->score(label)->total();
    }
    return sum;
}

} // namespace

class TestScoreFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstWriteHasTheExactShape();
    void readingAMissingFileCreatesNothing();
    void twoElementsPerLearnerOneForEachType();
    void writingMovesTheLearnerToTheEnd();
    void readsAFileWrittenByHand();
    void namesAreCaseSensitive();
    void readingAnotherLearnerGivesZeros();
    void theStoreSeesOtherProgramsLearners();
    void oddNamesRoundTrip_data();
    void oddNamesRoundTrip();
    void handWrittenTagsAreTakenAsTheyAre();
    void emptyNameWritesNothing();
    void unknownObjectsNeverReachTheFile();
    void damagedFileIsKeptAside();
    void killedWriteLeavesAWholeFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestScoreFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestScoreFile::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestScoreFile::firstWriteHasTheExactShape()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.at(0)->recordCorrect(QStringLiteral("\u00f1"));
    letters->managers.at(4)->recordWrong(QStringLiteral("9"));
    QVERIFY(ScoreFile(letrasType).write(QStringLiteral("Ana"), letters->managers));

    QByteArray expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
                          " <Ana type=\"Letters and Numbers\">\n";
    for (const ScoreManager *manager : std::as_const(letters->managers))
        expected += scoreLines(*manager);
    expected += " </Ana>\n</Scores>\n";
    const QByteArray written = readAll(scoresPath);
    QCOMPARE(written, expected);
    // Four letters activities of 27 and the numbers one of 10, Ñ after N.
    QCOMPARE(written.count("<Score "), 4 * 27 + 10);
    QVERIFY(written.contains("Object=\"N\" Corrects=\"0\" Total=\"0\" Consecutive=\"0\"/>\n"
                             "   <Score Object=\"\xc3\x91\" Corrects=\"1\" Total=\"1\" "
                             "Consecutive=\"1\"/>\n"
                             "   <Score Object=\"O\""));
}

void TestScoreFile::readingAMissingFileCreatesNothing()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.at(1)->recordCorrect(QStringLiteral("A"));
    ScoreFile(letrasType).read(QStringLiteral("Ana"), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 0);
    QVERIFY(!QFile::exists(scoresPath));
}

void TestScoreFile::twoElementsPerLearnerOneForEachType()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    std::unique_ptr<WidgetManagers> braille(WidgetManagers::braille());
    letters->managers.at(2)->recordCorrect(QStringLiteral("B"));
    braille->managers.at(0)->recordWrong(QStringLiteral("P4"));
    braille->managers.at(0)->recordWrong(QStringLiteral("P4"));
    QVERIFY(ScoreFile(letrasType).write(QStringLiteral("Ana"), letters->managers));
    QVERIFY(ScoreFile(brailleType).write(QStringLiteral("Ana"), braille->managers));
    QCOMPARE(learnerElements(readAll(scoresPath)),
        QStringList({ "Ana/Letters and Numbers", "Ana/Braille" }));

    // Each widget reads back only its own element.
    std::unique_ptr<WidgetManagers> lettersAgain(WidgetManagers::letters());
    std::unique_ptr<WidgetManagers> brailleAgain(WidgetManagers::braille());
    ScoreFile(letrasType).read(QStringLiteral("Ana"), lettersAgain->managers);
    ScoreFile(brailleType).read(QStringLiteral("Ana"), brailleAgain->managers);
    QCOMPARE(sumOfTotals(lettersAgain->managers), 1);
    QCOMPARE(lettersAgain->managers.at(2)->score(QStringLiteral("B"))->corrects(), 1);
    QCOMPARE(sumOfTotals(brailleAgain->managers), 2);
    QCOMPARE(brailleAgain->managers.at(0)->score(QStringLiteral("P4"))->total(), 2);
}

void TestScoreFile::writingMovesTheLearnerToTheEnd()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    std::unique_ptr<WidgetManagers> braille(WidgetManagers::braille());
    const ScoreFile letrasFile(letrasType);
    QVERIFY(letrasFile.write(QStringLiteral("Ana"), letters->managers));
    QVERIFY(ScoreFile(brailleType).write(QStringLiteral("Ana"), braille->managers));
    QVERIFY(letrasFile.write(QStringLiteral("Bea"), letters->managers));

    letters->managers.at(0)->recordCorrect(QStringLiteral("C"));
    QVERIFY(letrasFile.write(QStringLiteral("Ana"), letters->managers));
    QCOMPARE(learnerElements(readAll(scoresPath)),
        QStringList({ "Ana/Braille", "Bea/Letters and Numbers", "Ana/Letters and Numbers" }));
    std::unique_ptr<WidgetManagers> read(WidgetManagers::letters());
    letrasFile.read(QStringLiteral("Ana"), read->managers);
    QCOMPARE(read->managers.at(0)->score(QStringLiteral("C"))->corrects(), 1);
}

void TestScoreFile::readsAFileWrittenByHand()
{
    // Other quotes, other indentation, attributes in another order, an
    // unknown activity, an unknown object and a second matching element.
    writeFile(scoresPath,
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<Scores>\n"
        "    <Ana type='Letters and Numbers'>\n"
        "        <Activity name='Como Suena'>\n"
        "            <Score Total='4' Consecutive='3' Object='b' Corrects='3'/>\n"
        "            <Score Object='Ntilde' Corrects='9' Total='9' Consecutive='9'/>\n"
        "        </Activity>\n"
        "        <Activity name='Juego nuevo'>\n"
        "            <Score Object='A' Corrects='5' Total='5' Consecutive='5'/>\n"
        "        </Activity>\n"
        "        <Activity name='numeros escondidos'>\n"
        "            <Score Object='1' Corrects='5' Total='5' Consecutive='5'/>\n"
        "        </Activity>\n"
        "    </Ana>\n"
        "    <!-- a note left by the teacher -->\n"
        "    <Ana type='Braille'>\n"
        "        <Activity name='Como Suena'><Score Object='Z' Corrects='1' Total='1' "
        "Consecutive='1'/></Activity>\n"
        "    </Ana>\n"
        "    <Ana type='Letters and Numbers'>\n"
        "        <Activity name='Numeros Escondidos'>\n"
        "            <Score Object='7' Corrects='1' Total='2' Consecutive='0'/>\n"
        "        </Activity>\n"
        "    </Ana>\n"
        "</Scores>\n");
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    ScoreFile(letrasType).read(QStringLiteral("Ana"), letters->managers);

    const Score *b = letters->managers.at(0)->score(QStringLiteral("B"));
    QCOMPARE(b->corrects(), 3);
    QCOMPARE(b->total(), 4);
    QCOMPARE(b->consecutive(), 3);
    const Score *seven = letters->managers.at(4)->score(QStringLiteral("7"));
    QCOMPARE(seven->corrects(), 1);
    QCOMPARE(seven->total(), 2);
    // Nothing else: not the unknown activity, not the lower-case name, not
    // the braille element, not the object that is no object.
    QCOMPARE(sumOfTotals(letters->managers), 4 + 2);
}

void TestScoreFile::namesAreCaseSensitive()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    const ScoreFile file(letrasType);
    letters->managers.at(0)->recordCorrect(QStringLiteral("A"));
    QVERIFY(file.write(QStringLiteral("Ana"), letters->managers));
    letters->managers.at(0)->reset();
    letters->managers.at(0)->recordWrong(QStringLiteral("E"));
    QVERIFY(file.write(QStringLiteral("ana"), letters->managers));
    QCOMPARE(learnerElements(readAll(scoresPath)),
        QStringList({ "Ana/Letters and Numbers", "ana/Letters and Numbers" }));

    file.read(QStringLiteral("Ana"), letters->managers);
    QCOMPARE(letters->managers.at(0)->score(QStringLiteral("A"))->corrects(), 1);
    QCOMPARE(sumOfTotals(letters->managers), 1);
    file.read(QStringLiteral("ANA"), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 0);
}

void TestScoreFile::readingAnotherLearnerGivesZeros()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    const ScoreFile file(letrasType);
    letters->managers.at(3)->recordCorrect(QStringLiteral("M"));
    QVERIFY(file.write(QStringLiteral("Ana"), letters->managers));
    file.read(QStringLiteral("Ana"), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 1);
    file.read(QStringLiteral("Bea"), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 0);
}

void TestScoreFile::theStoreSeesOtherProgramsLearners()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    DataStore store;
    const ScoreFile file(letrasType, &store);
    letters->managers.at(0)->recordCorrect(QStringLiteral("A"));
    QVERIFY(file.write(QStringLiteral("Ana"), letters->managers));
    file.read(QStringLiteral("Ana"), letters->managers);

    // Another machine of the school writes Bea meanwhile.
    std::unique_ptr<WidgetManagers> other(WidgetManagers::letters());
    other->managers.at(1)->recordWrong(QStringLiteral("B"));
    QVERIFY(ScoreFile(letrasType).write(QStringLiteral("Bea"), other->managers));

    letters->managers.at(0)->recordCorrect(QStringLiteral("A"));
    QVERIFY(file.write(QStringLiteral("Ana"), letters->managers));
    QCOMPARE(learnerElements(readAll(scoresPath)),
        QStringList({ "Bea/" + letrasType, "Ana/" + letrasType }));
    file.read(QStringLiteral("Bea"), letters->managers);
    QCOMPARE(letters->managers.at(1)->score(QStringLiteral("B"))->total(), 1);
    QCOMPARE(sumOfTotals(letters->managers), 1);
}

void TestScoreFile::oddNamesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("storedAsItIs");

    QTest::newRow("plain") << "Ana" << true;
    QTest::newRow("accents") << "Jos\u00e9Mar\u00eda" << true;
    QTest::newRow("enye") << "\u00d1and\u00fa" << true;
    QTest::newRow("dash and dot") << "ana-maria.2" << true;
    QTest::newRow("underscore first") << "_ana" << true;
    QTest::newRow("CJK") << "\u674e\u660e" << true;
    QTest::newRow("blank") << "Ana Mar\u00eda" << false;
    QTest::newRow("two blanks") << "ana  maria" << false;
    QTest::newRow("starts with a digit") << "2pac" << false;
    QTest::newRow("digits only") << "007" << false;
    QTest::newRow("starts with a dash") << "-ana" << false;
    QTest::newRow("underscore and blank") << "a_b c" << false;
    QTest::newRow("looks encoded") << "_-41_" << false;
    QTest::newRow("colon") << "ana:bea" << false;
    QTest::newRow("markup") << "<b>&\"'" << false;
    QTest::newRow("tab") << "ana\tbea" << false;
    QTest::newRow("emoji") << "Ana \U0001F600" << false;
    // XML allows them; the toolkit's parser does not.
    QTest::newRow("emoji in a name") << "Ana\U0001F600" << false;
    QTest::newRow("emoji first") << "\U0001F600" << false;
    QTest::newRow("blank at the end") << "Ana " << false;
    // A code point the toolkit's UCS-4 conversion takes for a byte order mark.
    QTest::newRow("blank and U+FEFF") << "Ana \uFEFF" << false;
    QTest::newRow("U+FEFF escaped") << "2\uFEFF" << false;
}

void TestScoreFile::oddNamesRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(bool, storedAsItIs);

    const QString tag = ScoreFile::tagName(name);
    QCOMPARE(tag == name, storedAsItIs);
    QCOMPARE(ScoreFile::learnerName(tag), name);

    // Next to a learner whose valid name is the encoding's look-alike.
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    const ScoreFile file(letrasType);
    letters->managers.at(0)->recordCorrect(QStringLiteral("R"));
    QVERIFY(file.write(QStringLiteral("Bea"), letters->managers));
    letters->managers.at(1)->recordCorrect(QStringLiteral("S"));
    QVERIFY(file.write(name, letters->managers));
    QVERIFY(file.write(name, letters->managers));

    const QByteArray bytes = readAll(scoresPath);
    QDomDocument doc;
    QVERIFY2(doc.setContent(bytes), bytes.left(300).constData());
    QCOMPARE(learnerElements(bytes),
        QStringList({ "Bea/" + letrasType, tag + QLatin1Char('/') + letrasType }));

    std::unique_ptr<WidgetManagers> read(WidgetManagers::letters());
    file.read(name, read->managers);
    QCOMPARE(read->managers.at(1)->score(QStringLiteral("S"))->corrects(), 1);
    QCOMPARE(sumOfTotals(read->managers), 2);
    file.read(QStringLiteral("Bea"), read->managers);
    QCOMPARE(sumOfTotals(read->managers), 1);
}

void TestScoreFile::handWrittenTagsAreTakenAsTheyAre()
{
    // A tag that starts like an encoding but is none is a name of its own.
    QCOMPARE(ScoreFile::learnerName(QStringLiteral("_-ab_zz_")), QStringLiteral("_-ab_zz_"));
    QCOMPARE(ScoreFile::learnerName(QStringLiteral("_-ab_")), QStringLiteral("_-ab_"));
    QCOMPARE(ScoreFile::learnerName(QStringLiteral("_-Ana_20_Mar\u00eda")),
        QStringLiteral("Ana Mar\u00eda"));
    QCOMPARE(ScoreFile::learnerName(QStringLiteral("Ana_20_")), QStringLiteral("Ana_20_"));
}

void TestScoreFile::emptyNameWritesNothing()
{
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.at(0)->recordCorrect(QStringLiteral("A"));
    QVERIFY(!ScoreFile(letrasType).write(QString(), letters->managers));
    QVERIFY(!QFile::exists(scoresPath));

    QVERIFY(ScoreFile(letrasType).write(QStringLiteral("Ana"), letters->managers));
    const QByteArray before = readAll(scoresPath);
    QVERIFY(!ScoreFile(brailleType).write(QString(), letters->managers));
    QCOMPARE(readAll(scoresPath), before);

    ScoreFile(letrasType).read(QString(), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 0);
}

void TestScoreFile::unknownObjectsNeverReachTheFile()
{
    writeFile(scoresPath,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
        " <Ana type=\"Letters and Numbers\">\n"
        "  <Activity name=\"Como Suena\">\n"
        "   <Score Object=\"Ntilde\" Corrects=\"4\" Total=\"4\" Consecutive=\"4\"/>\n"
        "   <Score Object=\"P9\" Corrects=\"4\" Total=\"4\" Consecutive=\"4\"/>\n"
        "   <Score Object=\"A\" Corrects=\"1\" Total=\"1\" Consecutive=\"1\"/>\n"
        "  </Activity>\n"
        " </Ana>\n</Scores>\n");
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    const ScoreFile file(letrasType);
    file.read(QStringLiteral("Ana"), letters->managers);
    letters->managers.at(0)->recordCorrect(QStringLiteral("Ntilde"));
    letters->managers.at(0)->recordWrong(QStringLiteral("?"));
    QVERIFY(file.write(QStringLiteral("Ana"), letters->managers));

    const QByteArray bytes = readAll(scoresPath);
    QVERIFY(!bytes.contains("Ntilde"));
    QVERIFY(!bytes.contains("P9"));
    QVERIFY(!bytes.contains("Object=\"?\""));
    QVERIFY(bytes.contains("<Score Object=\"A\" Corrects=\"1\" Total=\"1\" Consecutive=\"1\"/>"));
    QCOMPARE(bytes.count("<Score "), 4 * 27 + 10);
}

void TestScoreFile::damagedFileIsKeptAside()
{
    const QByteArray damaged = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
                               " <Bea type=\"Braille\">\n  <Activity name=\"x\">\n</Scores>\n";
    writeFile(scoresPath, damaged);
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.at(0)->recordCorrect(QStringLiteral("A"));
    QVERIFY(ScoreFile(letrasType).write(QStringLiteral("Ana"), letters->managers));

    QCOMPARE(readAll(scoresPath + QStringLiteral(".damaged")), damaged);
    QCOMPARE(learnerElements(readAll(scoresPath)), QStringList({ "Ana/" + letrasType }));

    // A second damaged file does not replace the first backup.
    const QByteArray damagedAgain = "not xml at all";
    writeFile(scoresPath, damagedAgain);
    ScoreFile(letrasType).read(QStringLiteral("Ana"), letters->managers);
    QCOMPARE(sumOfTotals(letters->managers), 0);
    QCOMPARE(readAll(scoresPath + QStringLiteral(".damaged")), damaged);
    QCOMPARE(readAll(scoresPath + QStringLiteral(".damaged-2")), damagedAgain);
    QVERIFY(!QFile::exists(scoresPath));
}

void TestScoreFile::killedWriteLeavesAWholeFile()
{
    // Enough other learners that one write takes a while.
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    std::unique_ptr<WidgetManagers> braille(WidgetManagers::braille());
    const int others = 150;
    {
        QDomDocument doc;
        doc.setContent(QByteArray("<Scores/>"));
        for (int i = 0; i < others; ++i) {
            QDomElement learner = doc.createElement(QStringLiteral("L%1").arg(i));
            learner.setAttribute(QStringLiteral("type"), brailleType);
            for (const ScoreManager *manager : std::as_const(braille->managers))
                learner.appendChild(manager->toElement(doc));
            doc.documentElement().appendChild(learner);
        }
        writeFile(scoresPath, doc.toByteArray(1));
    }

    for (int wanted : { 1, 2, 3, 5, 8 }) {
        const int finished = TestSupport::killAfterRounds(
            QStringLiteral(SCOREWRITER), { QDir::currentPath(), QStringLiteral("Ana") }, wanted);
        QVERIFY(finished >= wanted);

        const QByteArray bytes = readAll(scoresPath);
        QDomDocument doc;
        QVERIFY2(doc.setContent(bytes), "the file was left half written");
        const QStringList elements = learnerElements(bytes);
        QCOMPARE(elements.size(), others + 1);
        QCOMPARE(elements.last(), QStringLiteral("Ana/") + letrasType);

        // Every counter comes from the same round: the last finished one or
        // the one that was being written when the kill came.
        std::unique_ptr<WidgetManagers> read(WidgetManagers::letters());
        ScoreFile(letrasType).read(QStringLiteral("Ana"), read->managers);
        const int round = read->managers.first()->score(QStringLiteral("A"))->total();
        QVERIFY2(round == finished || round == finished + 1,
            qPrintable(QStringLiteral("round %1 after %2").arg(round).arg(finished)));
        QCOMPARE(sumOfTotals(read->managers), round * (4 * 27 + 10));
    }
}

QTEST_GUILESS_MAIN(TestScoreFile)
#include "tst_scorefile.moc"
