#include "activities/language/LanguageFixture.h"
#include "app/Dialogs.h"
#include "audio/AudioMonitor.h"
#include "audio/StandInSynthesizer.h"
#include "audio/TTS.h"
#include "support/TestSupport.h"
#include "users/InputDialog.h"
#include "users/ScoreFile.h"
#include "users/UserDatabase.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <memory>

using LanguageFixture::release;
using LanguageFixture::type;

namespace {
const QString noLanguage = QStringLiteral("No hay ningun idioma instalado");
const QString escribiste = QStringLiteral("Escribiste.ogg");
const QString verifica = QStringLiteral("Verifica nombre.ogg");
const QString welcome = QStringLiteral("Bienvenida no vidente.ogg");
const QString arrows = QStringLiteral("Presiona las flechas.ogg");
const QString writeName = QStringLiteral("Escribe tu nombre.ogg");
const QString nobody = QStringLiteral("Ningun usuario.ogg");

QStringList letters(const QString &name)
{
    QStringList result;
    for (const QChar c : name)
        result << QString(c);
    return result;
}
} // namespace

// Keys in; clips, spoken texts, labels and the chosen learner out.
class TestInputDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void arrowsSayTheNames_data();
    void arrowsSayTheNames();
    void newNameIsReadBackThenCreated_data();
    void newNameIsReadBackThenCreated();
    void keysAfterConfirmation_data();
    void keysAfterConfirmation();
    void existingNameLogsIn_data();
    void existingNameLogsIn();
    void keysThatChooseNothing_data();
    void keysThatChooseNothing();
    void quietBringsTheInstructionBack_data();
    void quietBringsTheInstructionBack();
    void keyDuringReadBack_data();
    void keyDuringReadBack();
    void hidingSilencesTheReadBack_data();
    void hidingSilencesTheReadBack();
    void welcomeOncePerRun();
    void noLanguageCreatesNothing_data();
    void noLanguageCreatesNothing();
    void tutorFace();
    void tutorManagesLearners();
    void showingAgainReadsTheLearners_data();
    void showingAgainReadsTheLearners();

private:
    void build(bool tutor, const QStringList &users);
    QStringList clips() const { return m_clips->requestedNames(); }
    QString typed() const;
    // Enter, then the read-back up to its check (or the login it leads to).
    void enterAndWaitForCheck();
    // Key names ("F1", "Return", "Space", "Escape", "Shift", "Up", "Down")
    // or, for anything else, the characters typed.
    void press(const QStringList &keys);
    bool anyReadBackPending() const;

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<StandInSynthesizer> m_synthesizer;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    std::unique_ptr<UserDatabase> m_database;
    std::unique_ptr<InputDialog> m_dialog;
    // "user <name>" and "language <name>" as the signals came.
    QStringList m_chosen;
};

void TestInputDialog::init()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    // Sorted ignoring case, "espanol" comes before "Quechua".
    m_tree->addFolder(QStringLiteral("media/languages/Quechua"));
    m_tree->addFolder(QStringLiteral("media/languages/espanol"));
    m_synthesizer = std::make_unique<StandInSynthesizer>();
    m_clips = std::make_unique<TestSupport::ClipRecorder>();
    m_chosen.clear();
}

void TestInputDialog::cleanup()
{
    QVERIFY(m_synthesizer->waitForCalls(0));
    Dialogs::setInformationHandler(nullptr);
    LearnerLogin::setReminderForTesting(0);
    m_dialog.reset();
    m_database.reset();
    m_clips.reset();
    m_synthesizer.reset();
    m_tree.reset();
}

void TestInputDialog::build(bool tutor, const QStringList &users)
{
    m_database = std::make_unique<UserDatabase>();
    for (const QString &user : users)
        m_database->addUser(user);
    m_dialog = std::make_unique<InputDialog>(m_database.get(), tutor);
    connect(m_dialog.get(), &InputDialog::chooseUser, this,
        [this](const User &user) { m_chosen << QStringLiteral("user ") + user.name; });
    connect(m_dialog.get(), &InputDialog::chooseLanguage, this,
        [this](const QString &language) { m_chosen << QStringLiteral("language ") + language; });
    m_dialog->show();
}

