#include "ScoreFixtures.h"
#include "content/DataStore.h"
#include "support/TestSupport.h"
#include "users/Score.h"
#include "users/ScoreFile.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QDate>
#include <QDir>
#include <QDomDocument>
#include <QDomElement>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>
#include <thread>

namespace {

const QString usersPath = QStringLiteral("data/users.xml");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray today()
{
    return QDate::currentDate().toString(Qt::TextDate).toUtf8();
}

// The "User" elements of the file as the toolkit reads them.
QList<QDomElement> storedUsers()
{
    static QDomDocument doc;
    doc.setContent(readAll(usersPath));
    QList<QDomElement> users;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        users << e;
    return users;
}

User withActivity(const QString &name, int act, int sub)
{
    User user(name);
    user.lastAct = QString::number(act);
    user.lastSubAct = QString::number(sub);
    return user;
}

} // namespace

class TestUserDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstUserMakesTheFile();
    void missingFileMeansNoUsers();
    void sameNameTwice();
    void updateMovesTheUserToTheEnd();
    void removingAnAbsentNameChangesNothing();
    void namesAreCaseSensitive();
    void readsAFileWrittenByHand();
    void namesWithMarkupRoundTrip();
    void longLivedInstanceKeepsOthersProgress_data();
    void longLivedInstanceKeepsOthersProgress();
    void updateKeepsTheCreationDate();
    void damagedFileIsKeptAside();
    void deletedLearnerStaysDeleted();
    void busyFolderLosesNothing();
    void everyEncodingIsReadAndWrittenAsUtf8_data();
    void everyEncodingIsReadAndWrittenAsUtf8();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestUserDatabase::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
}

void TestUserDatabase::cleanup()
{
    QDir::setCurrent(m_previousDir);
    m_dir.reset();
}

