#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/BrailleDisplay.h"
#include "app/MainWidget.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// "145" for dots 1, 4 and 5; "-" for the blank cell.
QString dotNames(quint8 dots)
{
    QString names;
    for (int dot = 1; dot <= 8; ++dot) {
        if (dots & (1 << (dot - 1)))
            names += QString::number(dot);
    }
    return names.isEmpty() ? QStringLiteral("-") : names;
}

// The display side of BRLTTY's Virtual driver: it says how many cells it
// has, and reads back every "Braille" line (the dots shown) the driver sends.
class VirtualDisplay : public QObject
{
public:
    ~VirtualDisplay() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool connectTo(quint16 port, int cells)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) < 0) {
            ::close(m_fd);
            m_fd = -1;
            return false;
        }
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char buffer[4096];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0) {
                m_notifier->setEnabled(false);
                return;
            }
            m_pending.append(buffer, int(n));
            int end;
            while ((end = m_pending.indexOf('\n')) >= 0) {
                const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
                m_pending.remove(0, end + 1);
                if (line.startsWith(QLatin1String("Braille ")))
                    shown << line.mid(9, line.size() - 10);
            }
        });
        return send(QStringLiteral("cells %1").arg(cells));
    }
    // A command of the driver's protocol, e.g. "passdots 3" for dots 1 and 2.
    bool send(const QString &command)
    {
        const QByteArray line = command.toUtf8() + '\n';
        return ::write(m_fd, line.constData(), size_t(line.size())) == line.size();
    }
    // The cells last shown, e.g. "1|12| | ".
    QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
    // The first n cells as dot names, "12 -" for dots 1 and 2, then a blank.
    QString firstCells(int n) const
    {
        QStringList cells = last().split(QLatin1Char('|')).mid(0, n);
        for (QString &cell : cells) {
            cell = cell.trimmed();
            if (cell.isEmpty())
                cell = QStringLiteral("-");
        }
        return cells.join(QLatin1Char(' '));
    }

    QStringList shown;

private:
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_pending;
};

} // namespace

// What a braille display is given: in the braille activities the cell
// entered or corrected, in the letters and numbers the letter or digit,
// elsewhere nothing; and a real BRLTTY, through its Virtual driver, showing
// it and sending the display's dot keys back.
class TestBrailleDisplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tree = std::make_unique<TestSupport::MediaTree>();
        // Clips that take time, so that each step of a correction is there
        // long enough for BRLTTY to show it.
        for (int dot = 1; dot <= 6; ++dot)
            addClip(MediaPaths::letterClip(QString::number(dot)));
        addClip(MediaPaths::instructionClip(QStringLiteral("puntos correctos.ogg")));
        m_area = std::make_unique<MainWidget>(&m_store);
        m_area->setLanguage(QStringLiteral("Espanol"));
        m_area->lettersWidget()->setMofliAudio(0);
        m_area->brailleWidget()->setMofliAudio(0);
        m_area->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_area.get()));
    }
    void cleanup()
    {
        m_area.reset();
        m_tree.reset();
    }

    void cells_data();
    void cells();
    void virtualDisplay();

private:
    void addClip(const QString &path)
    {
        m_tree->addClip(
            QDir(m_tree->root()).relativeFilePath(path), QStringLiteral("tone-300ms.ogg"));
    }
    // Key names as the child presses them ("7", "F", "Enter", "A"), "dotN"
    // and "space" for a braille display's keys, "menu" and "nomenu" for the
    // key menu mode, "showA,S" to choose another activity.
    void press(const QString &keys)
    {
        for (const QString &name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (name.startsWith(QLatin1String("dot"))) {
                m_area->slotBrailleDot(name.mid(3).toInt());
            } else if (name == QLatin1String("space")) {
                m_area->slotBrailleSpace();
            } else if (name == QLatin1String("menu") || name == QLatin1String("nomenu")) {
                m_area->slotKeyMenuMode(name == QLatin1String("menu"));
            } else if (name.startsWith(QLatin1String("show"))) {
                const QStringList where = name.mid(4).split(QLatin1Char(','));
                m_area->showActivity(where.at(0).toInt(), where.at(1).toInt());
            } else {
                const int key = name == QLatin1String("Enter") ? int(Qt::Key_Return)
                    : name.at(0).isDigit()                     ? Qt::Key_0 + name.at(0).digitValue()
                                           : Qt::Key_A + (name.at(0).unicode() - 'A');
                QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier,
                    name == QLatin1String("Enter") ? QStringLiteral("\r") : name.toLower());
                QWidget *page = m_area->currentActivity() == 0
                    ? static_cast<QWidget *>(m_area->lettersWidget())
                    : m_area->brailleWidget();
                QCoreApplication::sendEvent(page, &event);
            }
        }
    }

    std::unique_ptr<TestSupport::MediaTree> m_tree;
    DataStore m_store;
    std::unique_ptr<MainWidget> m_area;
};