QString TestInputDialog::typed() const
{
    return m_dialog->findChild<QLineEdit *>()->text();
}

void TestInputDialog::enterAndWaitForCheck()
{
    const int before = clips().size();
    type(m_dialog.get(), QStringLiteral("\n"));
    QCOMPARE(clips().mid(before), QStringList { escribiste });
    QTRY_COMPARE_WITH_TIMEOUT(clips().count(verifica) + int(!m_chosen.isEmpty()), 1, 10000);
}

void TestInputDialog::press(const QStringList &keys)
{
    static const QHash<QString, QPair<int, QString>> named {
        { "F1", { Qt::Key_F1, QString() } },
        { "F2", { Qt::Key_F2, QString() } },
        { "Return", { Qt::Key_Return, "\r" } },
        { "Space", { Qt::Key_Space, " " } },
        { "Escape", { Qt::Key_Escape, "\x1b" } },
        { "Shift", { Qt::Key_Shift, QString() } },
        { "Up", { Qt::Key_Up, QString() } },
        { "Down", { Qt::Key_Down, QString() } },
    };
    for (const QString &key : keys) {
        if (named.contains(key))
            release(m_dialog.get(), named[key].first, named[key].second);
        else
            type(m_dialog.get(), key);
    }
}

bool TestInputDialog::anyReadBackPending() const
{
    const auto *timer = m_dialog->findChild<QTimer *>(QStringLiteral("readBack"));
    return timer && timer->isActive();
}

void TestInputDialog::arrowsSayTheNames_data()
{
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QStringList>("heard");

    const QStringList three { "Ana", "Beto", "Carla" };
    // The index starts at the first name and moves before speaking.
    QTest::newRow("first Down") << three << QList<int> { Qt::Key_Down } << QStringList { "Beto" }
                                << QStringList();
    QTest::newRow("first Up wraps")
        << three << QList<int> { Qt::Key_Up } << QStringList { "Carla" } << QStringList();
    QTest::newRow("Down wraps") << three << QList<int> { Qt::Key_Down, Qt::Key_Down, Qt::Key_Down }
                                << QStringList { "Beto", "Carla", "Ana" } << QStringList();
    // Nobody to choose: the child hears how to make a name instead.
    QTest::newRow("no learners") << QStringList() << QList<int> { Qt::Key_Down, Qt::Key_Up }
                                 << QStringList() << QStringList { nobody, nobody };
}

void TestInputDialog::arrowsSayTheNames()
{
    QFETCH(QStringList, users);
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, spoken);
    QFETCH(QStringList, heard);
    build(false, users);
    for (int key : keys)
        release(m_dialog.get(), key, QString());
    QVERIFY(m_synthesizer->waitForCalls(spoken.size()));
    QCOMPARE(m_synthesizer->texts(), spoken);
    const QString shown = users.isEmpty() ? QString() : spoken.last();
    QCOMPARE(m_dialog->findChildren<QLabel *>().at(1)->text(), shown);
    QCOMPARE(clips(), heard);

    // Enter logs in whoever is shown; with nobody shown nothing happens.
    type(m_dialog.get(), QStringLiteral("\n"));
    const QStringList chosen = users.isEmpty()
        ? QStringList()
        : QStringList { QStringLiteral("user ") + shown, QStringLiteral("language espanol") };
    QCOMPARE(m_chosen, chosen);
    QCOMPARE(m_dialog->isVisible(), users.isEmpty());
}

void TestInputDialog::newNameIsReadBackThenCreated_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("ana");
    // Not a valid XML name: the score file stores it under its own encoding.
    QTest::newRow("digit, blank and accents") << QStringLiteral("1 ñandú");
}

