#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/Dialogs.h"
#include "app/KeyboardWidget.h"
#include "app/MainWidget.h"
#include "app/MainWindow.h"
#include "app/MenuWidget.h"
#include "support/TestSupport.h"
#include "users/InputDialog.h"
#include "users/ReportDialog.h"
#include "users/UserDatabase.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

using Address = QList<int>;

// The main window from the login to the activities: the greeting, resuming,
// the menu bar, the spoken menu, the texts menus, reports and printing.
class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    std::unique_ptr<TestSupport::ClipRecorder> m_clips;
    std::unique_ptr<MainWindow> m_window;

    void makeWindow(bool tutor)
    {
        m_window = std::make_unique<MainWindow>(tutor);
        // Silent activities: these cases are about the window.
        m_window->activityArea()->lettersWidget()->setMofliAudio(0);
        m_window->activityArea()->brailleWidget()->setMofliAudio(0);
    }

    // The clips asked for since the last clear, as paths inside the tree.
    QStringList clips() const
    {
        QStringList paths;
        for (QString path : m_clips->requested)
            paths << path.remove(m_tree->root() + QLatin1Char('/'));
        return paths;
    }

    static QString menuClip(const QString &name)
    {
        return QStringLiteral("media/system/audio/menus/") + name + QStringLiteral(".ogg");
    }

    static User learner(const QString &name, const QString &act, const QString &sub)
    {
        UserDatabase users;
        User user(name);
        user.lastAct = act;
        user.lastSubAct = sub;
        users.addUser(user);
        return users.findUser(name);
    }

    void logIn(const User &user)
    {
        Q_EMIT m_window->loginDialog()->chooseUser(user);
        Q_EMIT m_window->loginDialog()->chooseLanguage(QStringLiteral("Espanol"));
    }

    void release(QWidget *widget, int key)
    {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier,
            key == Qt::Key_Space ? QStringLiteral(" ") : QString());
        QApplication::sendEvent(widget, &event);
    }

    QAction *action(const QStringList &path) const
    {
        QList<QAction *> actions = m_window->menuBar()->actions();
        QAction *found = nullptr;
        for (const QString &text : path) {
            found = nullptr;
            for (QAction *candidate : actions) {
                if (candidate->text() == text)
                    found = candidate;
            }
            if (!found)
                return nullptr;
            if (found->menu())
                actions = found->menu()->actions();
        }
        return found;
    }

    // Ana at "Te presento sonidos", the activity with the keyboard.
    bool startAnaAtTheLetters()
    {
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QStringLiteral("0"), QStringLiteral("0")));
        if (!QTest::qWaitFor([this] { return m_window->isStarted(); }, 5000)
            || !QTest::qWaitForWindowActive(m_window.get()))
            return false;
        return QApplication::focusWidget() == m_window->activityArea()->lettersWidget();
    }

    // The address the activity area reported last, or none.
    static Address lastAddress(const QSignalSpy &changed)
    {
        if (changed.isEmpty())
            return {};
        return { changed.last().at(0).toInt(), changed.last().at(1).toInt() };
    }