void TestBrailleDisplay::cells_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<int>("sub");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown"); // every cell the display is given, in order

    QTest::newRow("exploration: each dot alone") << 1 << 0 << "7 8"
                                                 << "- 1 - 4";
    QTest::newRow("forming letters: dot by dot, Enter clears") << 1 << 2 << "7 8 5 Enter"
                                                               << "- 1 14 145 -";
    QTest::newRow("display keys enter dots as F D S do") << 1 << 8 << "dot1 dot2 dot3"
                                                         << "- 1 12 123";
    QTest::newRow("display keys in Perkins exploration") << 1 << 6 << "dot1 dot4"
                                                         << "- 1 - 4";
    QTest::newRow("the display's space raises no dot") << 1 << 2 << "dot1 space dot2"
                                                       << "- 1 12";
    QTest::newRow("hidden letter B: the correction raises its dots")
        << 1 << 3 << "Enter Enter Enter"
        << "- 1 12 -";
    QTest::newRow("letters: the letter pressed") << 0 << 0 << "A D"
                                                 << "- 1 - 145";
    QTest::newRow("letters: J") << 0 << 0 << "J"
                                << "- 245";
    QTest::newRow("numbers: a digit as its letter's pattern") << 0 << 6 << "3"
                                                              << "- 14";
    QTest::newRow("the key menu hides the cell") << 1 << 2 << "7 menu nomenu"
                                                 << "- 1 - 1";
    QTest::newRow("texts show nothing") << 1 << 2 << "7 show2,0"
                                        << "- 1 -";
    QTest::newRow("writing shows nothing") << 0 << 0 << "A show3,0"
                                           << "- 1 -";
    QTest::newRow("display keys do nothing in the letters") << 0 << 0 << "dot1 dot2"
                                                            << "-";
}

void TestBrailleDisplay::cells()
{
    QFETCH(int, activity);
    QFETCH(int, sub);
    QFETCH(QString, keys);
    QFETCH(QString, shown);

    QStringList cells;
    connect(m_area.get(), &MainWidget::brailleCellChanged, this,
        [&cells](quint8 dots) { cells << dotNames(dots); });
    m_area->brailleWidget()->slotSelectedLetters(QStringLiteral("B"));
    m_area->showActivity(activity, sub);
    press(keys);
    QTRY_COMPARE(cells.join(QLatin1Char(' ')), shown);
    QTest::qWait(50);
    QCOMPARE(cells.join(QLatin1Char(' ')), shown);
}