void TestInputDialog::newNameIsReadBackThenCreated()
{
    QFETCH(QString, name);
    build(false, { QStringLiteral("Beto") });
    release(m_dialog.get(), Qt::Key_F2, QString());
    QCOMPARE(clips(), QStringList { "Escribe tu nombre.ogg" });
    m_clips->clear();

    type(m_dialog.get(), name);
    QVERIFY(m_synthesizer->waitForCalls(name.size()));
    QCOMPARE(m_synthesizer->texts(), letters(name));
    QCOMPARE(typed(), name);
    QCOMPARE(clips(), QStringList());

    QElapsedTimer clock;
    clock.start();
    qint64 checkedAt = -1;
    const auto watch = connect(
        AudioMonitor::instance(), &AudioMonitor::clipRequested, this, [&](const QString &file) {
            if (file.endsWith(verifica))
                checkedAt = clock.elapsed();
        });
    enterAndWaitForCheck();
    disconnect(watch);
    QCOMPARE(m_synthesizer->texts(), letters(name) << name);
    QCOMPARE(clips(), (QStringList { escribiste, verifica }));
    QVERIFY2(checkedAt >= InputDialog::sayNameDelayMs + InputDialog::confirmDelayMs,
        QByteArray::number(checkedAt));
    QVERIFY(m_chosen.isEmpty());

    type(m_dialog.get(), QStringLiteral("\n"));
    QCOMPARE(m_chosen, (QStringList { "user " + name, "language espanol" }));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(UserDatabase().userNames(), (QStringList { "Beto", name }));
    QCOMPARE(UserDatabase().findUser(name).name, name);
    QCOMPARE(ScoreFile::learnerName(ScoreFile::tagName(name)), name);
}

void TestInputDialog::keysAfterConfirmation_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("created");
    QTest::addColumn<QStringList>("clipsAfter");

    // A new name is read back before it can be created.
    QTest::newRow("a letter starts a new name")
        << "b\n"
        << "b" << QStringList { "Beto" } << QStringList { escribiste };
    // Backspace keeps the name confirmed: Enter creates it at once.
    QTest::newRow("backspace keeps it confirmed")
        << "\b\n"
        << "an" << QStringList { "Beto", "an" } << QStringList();
}

void TestInputDialog::keysAfterConfirmation()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QStringList, created);
    QFETCH(QStringList, clipsAfter);
    build(false, { QStringLiteral("Beto") });
    release(m_dialog.get(), Qt::Key_F2, QString());
    type(m_dialog.get(), QStringLiteral("ana"));
    enterAndWaitForCheck();
    QCOMPARE(clips().last(), verifica);
    m_clips->clear();

    type(m_dialog.get(), keys);
    QCOMPARE(typed(), shown);
    QCOMPARE(clips(), clipsAfter);
    QCOMPARE(UserDatabase().userNames(), created);
}

void TestInputDialog::existingNameLogsIn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("learner");
    QTest::newRow("another case") << "bETO"
                                  << "Beto";
    QTest::newRow("a trailing blank") << "Beto "
                                      << "Beto";
    QTest::newRow("the first learner") << "ana"
                                       << "Ana";
}

// A child who types their own name to register is that learner, come back:
// once the name is read back they are logged in, and nobody new is made.
void TestInputDialog::existingNameLogsIn()
{
    QFETCH(QString, name);
    QFETCH(QString, learner);
    build(false, { QStringLiteral("Ana"), QStringLiteral("Beto") });
    release(m_dialog.get(), Qt::Key_F2, QString());
    type(m_dialog.get(), name);
    enterAndWaitForCheck();
    QVERIFY(m_synthesizer->waitForCalls(name.size() + 1));
    QCOMPARE(m_synthesizer->texts().mid(name.size()), QStringList { name });
    QCOMPARE(clips(), (QStringList { writeName, escribiste }));
    QCOMPARE(m_chosen, (QStringList { "user " + learner, "language espanol" }));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(UserDatabase().userNames(), (QStringList { "Ana", "Beto" }));
}