private Q_SLOTS:
    void init()
    {
        m_tree = std::make_unique<TestSupport::MediaTree>();
        for (const char *name : { "Letras y Numeros", "Sonidos de las Letras",
                 "Nombres de las Letras", "Numeros", "Te presento sonidos", "Como suena",
                 "Como empieza", "Braille", "Maquina Perkins", "Numeros escondidos", "Lenguaje",
                 "Cuentos", "Escribir", "Salir", "Archivo", "Usuario" })
            m_tree->addClip(menuClip(QString::fromUtf8(name)));
        for (const char *name : { "Saludo de mofli", "para menu audible", "ayuda" })
            m_tree->addClip(QStringLiteral("media/system/audio/instructions/%1.ogg")
                                .arg(QString::fromUtf8(name)));
        for (const char *tale : { "El gato", "caperucita" })
            m_tree->addClip(QStringLiteral("media/languages/Espanol/Textos/Cuentos/%1/menu.ogg")
                                .arg(QString::fromUtf8(tale)));
        m_tree->addFolder(QStringLiteral("media/languages/Espanol/Textos/Fabulas/La liebre"));
        m_tree->addFolder(QStringLiteral("data"));
        MainWindow::setDelaysForTesting(1000, 200);
        m_clips = std::make_unique<TestSupport::ClipRecorder>();
    }

    void cleanup()
    {
        Dialogs::setPrinterHandler({});
        Dialogs::setInformationHandler({});
        m_window.reset();
        m_clips.reset();
        m_tree.reset();
    }

    void resumesTheStoredActivity_data()
    {
        QTest::addColumn<QString>("act");
        QTest::addColumn<QString>("sub");
        QTest::addColumn<Address>("started");
        QTest::newRow("new learner") << ""
                                     << "" << Address { 0, 0 };
        QTest::newRow("braille cell") << "1"
                                      << "5" << Address { 1, 5 };
        QTest::newRow("Perkins brailler") << "1"
                                          << "11" << Address { 1, 11 };
        QTest::newRow("writing") << "3"
                                 << "4" << Address { 3, 0 };
        QTest::newRow("no such activity: the first one") << "0"
                                                         << "9" << Address { 0, 0 };
        QTest::newRow("no such group: the first one") << "7"
                                                      << "0" << Address { 0, 0 };
    }

    void resumesTheStoredActivity()
    {
        QFETCH(QString, act);
        QFETCH(QString, sub);
        QFETCH(Address, started);
        makeWindow(false);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        QVERIFY(m_window->loginDialog()->isVisible());
        logIn(learner(QStringLiteral("Ana"), act, sub));
        QVERIFY(!m_window->isStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_window->isStarted(), 5000);
        QCOMPARE(lastAddress(changed), started);
        QCOMPARE(m_window->activityArea()->isVisible(), !started.isEmpty());
        QStringList heard = clips();
        heard.removeAll(
            QStringLiteral("media/system/audio/instructions/Bienvenida no vidente.ogg"));
        QCOMPARE(heard.mid(0, 2),
            (QStringList { QStringLiteral("media/system/audio/instructions/Saludo de mofli.ogg"),
                QStringLiteral("media/system/audio/instructions/para menu audible.ogg") }));
        // The address reached is the learner's from now on.
        if (!started.isEmpty()) {
            const User stored = UserDatabase().findUser(QStringLiteral("Ana"));
            QCOMPARE(stored.lastAct, QString::number(started.at(0)));
        }
    }

    // Space cuts the greeting short; each Space before the first activity
    // repeats the instruction, and the activity starts once, after the last
    // one. In tutor mode Space starts it at once. Before the login it does
    // nothing.
    void spaceDuringTheGreeting_data()
    {
        QTest::addColumn<bool>("tutor");
        QTest::addColumn<int>("instructions");
        QTest::newRow("learner") << false << 2;
        QTest::newRow("tutor") << true << 0;
    }

    void spaceDuringTheGreeting()
    {
        QFETCH(bool, tutor);
        QFETCH(int, instructions);
        makeWindow(tutor);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        // Nobody has logged in yet: nothing to start.
        release(m_window.get(), Qt::Key_Space);
        logIn(learner(QStringLiteral("Ana"), QStringLiteral("0"), QStringLiteral("1")));
        release(m_window.get(), Qt::Key_Space);
        if (!tutor)
            release(m_window.get(), Qt::Key_Space);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 3000);
        QCOMPARE(lastAddress(changed), (Address { 0, 1 }));
        // Once the activity runs, Space belongs to it; the greeting's timer
        // has nothing left to do.
        release(m_window.get(), Qt::Key_Space);
        QTest::qWait(1200);
        QCOMPARE(
            clips().count(QStringLiteral("media/system/audio/instructions/para menu audible.ogg")),
            instructions);
        QCOMPARE(changed.count(), 1);
    }

    // What the child (or the tutor) did while the instruction was said is
    // what holds: the pause after it starts nothing later.
    void nothingStartsLateAfterAChange_data()
    {
        QTest::addColumn<bool>("otherLearner");
        QTest::newRow("activity chosen from the menu bar") << false;
        QTest::newRow("another learner logged in") << true;
    }

    void nothingStartsLateAfterAChange()
    {
        QFETCH(bool, otherLearner);
        makeWindow(false);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QStringLiteral("0"), QStringLiteral("1")));
        release(m_window.get(), Qt::Key_Space);
        if (otherLearner)
            logIn(learner(QStringLiteral("Beto"), QStringLiteral("1"), QStringLiteral("3")));
        else
            action({ QStringLiteral("&Braille"), QStringLiteral("&Cajetin"),
                       QStringLiteral("&Exploracion Cajetin") })
                ->trigger();
        // Past Ana's pause, well before Beto's greeting time is over.
        QTest::qWait(600);
        if (otherLearner) {
            // Beto is greeted afresh, and Space leads to his own activity.
            QVERIFY(changed.isEmpty());
            QVERIFY(!m_window->isStarted());
            QCOMPARE(m_clips->requestedNames().count(QStringLiteral("Saludo de mofli.ogg")), 2);
            release(m_window.get(), Qt::Key_Space);
            QTRY_COMPARE(changed.count(), 1);
            QCOMPARE(lastAddress(changed), (Address { 1, 3 }));
        } else {
            QCOMPARE(changed.count(), 1);
            QCOMPARE(lastAddress(changed), (Address { 1, 0 }));
            QVERIFY(m_window->isStarted());
        }
        QTest::qWait(600);
        QCOMPARE(changed.count(), 1);
    }

    // A learner chosen while the program runs goes straight to their own
    // activity; the welcome window's second "done" adds no second login.
    void changingLearnerSkipsTheGreeting()
    {
        makeWindow(true);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QStringLiteral("0"), QStringLiteral("2")));
        QTRY_VERIFY_WITH_TIMEOUT(m_window->isStarted(), 3000);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(
            clips().count(QStringLiteral("media/system/audio/instructions/Saludo de mofli.ogg")),
            1);

        m_clips->clear();
        logIn(learner(QStringLiteral("Beto"), QStringLiteral("1"), QStringLiteral("3")));
        QTRY_COMPARE(lastAddress(changed), (Address { 1, 3 }));
        QVERIFY(!clips().contains(
            QStringLiteral("media/system/audio/instructions/Saludo de mofli.ogg")));
        QCOMPARE(UserDatabase().findUser(QStringLiteral("Ana")).lastSubAct, QStringLiteral("2"));
        QCOMPARE(UserDatabase().findUser(QStringLiteral("Beto")).lastAct, QStringLiteral("1"));
    }

    // Closed from its window frame before anyone has logged in, the login
    // comes straight back, with what to do in it: there is nothing else to
    // go on to.
    void loginClosedBeforeAnyLearner_data()
    {
        QTest::addColumn<bool>("tutor");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("learner") << false << QStringList { "Bienvenida no vidente.ogg" };
        QTest::newRow("tutor") << true << QStringList();
    }

    void loginClosedBeforeAnyLearner()
    {
        QFETCH(bool, tutor);
        QFETCH(QStringList, heard);
        makeWindow(tutor);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        m_clips->clear();
        m_window->loginDialog()->close();
        QVERIFY(m_window->loginDialog()->isVisible());
        QCOMPARE(m_clips->requestedNames(), heard);
        QTest::qWait(300);
        QVERIFY(changed.isEmpty());
        QVERIFY(!m_window->isStarted());
    }

    // "Usuario" while an activity talks: it falls silent and its turns stop
    // behind the login; once the login is done, the learner's activity
    // starts again from its instruction.
    void userMenuDuringAnActivity_data()
    {
        QTest::addColumn<int>("end");
        QTest::addColumn<Address>("resumed");
        QTest::addColumn<QString>("instruction");
        QTest::newRow("the same learner again") << 0 << Address { 0, 1 } << "Como suena.ogg";
        QTest::newRow("another learner") << 1 << Address { 0, 2 } << "Como empieza.ogg";
        QTest::newRow("the login closed from its frame")
            << 2 << Address { 0, 1 } << "Como suena.ogg";
    }

    void userMenuDuringAnActivity()
    {
        QFETCH(int, end);
        QFETCH(Address, resumed);
        QFETCH(QString, instruction);
        for (const char *name : { "Como suena", "Como empieza" })
            m_tree->addClip(QStringLiteral("media/system/audio/instructions/%1.ogg")
                                .arg(QString::fromUtf8(name)),
                QStringLiteral("tone-2s.ogg"));
        makeWindow(false);
        m_window->activityArea()->lettersWidget()->setMofliAudio(2);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        m_window->showWindow();
        const User ana = learner(QStringLiteral("Ana"), QStringLiteral("0"), QStringLiteral("1"));
        logIn(ana);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_clips->requestedNames().contains(QStringLiteral("Como suena.ogg")), 5000);

        // While the instruction sounds; the question would follow its end.
        m_clips->clear();
        action({ QStringLiteral("&Archivo"), QStringLiteral("&Usuario") })->trigger();
        QVERIFY(m_window->loginDialog()->isVisible());
        QTest::qWait(3500);
        QCOMPARE(m_clips->requestedNames(), QStringList());

        // Logging in ends as the dialog itself ends it.
        if (end == 0)
            logIn(UserDatabase().findUser(QStringLiteral("Ana")));
        else if (end == 1)
            logIn(learner(QStringLiteral("Beto"), QStringLiteral("0"), QStringLiteral("2")));
        if (end < 2)
            m_window->loginDialog()->accept();
        else
            m_window->loginDialog()->close();
        QTRY_VERIFY(m_clips->requestedNames().contains(instruction));
        QCOMPARE(m_clips->requestedNames().first(), instruction);
        QCOMPARE(lastAddress(changed), resumed);
        QVERIFY(!m_window->loginDialog()->isVisible());
        QVERIFY(!m_clips->requestedNames().contains(QStringLiteral("Saludo de mofli.ogg")));
    }

    // The side panel and the adult's dialogs never keep the child's keys:
    // after a click there, or a dialog closed, Tab and Space reach the
    // activity, not "Salir" or a button pressed again.
    void keyboardGoesBackToTheActivity_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("status");
        QTest::newRow("Seleccionar letras, then its dialog closed")
            << "Seleccionar letras" << QString();
        QTest::newRow("Segmentar palabras") << "Segmentar palabras" << QString();
        QTest::newRow("Voz de Mofli") << "Voz de Mofli" << QString();
        QTest::newRow("Ultima Instruccion") << "Ultima Instruccion" << QString();
        QTest::newRow("a suggestion written and saved")
            << "Guardar sugerencias de actividad"
            << "La sugerencia ha sido grabada exitosamente";
        QTest::newRow("the report closed") << "&Reportes" << QString();
    }

    void keyboardGoesBackToTheActivity()
    {
        QFETCH(QString, clicked);
        QFETCH(QString, status);
        QStringList boxes;
        Dialogs::setInformationHandler(
            [&boxes](const QString &, const QString &text) { boxes << text; });
        m_tree->addFolder(QStringLiteral("media/system/text"));
        makeWindow(false);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        QVERIFY(startAnaAtTheLetters());
        MenuWidget *panel = m_window->activityArea()->sidePanel();
        QWidget *activity = m_window->activityArea()->lettersWidget();

        auto button = [](QWidget *parent, const QString &text) {
            const auto buttons = parent->findChildren<QAbstractButton *>();
            for (QAbstractButton *b : buttons) {
                if (b->text() == text)
                    return b;
            }
            qFatal("no button %s", qPrintable(text));
        };
        if (clicked == QLatin1String("&Reportes")) {
            action({ QStringLiteral("&Archivo"), clicked })->trigger();
            QVERIFY(QTest::qWaitForWindowActive(m_window->reportDialog()));
            m_window->reportDialog()->close();
        } else if (clicked.startsWith(QLatin1String("Guardar"))) {
            auto *tabs = panel->findChild<QTabWidget *>();
            QTest::mouseClick(
                tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
            auto *text = static_cast<QTextEdit *>(tabs->currentWidget());
            QTest::mouseClick(text->viewport(), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), text);
            QTest::keyClicks(text, QStringLiteral("Despacio"));
            QTest::mouseClick(button(panel, clicked), Qt::LeftButton);
        } else {
            QTest::mouseClick(button(panel, clicked), Qt::LeftButton);
            if (clicked == QLatin1String("Seleccionar letras")) {
                QWidget *letters = panel->letterSelection();
                QVERIFY(letters->isVisible());
                QTest::mouseClick(button(letters, QStringLiteral("Cerrar")), Qt::LeftButton);
                QVERIFY(!letters->isVisible());
            }
        }
        QTRY_COMPARE(QApplication::focusWidget(), activity);
        for (int key : { Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space })
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), activity);
        QVERIFY(m_window->isVisible());
        QVERIFY(!panel->letterSelection()->isVisible());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_window->statusBar()->currentMessage().startsWith(QLatin1String("Idioma"))
                ? QString()
                : m_window->statusBar()->currentMessage(),
            status);
        QCOMPARE(boxes, QStringList());
        Dialogs::setInformationHandler({});
    }

    // An adult without a mouse borrows the panel's keys: Ctrl+F6 brings them
    // there, Tab and Shift+Tab go round it without falling into the
    // activity, and Escape gives them back, the activity hearing no key of
    // the adult's (its own Escape would turn the key menu on).
    void keyboardLentToThePanel()
    {
        makeWindow(false);
        QVERIFY(startAnaAtTheLetters());
        MenuWidget *panel = m_window->activityArea()->sidePanel();
        QWidget *activity = m_window->activityArea()->lettersWidget();

        QTest::keyClick(activity, Qt::Key_F6, Qt::ControlModifier);
        QWidget *first = QApplication::focusWidget();
        QVERIFY(panel->isAncestorOf(first));
        QSet<QWidget *> visited { first };
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));
            visited << QApplication::focusWidget();
        }
        QVERIFY2(visited.size() >= 5, "Tab goes round the panel's controls");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));
        m_clips->clear();
        // As the X server does: each event to the widget focused at the time.
        QTest::keyPress(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), activity);
        QTest::qWait(100);
        QVERIFY(!m_clips->requestedNames().contains(QStringLiteral("Modo menu.ogg")));
        // Given back, the panel takes no key again: Tab stays in the activity.
        QTest::keyClick(activity, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), activity);
        for (QWidget *control : std::as_const(visited))
            QCOMPARE(control->focusPolicy() & Qt::TabFocus, 0);
    }

    void audibleMenu_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<Address>("started");
        const int F1 = Qt::Key_F1, F2 = Qt::Key_F2, F3 = Qt::Key_F3, F4 = Qt::Key_F4;
        const int R = Qt::Key_Right, L = Qt::Key_Left, D = Qt::Key_Down, U = Qt::Key_Up;
        const int Ret = Qt::Key_Return, Ent = Qt::Key_Enter;
        const QString tales = QStringLiteral("media/languages/Espanol/Textos/Cuentos/");
        QTest::newRow("F1 Right Down Return")
            << QList<int> { F1, R, D, Ret }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   menuClip("Te presento sonidos") }
            << Address { 0, 0 };
        QTest::newRow("letters hidden in the second submenu")
            << QList<int> { F1, R, R, D, D, Ent }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   menuClip("Nombres de las Letras"), menuClip("Te presento nombres"),
                   menuClip("Letras escondidas") }
            << Address { 0, 4 };
        QTest::newRow("last braille entry on the brailler")
            << QList<int> { F2, R, R, D, D, D, D, D, D, Ret }
            << QStringList { menuClip("Braille"), menuClip("Cajetin"), menuClip("Maquina Perkins"),
                   menuClip("Exploracion cajetin"), menuClip("Puntos escondidos"),
                   menuClip("Formemos letras"), menuClip("Letras escondidas"),
                   menuClip("Te presento numeros"), menuClip("Numeros escondidos") }
            << Address { 1, 11 };
        // Past either end of a list the end is said; the next key back names
        // the neighbour.
        const QString end = menuClip("No hay mas");
        QTest::newRow("Right past the last submenu says the end")
            << QList<int> { F1, R, R, R, R, R, L, int(Qt::Key_A) }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   menuClip("Nombres de las Letras"), menuClip("Numeros"), end, end,
                   menuClip("Numeros") }
            << Address {};
        QTest::newRow("Down past the last entry says the end, Up names the last")
            << QList<int> { F1, R, R, R, D, D, D, D, U, Ret }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   menuClip("Nombres de las Letras"), menuClip("Numeros"),
                   menuClip("Te presento numeros"), menuClip("Numeros escondidos"), end, end,
                   menuClip("Numeros escondidos") }
            << Address { 0, 7 };
        QTest::newRow("Down right after F1 names the first entry")
            << QList<int> { F1, D, D, U, U, Ret }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Te presento sonidos"),
                   menuClip("Como suena"), menuClip("Te presento sonidos"), end }
            << Address { 0, 0 };
        QTest::newRow("Return names nothing")
            << QList<int> { Ret, F1, Ret, R, Ret, D, D, D, D, Ret }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   menuClip("Te presento sonidos"), menuClip("Como suena"),
                   menuClip("Como empieza"), end }
            << Address {};
        QTest::newRow("tales, in name order ignoring case")
            << QList<int> { F3, R, D, D, D, U, U, U, D, Ret }
            << QStringList { menuClip("Lenguaje"), menuClip("Cuentos"),
                   tales + "caperucita/menu.ogg", tales + "El gato/menu.ogg", end,
                   tales + "El gato/menu.ogg", tales + "caperucita/menu.ogg", end,
                   tales + "El gato/menu.ogg" }
            << Address { 2, 0 };
        QTest::newRow("F4 Return writes")
            << QList<int> { F4, Ret } << QStringList { menuClip("Escribir") } << Address { 3, 0 };
        QTest::newRow("F12 helps and keeps the position")
            << QList<int> { F1, R, Qt::Key_F12, D }
            << QStringList { menuClip("Letras y Numeros"), menuClip("Sonidos de las Letras"),
                   QStringLiteral("media/system/audio/instructions/ayuda.ogg"),
                   menuClip("Te presento sonidos") }
            << Address {};
    }

    void audibleMenu()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, heard);
        QFETCH(Address, started);
        makeWindow(false);
        m_window->chooseLanguage(QStringLiteral("Espanol"));
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        for (int key : keys)
            m_window->slotSayMenu(key);
        // What the menu said; the activity started says its own clips.
        QStringList said = clips();
        said.removeIf([](const QString &clip) {
            return !clip.contains(QLatin1String("/menus/"))
                && !clip.endsWith(QLatin1String("/menu.ogg"))
                && !clip.endsWith(QLatin1String("/ayuda.ogg"));
        });
        QCOMPARE(said, heard);
        QCOMPARE(lastAddress(changed), started);
    }

    // Inside an activity, Escape hands the child's keys to the spoken menu.
    void keysReachTheAudibleMenuFromAnActivity()
    {
        makeWindow(false);
        m_window->slotStartActivity(1, 0);
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        BrailleWidget *braille = m_window->activityArea()->brailleWidget();
        for (int key : { int(Qt::Key_Escape), int(Qt::Key_F1), int(Qt::Key_Right),
                 int(Qt::Key_Down), int(Qt::Key_Down), int(Qt::Key_Return) })
            release(braille, key);
        QCOMPARE(lastAddress(changed), (Address { 0, 1 }));
        QVERIFY(clips().contains(menuClip("Como suena")));
    }

    void textsMenus()
    {
        makeWindow(false);
        m_window->chooseLanguage(QStringLiteral("Espanol"));
        m_window->chooseLanguage(QStringLiteral("Espanol"));
        QMenu *tales = m_window->textsMenu(QStringLiteral("Cuentos"));
        QCOMPARE(tales->actions().size(), 2);
        QCOMPARE(tales->actions().at(0)->text(), QStringLiteral("caperucita"));
        QCOMPARE(m_window->textsMenu(QStringLiteral("Fabulas"))->actions().size(), 1);
        QCOMPARE(m_window->statusBar()->currentMessage(),
            QStringLiteral("Idioma seleccionado : Espanol"));

        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        Q_EMIT tales->hovered(tales->actions().at(1));
        QCOMPARE(clips().last(),
            QStringLiteral("media/languages/Espanol/Textos/Cuentos/El gato/menu.ogg"));
        tales->actions().at(1)->trigger();
        QCOMPARE(lastAddress(changed), (Address { 2, 0 }));

        // A language without texts lists nothing, and nothing of the last one.
        m_window->chooseLanguage(QStringLiteral("Ingles"));
        QVERIFY(tales->actions().isEmpty());
    }

    // A few entries of the menu bar, by their texts as a sighted tutor sees
    // them: the tip, the clip when highlighted, what triggering does.
    void menuBar_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<Address>("started");
        QTest::addColumn<QColor>("barColor");
        QTest::newRow("Como suena")
            << QStringList { "&Letras y Numeros", "&Sonidos de las Letras", "¿Cómo &suena?" }
            << "¿Cómo suena?" << menuClip("Como suena") << Address { 0, 1 } << QColor(237, 125, 5);
        QTest::newRow("brailler hidden numbers")
            << QStringList { "&Braille", "&Maquina Perkins", "&Numeros Escondidos" }
            << "Numeros Escondidos" << menuClip("Numeros escondidos") << Address { 1, 11 }
            << QColor(75, 154, 68);
    }

    void menuBar()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, tip);
        QFETCH(QString, clip);
        QFETCH(Address, started);
        QFETCH(QColor, barColor);
        makeWindow(true);
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QString(), QString()));
        QSignalSpy changed(m_window->activityArea(), &MainWidget::signalActivityChanged);
        QAction *entry = action(path);
        QVERIFY(entry);
        QCOMPARE(entry->statusTip(), tip);
        m_clips->clear();
        entry->hover();
        QCOMPARE(clips(), QStringList { clip });
        entry->trigger();
        QCOMPARE(lastAddress(changed), started);
        QCOMPARE(m_window->menuBar()->palette().color(QPalette::Window), barColor);
        QCOMPARE(UserDatabase().findUser(QStringLiteral("Ana")).lastSubAct,
            QString::number(started.at(1)));
    }

    // From the keyboard a menu opens with its first entry highlighted: the
    // menu's name is heard first, then the entry's; a move on cuts both.
    void menuOpenedFromTheKeyboard()
    {
        makeWindow(true);
        QMenu *file = action({ QStringLiteral("&Archivo") })->menu();
        QAction *first = action({ QStringLiteral("&Archivo"), QStringLiteral("&Usuario") });
        Q_EMIT file->aboutToShow();
        first->hover();
        QTRY_COMPARE(m_clips->started.size(), 2);
        QCOMPARE(QStringList({ QFileInfo(m_clips->started.at(0)).fileName(),
                     QFileInfo(m_clips->started.at(1)).fileName() }),
            QStringList({ "Archivo.ogg", "Usuario.ogg" }));

        m_clips->clear();
        Q_EMIT file->aboutToShow();
        first->hover();
        QCoreApplication::processEvents();
        action({ QStringLiteral("&Archivo"), QStringLiteral("S&alir") })->hover();
        QTest::qWait(300);
        QCOMPARE(m_clips->requestedNames().count(QStringLiteral("Usuario.ogg")), 0);
        QCOMPARE(m_clips->requestedNames().last(), QStringLiteral("Salir.ogg"));
    }

    void quitting()
    {
        makeWindow(true);
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QString(), QString()));
        QAction *quit = action({ QStringLiteral("&Archivo"), QStringLiteral("S&alir") });
        QVERIFY(quit);
        quit->hover();
        QCOMPARE(clips().last(), menuClip("Salir"));
        QVERIFY(m_window->isVisible());
        quit->trigger();
        QVERIFY(!m_window->isVisible());
        // Closing wrote the session's scores.
        QVERIFY(QFile::exists(QStringLiteral("data/scores.xml")));
    }

    void reportAndAdministrator()
    {
        makeWindow(true);
        m_window->showWindow();
        logIn(learner(QStringLiteral("Ana"), QString(), QString()));
        QAction *reports = action({ QStringLiteral("&Archivo"), QStringLiteral("&Reportes") });
        QVERIFY(reports);
        reports->trigger();
        QVERIFY(m_window->reportDialog()->isVisible());
        QVERIFY(m_window->reportDialog()->exportText().startsWith(
            QStringLiteral("Usuario\tAna\nActividad\t")));

        action({ QStringLiteral("&Archivo"), QStringLiteral("&Administrador") })->trigger();
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
            return window->inherits("AdmWindow") && window->isVisible();
        }));
    }

    void printsTheActivityArea()
    {
        makeWindow(true);
        m_window->show();
        m_window->slotStartActivity(1, 0);
        const QString pdf = m_tree->root() + QStringLiteral("/screen.pdf");
        Dialogs::setPrinterHandler([&pdf](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return true;
        });
        m_window->slotPrint();
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.read(5) == "%PDF-");
        QVERIFY(printed.size() > 10000);

        // Cancelled: nothing printed.
        QFile::remove(pdf);
        Dialogs::setPrinterHandler([](QPrinter *) { return false; });
        m_window->slotPrint();
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