// A private BRLTTY with its Virtual driver and no screen: the lesson's cells
// reach the display, its dot keys reach the lesson, and the display goes
// back to BRLTTY when the window is no longer active.
void TestBrailleDisplay::virtualDisplay()
{
    if (!BrailleDisplay::supported())
        QSKIP("Built without BrlAPI (libbrlapi-dev was not found)");
    QString brltty = QStandardPaths::findExecutable(QStringLiteral("brltty"));
    if (brltty.isEmpty())
        brltty = QStandardPaths::findExecutable(
            QStringLiteral("brltty"), { QStringLiteral("/usr/sbin"), QStringLiteral("/sbin") });
    if (brltty.isEmpty())
        QSKIP("brltty is not installed");

    // Ports of this run's own: BrlAPI listens on 4101 + its number.
    const int apiNumber = 40 + int(::getpid() % 50);
    const auto virtualPort = quint16(36000 + ::getpid() % 1000);
    QTemporaryDir dir;
    QProcess daemon;
    daemon.setProcessChannelMode(QProcess::MergedChannels);
    daemon.start(brltty,
        { "-n", "-e", "-q", "-f", "/dev/null", "-F", dir.filePath("prefs"), "-b", "vr", "-d",
            QStringLiteral("server:127.0.0.1:%1").arg(virtualPort), "-x", "no", "-s", "no", "-A",
            QStringLiteral("host=127.0.0.1:%1,auth=none").arg(apiNumber), "-W", dir.path(), "-U",
            dir.path(), "-P", dir.filePath("pid") });
    if (!daemon.waitForStarted(5000))
        QSKIP("brltty cannot be started");
    const auto stop = qScopeGuard([&daemon] {
        daemon.terminate();
        if (!daemon.waitForFinished(5000))
            daemon.kill();
    });

    VirtualDisplay display;
    QElapsedTimer waited;
    waited.start();
    while (!display.connectTo(virtualPort, 20)) {
        if (daemon.state() != QProcess::Running || waited.elapsed() > 10000)
            QSKIP(qPrintable("brltty's Virtual driver did not listen: "
                + QString::fromLocal8Bit(daemon.readAll()).right(500)));
        QTest::qWait(100);
    }
    // BRLTTY's own message, with no screen to show.
    QTRY_VERIFY_WITH_TIMEOUT(!display.shown.isEmpty(), 10000);
    QVERIFY(display.firstCells(1) != QLatin1String("-"));

    qputenv("BRLAPI_HOST", QByteArray("127.0.0.1:") + QByteArray::number(apiNumber));
    qputenv("BRLAPI_AUTH", "none");
    BrailleDisplay braille;
    QSignalSpy checked(&braille, &BrailleDisplay::connectionChecked);
    QVERIFY(checked.wait(10000));
    QVERIFY(checked.at(0).at(0).toBool());
    connect(m_area.get(), &MainWidget::brailleCellChanged, &braille, &BrailleDisplay::showCell);
    connect(&braille, &BrailleDisplay::dotKey, m_area.get(), &MainWidget::slotBrailleDot);
    connect(&braille, &BrailleDisplay::spaceKey, m_area.get(), &MainWidget::slotBrailleSpace);
    braille.setActive(true);
    QTRY_COMPARE(display.firstCells(3), QStringLiteral("- - -"));

    // Exploration: a keypad dot, then a brailler key adds to it.
    m_area->showActivity(1, 0);
    press(QStringLiteral("7"));
    QTRY_COMPARE(display.firstCells(2), QStringLiteral("1 -"));
    press(QStringLiteral("J"));
    QTRY_COMPARE(display.firstCells(2), QStringLiteral("14 -"));

    // Forming letters from the display's keys: dots 1 and 2 pressed
    // together, heard one after the other, then dot 4.
    TestSupport::ClipRecorder clips;
    m_area->showActivity(1, 2);
    QTRY_COMPARE(display.firstCells(2), QStringLiteral("- -"));
    QVERIFY(display.send(QStringLiteral("passdots 3")));
    QTRY_COMPARE(display.firstCells(2), QStringLiteral("12 -"));
    QVERIFY(display.send(QStringLiteral("passdots 8")));
    QTRY_COMPARE(display.firstCells(2), QStringLiteral("124 -"));
    QTRY_COMPARE(clips.started,
        QStringList({ MediaPaths::letterClip("1"), MediaPaths::letterClip("2"),
            MediaPaths::letterClip("4") }));

    // Hidden letter B, three wrong answers: the correction raises dot 1,
    // then dots 1 and 2, and the next question starts from a blank cell.
    m_area->brailleWidget()->slotSelectedLetters(QStringLiteral("B"));
    m_area->showActivity(1, 3);
    QTRY_COMPARE(display.firstCells(1), QStringLiteral("-"));
    const int mark = display.shown.size();
    press(QStringLiteral("Enter Enter Enter"));
    QStringList cells;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            cells.clear();
            for (const QString &line : display.shown.mid(mark)) {
                const QString cell = line.section(QLatin1Char('|'), 0, 0).trimmed();
                if (cells.isEmpty() || cells.last() != cell)
                    cells << cell;
            }
            return cells.join(QLatin1Char(' ')).endsWith(QLatin1String("1 12 "));
        }(),
        10000);

    // The window inactive: the display is BRLTTY's again, and what the
    // lesson shows meanwhile waits for the window to be active again.
    braille.setActive(false);
    press(QStringLiteral("7 8"));
    QTest::qWait(500);
    QCOMPARE(display.firstCells(1), QStringLiteral("-"));
    braille.setActive(true);
    QTRY_COMPARE(display.firstCells(1), QStringLiteral("14"));
}

QTEST_MAIN(TestBrailleDisplay)
#include "tst_brailledisplay.moc"