void TestInputDialog::keyDuringReadBack_data()
{
    QTest::addColumn<bool>("afterName");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("spoken");
    QTest::addColumn<QString>("created");

    // Whatever the read-back was about to confirm is no longer what the
    // child typed: only the new name is read back and confirmed.
    QTest::newRow("letter before the name is said")
        << false << "s" << QStringList { "a", "n", "a", "s", "anas" } << "anas";
    QTest::newRow("letter while the name is said")
        << true << "s" << QStringList { "a", "n", "a", "ana", "s", "anas" } << "anas";
    QTest::newRow("backspace while the name is said")
        << true << "\b" << QStringList { "a", "n", "a", "ana", "an" } << "an";
    QTest::newRow("Enter again reads it back again")
        << false << "" << QStringList { "a", "n", "a", "ana" } << "ana";
}

void TestInputDialog::keyDuringReadBack()
{
    QFETCH(bool, afterName);
    QFETCH(QString, key);
    QFETCH(QStringList, spoken);
    QFETCH(QString, created);
    build(false, {});
    release(m_dialog.get(), Qt::Key_F2, QString());
    type(m_dialog.get(), QStringLiteral("ana"));
    QVERIFY(m_synthesizer->waitForCalls(3));
    type(m_dialog.get(), QStringLiteral("\n"));
    // The name has been handed to the synthesizer once it is busy again.
    if (afterName)
        QTRY_VERIFY(TTS::isBusy() || m_synthesizer->calls().size() == 4);
    if (!key.isEmpty()) {
        type(m_dialog.get(), key);
        QVERIFY(!anyReadBackPending());
    }

    enterAndWaitForCheck();
    QVERIFY(m_synthesizer->waitForCalls(spoken.size()));
    QCOMPARE(m_synthesizer->texts(), spoken);
    QCOMPARE(clips(), (QStringList { "Escribe tu nombre.ogg", escribiste, escribiste, verifica }));
    type(m_dialog.get(), QStringLiteral("\n"));
    QCOMPARE(m_chosen, (QStringList { "user " + created, "language espanol" }));
}

void TestInputDialog::hidingSilencesTheReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("slowSynthesizer");
    // 0: "Escribiste" sounds; 1: the name has been asked for; 2: the
    // synthesizer has the name.
    QTest::addColumn<int>("stage");

    QTest::newRow("Escribiste sounding") << "ana" << false << 0;
    // Each letter holds the synthesizer a second, so the name waits its turn.
    QTest::newRow("the name waiting for its turn") << "ana" << true << 1;
    // A name the stand-in never finishes saying.
    QTest::newRow("the name being said") << "cuelga" << false << 2;
    QTest::newRow("the check pending") << "ana" << false << 2;
    QTest::newRow("the login of a registered name pending") << "beto" << false << 2;
}

// The login hides as the greeting starts: nothing of its read-back may be
// heard after that.
void TestInputDialog::hidingSilencesTheReadBack()
{
    QFETCH(QString, name);
    QFETCH(bool, slowSynthesizer);
    QFETCH(int, stage);
    if (slowSynthesizer) {
        // One at a time: each puts itself first on PATH and restores it.
        m_synthesizer.reset();
        m_synthesizer = std::make_unique<StandInSynthesizer>(
            QStringList { QStringLiteral("espeak-ng") }, QStringLiteral("1"));
    }
    build(false, { QStringLiteral("Beto") });
    release(m_dialog.get(), Qt::Key_F2, QString());
    type(m_dialog.get(), name);
    if (!slowSynthesizer)
        QVERIFY(m_synthesizer->waitForCalls(name.size()));

    QSignalSpy requested(AudioMonitor::instance(), &AudioMonitor::speechRequested);
    QElapsedTimer clock;
    clock.start();
    type(m_dialog.get(), QStringLiteral("\n"));
    if (stage >= 1)
        QTRY_COMPARE_WITH_TIMEOUT(requested.count(), 1, 10000);
    if (stage == 2)
        QTRY_VERIFY_WITH_TIMEOUT(m_synthesizer->texts().contains(name), 10000);
    m_clips->clear();
    requested.clear();
    m_dialog->hide();

    QTRY_VERIFY(!TTS::isBusy());
    QTest::qWait(qMax<qint64>(
        0, InputDialog::sayNameDelayMs + InputDialog::confirmDelayMs + 500 - clock.elapsed()));
    QCOMPARE(clips(), QStringList());
    QCOMPARE(requested.count(), 0);
    QCOMPARE(m_synthesizer->texts().count(name), stage == 2 ? 1 : 0);
}