void TestUserDatabase::firstUserMakesTheFile()
{
    UserDatabase db;
    db.addUser(QStringLiteral("Ana"));
    QCOMPARE(readAll(usersPath),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n"
        " <User Name=\"Ana\" LastAct=\"\" LastSubAct=\"\" CreateDate=\""
            + today() + "\" LastDate=\"" + today() + "\"/>\n</userdb>\n");
    QCOMPARE(db.userNames(), QStringList { QStringLiteral("Ana") });
    QCOMPARE(db.load(), 1);

    db.createFile();
    QCOMPARE(readAll(usersPath),
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n</userdb>\n"));
}

void TestUserDatabase::missingFileMeansNoUsers()
{
    UserDatabase db;
    QCOMPARE(db.load(), -1);
    QVERIFY(db.userNames().isEmpty());
    const User nobody = db.findUser(QStringLiteral("Ana"));
    QVERIFY(nobody.name.isEmpty());
    QVERIFY(nobody.lastAct.isEmpty());
    QCOMPARE(nobody.createDate, QDate::currentDate());
    QVERIFY(!QFile::exists(usersPath));
}

void TestUserDatabase::sameNameTwice()
{
    UserDatabase db;
    db.addUser(withActivity(QStringLiteral("Ana"), 0, 1));
    db.addUser(withActivity(QStringLiteral("Ana"), 1, 7));
    QCOMPARE(db.userNames(), QStringList({ "Ana", "Ana" }));
    QCOMPARE(db.findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("1"));
    QVERIFY(db.removeUser(QStringLiteral("Ana")));
    QCOMPARE(db.userNames(), QStringList({ "Ana" }));
    QCOMPARE(db.findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("7"));

    // Progress on one of two records of a name is what the next login finds.
    db.addUser(withActivity(QStringLiteral("Bea"), 0, 1));
    db.addUser(withActivity(QStringLiteral("Ana"), 0, 2));
    UserDatabase().updateUser(withActivity(QStringLiteral("Ana"), 2, 5));
    UserDatabase fresh;
    QCOMPARE(fresh.userNames(), QStringList({ "Bea", "Ana" }));
    QCOMPARE(fresh.findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("5"));
}

void TestUserDatabase::updateMovesTheUserToTheEnd()
{
    UserDatabase db;
    for (const char *name : { "Ana", "Bea", "Cid" })
        db.addUser(QString::fromLatin1(name));
    UserDatabase().updateUser(withActivity(QStringLiteral("Ana"), 1, 9));

    const QList<QDomElement> users = storedUsers();
    QCOMPARE(users.size(), 3);
    QCOMPARE(users.last().attribute(QStringLiteral("Name")), QStringLiteral("Ana"));
    QCOMPARE(users.last().attribute(QStringLiteral("LastAct")), QStringLiteral("1"));
    QCOMPARE(users.last().attribute(QStringLiteral("LastSubAct")), QStringLiteral("9"));

    UserDatabase fresh;
    QCOMPARE(fresh.userNames(), QStringList({ "Bea", "Cid", "Ana" }));
    const User ana = fresh.findUser(QStringLiteral("Ana"));
    QCOMPARE(ana.name, QStringLiteral("Ana"));
    QCOMPARE(ana.lastAct, QStringLiteral("1"));
    QCOMPARE(ana.lastSubAct, QStringLiteral("9"));
}

void TestUserDatabase::removingAnAbsentNameChangesNothing()
{
    UserDatabase db;
    db.addUser(QStringLiteral("Ana"));
    db.addUser(QStringLiteral("Bea"));
    const QByteArray before = readAll(usersPath);
    QVERIFY(db.removeUser(QStringLiteral("Zoe")));
    QCOMPARE(readAll(usersPath), before);
    QVERIFY(db.removeUser(QStringLiteral("Ana")));
    QCOMPARE(db.userNames(), QStringList { QStringLiteral("Bea") });
}

void TestUserDatabase::namesAreCaseSensitive()
{
    UserDatabase db;
    db.addUser(withActivity(QStringLiteral("Ana"), 1, 2));
    QVERIFY(db.findUser(QStringLiteral("ana")).name.isEmpty());
    QVERIFY(db.removeUser(QStringLiteral("ANA")));
    QCOMPARE(db.userNames(), QStringList { QStringLiteral("Ana") });
    UserDatabase().updateUser(withActivity(QStringLiteral("ana"), 3, 0));
    QCOMPARE(UserDatabase().userNames(), QStringList { QStringLiteral("Ana") });
}

void TestUserDatabase::readsAFileWrittenByHand()
{
    writeFile(usersPath,
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<!DOCTYPE Users>\n"
        "<userdb>\n"
        "    <!-- the class of 2026 -->\n"
        "    <User LastDate='Mon Mar 2 2026' LastSubAct='4' Name='Mar\xc3\xad"
        "a' LastAct='0'/>\n"
        "    <Learner Name='Bea'/>\n"
        "    <User Name='Cid' LastAct='3'></User>\n"
        "</userdb>\n");
    UserDatabase db;
    QCOMPARE(db.load(), 1);
    QCOMPARE(db.userNames(), QStringList({ "Mar\u00eda", "Bea", "Cid" }));
    const User maria = db.findUser(QStringLiteral("Mar\u00eda"));
    QCOMPARE(maria.lastAct, QStringLiteral("0"));
    QCOMPARE(maria.lastSubAct, QStringLiteral("4"));
    const User bea = db.findUser(QStringLiteral("Bea"));
    QCOMPARE(bea.name, QStringLiteral("Bea"));
    QVERIFY(bea.lastAct.isEmpty());
    QCOMPARE(db.findUser(QStringLiteral("Cid")).lastAct, QStringLiteral("3"));

    // A change keeps the other learners.
    db.addUser(QStringLiteral("Dan"));
    QCOMPARE(UserDatabase().userNames(), QStringList({ "Mar\u00eda", "Bea", "Cid", "Dan" }));
    QCOMPARE(UserDatabase().findUser(QStringLiteral("Mar\u00eda")).lastSubAct, QStringLiteral("4"));
}

void TestUserDatabase::namesWithMarkupRoundTrip()
{
    const QString name = QStringLiteral("Ana & <Bea> \"la 'peque'\"\tJos\u00e9");
    UserDatabase db;
    db.addUser(withActivity(name, 1, 3));
    QDomDocument doc;
    QVERIFY(doc.setContent(readAll(usersPath)));
    UserDatabase fresh;
    QCOMPARE(fresh.userNames(), QStringList { name });
    QCOMPARE(fresh.findUser(name).lastSubAct, QStringLiteral("3"));
}

void TestUserDatabase::longLivedInstanceKeepsOthersProgress_data()
{
    QTest::addColumn<bool>("sharedStore");
    // The main window's store, or a store of each instance's own, as
    // another program on the same folder has.
    QTest::newRow("one store") << true;
    QTest::newRow("a store each") << false;
}

void TestUserDatabase::longLivedInstanceKeepsOthersProgress()
{
    QFETCH(bool, sharedStore);
    DataStore store;
    DataStore *given = sharedStore ? &store : nullptr;
    const auto progress = [given](const char *name, int act, int sub) {
        UserDatabase(given).updateUser(withActivity(QString::fromLatin1(name), act, sub));
    };
    UserDatabase longLived(given);
    longLived.addUser(QStringLiteral("Ana"));
    longLived.addUser(QStringLiteral("Bea"));

    // Progress written by the fresh instances of the main window meanwhile.
    progress("Ana", 1, 5);
    longLived.addUser(QStringLiteral("Cid"));
    QCOMPARE(UserDatabase(given).findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("5"));

    progress("Bea", 1, 8);
    longLived.removeUser(QStringLiteral("Cid"));
    UserDatabase fresh;
    QCOMPARE(fresh.userNames(), QStringList({ "Ana", "Bea" }));
    QCOMPARE(fresh.findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("5"));
    QCOMPARE(fresh.findUser(QStringLiteral("Bea")).lastSubAct, QStringLiteral("8"));
}

void TestUserDatabase::updateKeepsTheCreationDate()
{
    writeFile(usersPath,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n"
        " <User Name=\"Ana\" LastAct=\"0\" LastSubAct=\"0\" CreateDate=\"Mon Mar 2 2026\" "
        "LastDate=\"Tue Mar 3 2026\"/>\n</userdb>\n");
    UserDatabase().updateUser(withActivity(QStringLiteral("Ana"), 1, 2));
    QCOMPARE(readAll(usersPath),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n"
        " <User Name=\"Ana\" LastAct=\"1\" LastSubAct=\"2\" CreateDate=\"Mon Mar 2 2026\" "
        "LastDate=\""
            + today() + "\"/>\n</userdb>\n");

    // A new learner is created today.
    UserDatabase().addUser(withActivity(QStringLiteral("Bea"), 0, 0));
    QCOMPARE(storedUsers().last().attribute(QStringLiteral("CreateDate")).toUtf8(), today());
}

void TestUserDatabase::damagedFileIsKeptAside()
{
    const QByteArray damaged = "<userdb>\n <User Name=\"Ana\" LastAct=\"1\">\n</userdb>\n";
    writeFile(usersPath, damaged);
    UserDatabase db;
    QVERIFY(db.userNames().isEmpty());
    QCOMPARE(readAll(usersPath + QStringLiteral(".damaged")), damaged);

    db.addUser(QStringLiteral("Bea"));
    QCOMPARE(UserDatabase().userNames(), QStringList { QStringLiteral("Bea") });
    QCOMPARE(readAll(usersPath + QStringLiteral(".damaged")), damaged);
    QCOMPARE(db.load(), 1);
}

void TestUserDatabase::deletedLearnerStaysDeleted()
{
    // The main window's store and the login's long-lived database; the
    // tutor deletes Ana on another machine while she is logged in here.
    DataStore store;
    UserDatabase login(&store);
    login.addUser(QStringLiteral("Ana"));
    login.addUser(QStringLiteral("Bea"));
    const ScoreFile scores(QStringLiteral("Letters and Numbers"), &store);
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.first()->recordCorrect(QStringLiteral("A"));
    UserDatabase(&store).updateUser(withActivity(QStringLiteral("Ana"), 0, 3));
    QVERIFY(scores.write(QStringLiteral("Ana"), letters->managers));
    QVERIFY(UserDatabase().removeUser(QStringLiteral("Ana")));
    const QByteArray scoresBefore = readAll(QStringLiteral("data/scores.xml"));

    // Her next activity change, then the close.
    letters->managers.first()->recordCorrect(QStringLiteral("B"));
    UserDatabase(&store).updateUser(withActivity(QStringLiteral("Ana"), 0, 4));
    QVERIFY(!scores.write(QStringLiteral("Ana"), letters->managers));
    QCOMPARE(UserDatabase().userNames(), QStringList { QStringLiteral("Bea") });
    QCOMPARE(readAll(QStringLiteral("data/scores.xml")), scoresBefore);
    // A learner still registered keeps being written.
    QVERIFY(scores.write(QStringLiteral("Bea"), letters->managers));
}

void TestUserDatabase::busyFolderLosesNothing()
{
    auto store = std::make_unique<DataStore>();
    UserDatabase(store.get()).addUser(QStringLiteral("Ana"));
    // Another program of the class holds both locks, fresh.
    QLockFile usersLock(usersPath + QStringLiteral(".lock"));
    QLockFile scoresLock(QStringLiteral("data/scores.xml.lock"));
    QVERIFY(usersLock.tryLock(0));
    QVERIFY(scoresLock.tryLock(0));

    // Two activity changes: the window goes on at once, and sees them.
    QElapsedTimer waited;
    waited.start();
    const QByteArray log = TestSupport::standardOutputOf([&] {
        UserDatabase(store.get()).updateUser(withActivity(QStringLiteral("Ana"), 0, 3));
        UserDatabase(store.get()).updateUser(withActivity(QStringLiteral("Ana"), 0, 4));
    });
    QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
    QVERIFY(log.contains("BEGIN DataStore::submit\nfile = "));
    QCOMPARE(
        UserDatabase(store.get()).findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("4"));
    QCOMPARE(UserDatabase().findUser(QStringLiteral("Ana")).lastSubAct, QString());

    // Written once the lock is free, in the order they came.
    usersLock.unlock();
    QTRY_COMPARE(UserDatabase().findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("4"));

    // Her answers at close, while the other program still writes: the close
    // waits for it, a bounded time.
    std::unique_ptr<WidgetManagers> letters(WidgetManagers::letters());
    letters->managers.first()->recordCorrect(QStringLiteral("A"));
    waited.restart();
    QVERIFY(ScoreFile(QStringLiteral("Letters and Numbers"), store.get())
                .write(QStringLiteral("Ana"), letters->managers));
    QVERIFY(waited.elapsed() < 1000);
    std::thread other([&scoresLock] {
        QThread::msleep(300);
        scoresLock.unlock();
    });
    TestSupport::standardOutputOf([&store] { store.reset(); });
    other.join();
    std::unique_ptr<WidgetManagers> read(WidgetManagers::letters());
    ScoreFile(QStringLiteral("Letters and Numbers")).read(QStringLiteral("Ana"), read->managers);
    QCOMPARE(read->managers.first()->score(QStringLiteral("A"))->corrects(), 1);
}

void TestUserDatabase::everyEncodingIsReadAndWrittenAsUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name"); // null: the file cannot be read

    const auto utf16 = [](const QString &text) {
        return QByteArray("\xFF\xFE")
            + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    };
    QTest::newRow("Latin-1") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                           "<userdb>\n <User Name=\"Mar\xED"
                                           "a\"/>\n</userdb>\n")
                             << QStringLiteral("Mar\u00eda");
    QTest::newRow("Windows-1252") << QByteArray("<?xml version='1.0' encoding='windows-1252'?>\n"
                                                "<userdb><User Name=\"\x93Mar\xED"
                                                "a\x94 \x80\"/></userdb>")
                                  << QStringLiteral("\u201cMar\u00eda\u201d \u20ac");
    QTest::newRow("UTF-16 with BOM") << utf16(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
                       "<userdb>\n <User Name=\"Mar\u00eda \u00d1and\u00fa\"/>\n</userdb>\n"))
                                     << QStringLiteral("Mar\u00eda \u00d1and\u00fa");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" "
                                                  "encoding=\"UTF-8\"?>\n<userdb>\n <User "
                                                  "Name=\"Mar\xC3\xAD"
                                                  "a\"/>\n</userdb>\n")
                                    << QStringLiteral("Mar\u00eda");
    QTest::newRow("no declaration") << QByteArray("<userdb><User Name=\"Mar\xC3\xAD"
                                                  "a\"/></userdb>")
                                    << QStringLiteral("Mar\u00eda");
    QTest::newRow("unknown encoding") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"x-klingon-8\"?>\n"
        "<userdb>\n <User Name=\"Mar\xED"
        "a\"/>\n</userdb>\n") << QString();
}