void TestInputDialog::keysThatChooseNothing_data()
{
    QTest::addColumn<QStringList>("users");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("heard");

    const QStringList ana { "Ana" };
    // Each pressed while the welcome still sounds.
    QTest::newRow("Return before F1 or F2")
        << ana << QStringList { "Return" } << QStringList { welcome, welcome };
    QTest::newRow("a letter before F1 or F2")
        << ana << QStringList { "a" } << QStringList { welcome, welcome };
    QTest::newRow("Space and Escape before F1 or F2")
        << ana << QStringList { "Space", "Escape" } << QStringList { welcome, welcome, welcome };
    // Held for a capital: not a key to answer.
    QTest::newRow("Shift alone") << ana << QStringList { "Shift" } << QStringList { welcome };
    QTest::newRow("F1, then Return before any name")
        << ana << QStringList { "F1", "Return" } << QStringList { welcome, arrows, arrows };
    QTest::newRow("F1, then a letter")
        << ana << QStringList { "F1", "b" } << QStringList { welcome, arrows, arrows };
    QTest::newRow("nobody registered: F1, Down")
        << QStringList() << QStringList { "F1", "Down" } << QStringList { welcome, arrows, nobody };
    QTest::newRow("nobody registered: Up before F1")
        << QStringList() << QStringList { "Up", "Return" }
        << QStringList { welcome, nobody, welcome };
}

// Before F1 or F2, and on F1's list, a key that chooses nothing is answered
// with what to do, not with silence; nothing is typed or chosen.
void TestInputDialog::keysThatChooseNothing()
{
    QFETCH(QStringList, users);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, heard);
    m_tree->addClip(QStringLiteral("media/system/audio/instructions/") + welcome,
        QStringLiteral("tone-2s.ogg"));
    build(false, users);
    m_dialog->slotSayWelcome();
    press(keys);
    QCOMPARE(clips(), heard);
    QCOMPARE(m_synthesizer->texts(), QStringList());
    QCOMPARE(typed(), QString());
    QVERIFY(m_chosen.isEmpty());
    QVERIFY(m_dialog->isVisible());
}

void TestInputDialog::quietBringsTheInstructionBack_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("instruction");
    QTest::addColumn<int>("spoken");

    QTest::newRow("nothing pressed") << QStringList() << welcome << 0;
    QTest::newRow("after F1") << QStringList { "F1" } << arrows << 0;
    QTest::newRow("after an arrow") << QStringList { "F1", "Down" } << arrows << 1;
    QTest::newRow("after F2 and a letter") << QStringList { "F2", "e" } << writeName << 1;
    // The read-back itself is not waiting for the child.
    QTest::newRow("after a name confirmed")
        << QStringList { "F2", "eva", "Return" } << verifica << 4;
}

// Left alone, the child hears the instruction of the step they are at again,
// each time the login has been quiet for the reminder's time, until it hides.
void TestInputDialog::quietBringsTheInstructionBack()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, instruction);
    QFETCH(int, spoken);
    const int quietMs = 600;
    LearnerLogin::setReminderForTesting(quietMs);
    m_tree->addClip(QStringLiteral("media/system/audio/instructions/") + instruction,
        QStringLiteral("tone-300ms.ogg"));
    build(false, { QStringLiteral("Ana") });
    m_dialog->slotSayWelcome();
    press(keys);
    QVERIFY(m_synthesizer->waitForCalls(spoken));
    // The read-back's steps, up to its check.
    if (instruction == verifica)
        QTRY_COMPARE_WITH_TIMEOUT(clips().count(verifica), 1, 10000);
    QElapsedTimer clock;
    clock.start();
    m_clips->clear();

    QList<qint64> times;
    {
        // Disconnected however the wait ends.
        QObject watch;
        connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, &watch,
            [&](const QString &) { times << clock.elapsed(); });
        QTRY_COMPARE_WITH_TIMEOUT(times.size(), 3, 10 * quietMs);
    }
    QCOMPARE(clips(), QStringList(3, instruction));
    // Never sooner than the quiet, and never much later.
    QVERIFY2(times.first() <= quietMs + 300, QByteArray::number(times.first()));
    for (int i = 1; i < times.size(); ++i) {
        const qint64 since = times.at(i) - times.at(i - 1);
        QVERIFY2(since >= quietMs - 20 && since <= quietMs + 300, QByteArray::number(since));
    }
    QCOMPARE(m_synthesizer->texts().size(), spoken);

    // Hidden, it waits for nobody.
    m_dialog->hide();
    m_clips->clear();
    QTest::qWait(2 * quietMs);
    QCOMPARE(clips(), QStringList());
}

void TestInputDialog::welcomeOncePerRun()
{
    build(false, { QStringLiteral("Ana") });
    m_dialog->slotSayWelcome();
    release(m_dialog.get(), Qt::Key_F1, QString());
    m_dialog->hide();
    m_dialog->show();
    m_dialog->slotSayWelcome();
    QCOMPARE(clips(), (QStringList { "Bienvenida no vidente.ogg", "Presiona las flechas.ogg" }));
}

void TestInputDialog::noLanguageCreatesNothing_data()
{
    QTest::addColumn<int>("face");
    QTest::newRow("learner choosing") << 0;
    QTest::newRow("learner with a new name") << 1;
    QTest::newRow("tutor") << 2;
}

void TestInputDialog::noLanguageCreatesNothing()
{
    QFETCH(int, face);
    QVERIFY(QDir(QStringLiteral("media/languages")).removeRecursively());
    QStringList shown;
    Dialogs::setInformationHandler(
        [&shown](const QString &, const QString &text) { shown << text; });
    build(face == 2, { QStringLiteral("Ana") });
    QStringList spoken;
    if (face == 0) {
        release(m_dialog.get(), Qt::Key_Up, QString());
        type(m_dialog.get(), QStringLiteral("\n"));
        spoken = QStringList { "Ana", noLanguage };
    } else if (face == 1) {
        release(m_dialog.get(), Qt::Key_F2, QString());
        type(m_dialog.get(), QStringLiteral("eva"));
        enterAndWaitForCheck();
        type(m_dialog.get(), QStringLiteral("\n"));
        spoken = QStringList { "e", "v", "a", "eva", noLanguage };
    } else {
        auto *combo = m_dialog->findChild<QComboBox *>();
        combo->textActivated(QStringLiteral("Ana"));
        combo->activated(0);
        m_dialog->findChildren<QPushButton *>().at(1)->click();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().startsWith(QStringLiteral("No hay ningún idioma instalado")));
    }
    QVERIFY(m_synthesizer->waitForCalls(spoken.size()));
    QCOMPARE(m_synthesizer->texts(), spoken);
    QVERIFY(m_chosen.isEmpty());
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(UserDatabase().userNames(), QStringList { "Ana" });
}

void TestInputDialog::tutorFace()
{
    build(true, { QStringLiteral("Ana") });
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Purimba - Usuarios"));
    QStringList titles;
    for (const QGroupBox *box : m_dialog->findChildren<QGroupBox *>())
        titles << box->title();
    QCOMPARE(titles,
        (QStringList {
            "Usuario seleccionado   ", "Usuarios registrados    ", "Idioma                " }));
    QStringList buttons;
    for (const QPushButton *button : m_dialog->findChildren<QPushButton *>()) {
        buttons << button->text();
        QVERIFY(!button->isEnabled());
    }
    QCOMPARE(buttons, (QStringList { "Agregar", "Ingresar", "Eliminar" }));
    QCOMPARE(m_dialog->findChild<QStatusBar *>()->currentMessage(),
        QStringLiteral("Por favor seleccione un usuario"));
    // A tutor who works with a screen reader hears what each control is.
    for (const QWidget *widget : m_dialog->findChildren<QWidget *>()) {
        if (widget->focusPolicy() != Qt::NoFocus && widget->isVisibleTo(m_dialog.get()))
            QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
    }
    QCOMPARE(m_dialog->findChildren<QLineEdit *>().first()->accessibleName(),
        QStringLiteral("Usuario seleccionado"));
}