void TestUserDatabase::everyEncodingIsReadAndWrittenAsUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);

    writeFile(usersPath, bytes);
    const QByteArray log = TestSupport::standardOutputOf([] {
        UserDatabase db;
        db.addUser(QStringLiteral("Bea"));
    });
    if (name.isNull()) {
        // Kept as it is, never written over nor moved aside; the new
        // learner waits in a rescue file beside it.
        QCOMPARE(readAll(usersPath), bytes);
        const QStringList files
            = QDir(QStringLiteral("data")).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.size(), 2);
        QCOMPARE(files.first(), QStringLiteral("users.xml"));
        QVERIFY(readAll(QStringLiteral("data/") + files.last()).contains("Name=\"Bea\""));
        QVERIFY(log.contains("x-klingon-8"));
        return;
    }
    const QByteArray written = readAll(usersPath);
    QVERIFY2(written.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<userdb>\n"),
        written.constData());
    QVERIFY(written.contains(name.toUtf8()));
    QCOMPARE(UserDatabase().userNames(), QStringList({ name, QStringLiteral("Bea") }));
    QStringList names;
    for (const QDomElement &user : storedUsers())
        names << user.attribute(QStringLiteral("Name"));
    QCOMPARE(names, QStringList({ name, QStringLiteral("Bea") }));
}

QTEST_GUILESS_MAIN(TestUserDatabase)
#include "tst_userdatabase.moc"