void TestInputDialog::tutorManagesLearners()
{
    build(true, { QStringLiteral("Ana") });
    auto *edit = m_dialog->findChild<QLineEdit *>();
    auto *users = m_dialog->findChildren<QComboBox *>().at(0);
    auto *languages = m_dialog->findChildren<QComboBox *>().at(1);
    const auto buttons = m_dialog->findChildren<QPushButton *>();
    QPushButton *add = buttons.at(0);
    QPushButton *login = buttons.at(1);
    QPushButton *remove = buttons.at(2);
    auto status = [this] { return m_dialog->findChild<QStatusBar *>()->currentMessage(); };
    QCOMPARE(languages->currentText(), QStringLiteral("espanol"));

    QTest::keyClicks(edit, QStringLiteral("Beto"));
    QVERIFY(add->isEnabled());
    add->click();
    QCOMPARE(status(), QStringLiteral("El usuario Beto ha sido agregado al sistema"));
    QCOMPARE(UserDatabase().userNames(), (QStringList { "Ana", "Beto" }));
    QCOMPARE(users->count(), 2);
    QCOMPARE(edit->text(), QString());
    QVERIFY(!add->isEnabled());

    // A second "ana" would share the first one's scores.
    QTest::keyClicks(edit, QStringLiteral("ana"));
    add->click();
    QCOMPARE(status(), QStringLiteral("El usuario ana ya existe"));
    QCOMPARE(UserDatabase().userNames(), (QStringList { "Ana", "Beto" }));

    // Nothing typed: nothing added, the message names nobody.
    edit->clear();
    m_dialog->slotAdd();
    QCOMPARE(status(), QStringLiteral("El usuario  ha sido agregado al sistema"));
    QCOMPARE(UserDatabase().userNames(), (QStringList { "Ana", "Beto" }));

    // Chosen from the keyboard on the closed list.
    users->setFocus();
    QTest::keyClick(users, Qt::Key_Down);
    QCOMPARE(edit->text(), QStringLiteral("Beto"));
    QVERIFY(login->isEnabled() && remove->isEnabled() && !add->isEnabled());
    remove->click();
    QCOMPARE(status(), QStringLiteral("El usuario Beto ha sido eliminado del sistema"));
    QCOMPARE(UserDatabase().userNames(), QStringList { "Ana" });
    QVERIFY(!remove->isEnabled() && !login->isEnabled());
    QVERIFY(m_chosen.isEmpty());

    users->textHighlighted(QStringLiteral("Ana"));
    users->highlighted(0);
    login->click();
    QCOMPARE(m_chosen, (QStringList { "user Ana", "language espanol" }));
    QVERIFY(!m_dialog->isVisible());
}

void TestInputDialog::showingAgainReadsTheLearners_data()
{
    QTest::addColumn<bool>("tutor");
    QTest::newRow("learner") << false;
    QTest::newRow("tutor") << true;
}

void TestInputDialog::showingAgainReadsTheLearners()
{
    QFETCH(bool, tutor);
    build(tutor, { QStringLiteral("Ana") });
    m_dialog->hide();
    // As the main window's own instance or another program would.
    UserDatabase().addUser(QStringLiteral("Beto"));
    m_dialog->show();
    if (tutor) {
        auto *users = m_dialog->findChild<QComboBox *>();
        QCOMPARE(users->count(), 2);
        QCOMPARE(users->itemText(1), QStringLiteral("Beto"));
        return;
    }
    release(m_dialog.get(), Qt::Key_Down, QString());
    release(m_dialog.get(), Qt::Key_F2, QString());
    type(m_dialog.get(), QStringLiteral("beto"));
    enterAndWaitForCheck();
    QVERIFY(m_synthesizer->waitForCalls(6));
    QCOMPARE(m_synthesizer->texts().first(), QStringLiteral("Beto"));
    QCOMPARE(m_chosen, (QStringList { "user Beto", "language espanol" }));
}

QTEST_MAIN(TestInputDialog)
#include "tst_inputdialog.moc"
