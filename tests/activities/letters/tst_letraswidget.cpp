#include "activities/letters/LetrasWidget.h"
#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"
#include "content/MediaPaths.h"
#include "support/TestSupport.h"
#include "users/Score.h"
#include "users/ScoreManager.h"

#include <QBuffer>
#include <QDomDocument>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>
#include <cstdlib>
#include <memory>

using TestSupport::ClipRecorder;
using TestSupport::MediaTree;

namespace {

const QString language = QStringLiteral("Espanol");
const QString empty = QStringLiteral("-"); // a step that plays the empty clip

// Words of the fixture tree. "Z" has a folder holding no word; "9" has none either.
const QList<QPair<QString, QString>> letterWords = {
    { "A", "Arbol" },
    { "B", "Barco" },
    { "C", "Ciudad" },
    { "E", "Elefante" },
    { "I", "Iglesia" },
    { "L", "Leon" },
    { "M", "Manzana" },
    { "Ntilde", "Nandu" },
    { "O", "Oso" },
    { "U", "Uva" },
};
const QList<QPair<QString, QString>> numberWords = {
    { "0", "Rosquilla" },
    { "1", "Sol" },
    { "2", "Ojos" },
    { "3", "Gatos" },
    { "4", "Patas" },
    { "5", "Dedos" },
    { "6", "Huevos" },
    { "7", "Dias" },
    { "8", "Pulpo" },
};

QString wordOf(const QList<QPair<QString, QString>> &table, const QString &item)
{
    for (const auto &entry : table) {
        if (entry.first == item)
            return entry.second;
    }
    return QString();
}

// Clips as the child hears them: instructions by file name, word files from
// the language folder down, letter clips as "letters/…".
QString shortName(const QString &path)
{
    if (path.isEmpty())
        return empty;
    const QString languages = QStringLiteral("/media/languages/") + language + QLatin1Char('/');
    const int at = path.indexOf(languages);
    if (at >= 0)
        return path.mid(at + languages.size());
    const QString letters = QStringLiteral("/media/system/audio/letters/");
    if (path.contains(letters))
        return QStringLiteral("letters/") + path.section(QLatin1Char('/'), -1);
    if (path.startsWith(QLatin1String("media/system/audio/instructions/")))
        return path.section(QLatin1Char('/'), -1);
    return path;
}

// The widget's draws, replayed: the same generator and seed, and the same
// formula low + r / 32768 × (high − low + 1).
class Draws
{
public:
    explicit Draws(unsigned int seed)
    {
        std::srand(seed);
        for (int i = 0; i < 4000; ++i)
            m_values << int(double(std::rand()) / (double(RAND_MAX) + 1.0) * 32768.0);
    }
    int draw(int low, int high)
    {
        return low + int(double(m_values.at(m_next++)) / 32768.0 * double(high - low + 1));
    }
    QString letter() { return MediaPaths::alphabet().at(draw(1, 27) - 1); }
    QString digit() { return QString::number(draw(1, 10) - 1); }
    // Letters until one is in the selection (given as the dialog gives it).
    QString letterIn(const QString &selection)
    {
        for (;;) {
            const QString l = letter();
            if (selection.contains(MediaPaths::letterDisplay(l)))
                return l;
        }
    }
    QString praise()
    {
        static const QStringList clips
            = { "excelente.ogg", "muy bien.ogg", "bravo.ogg", "bien.ogg", "perfecto.ogg" };
        return clips.at(draw(1, 5) - 1);
    }
    QString encouragement()
    {
        return draw(1, 2) == 1 ? QStringLiteral("puedes hacerlo mejor.ogg")
                               : QStringLiteral("intentalo de nuevo.ogg");
    }
    // The word draw of a letter or digit: its one word in the fixture, and
    // no draw at all for a folder without words.
    void wordOf(const QString &item)
    {
        if (!::wordOf(letterWords, item).isEmpty() || !::wordOf(numberWords, item).isEmpty())
            draw(0, 0);
    }

private:
    QVector<int> m_values;
    int m_next = 0;
};

// A seed whose first digit draw gives the wanted digit.
unsigned int seedForFirstDigit(const QString &digit)
{
    for (unsigned int seed = 1;; ++seed) {
        if (Draws(seed).digit() == digit)
            return seed;
    }
}

QByteArray pictureBytes()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

class TestLetrasWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void construction();
    void tables_data();
    void tables();
    void gender_data();
    void gender();

    void presentSounds();
    void presentWithSelection();
    void presentNames();
    void presentNumbers();
    void spellWordWithDigits();
    void digitKeys_data();
    void digitKeys();
    void escapeTwice();
    void keysThatMeanNothing_data();
    void keysThatMeanNothing();
    void instructionAndMascot_data();
    void instructionAndMascot();
    void otherGroupLeavesWidgetIdle();

    void comoSuenaRightAndWrong();
    void comoEmpiezaRightAndWrong();
    void letrasEscondidasWithNtildeOnly();
    void objetosEscondidosArticles_data();
    void objetosEscondidosArticles();
    void numerosEscondidosRightAndWrong();
    void turnDelayIsThreeSeconds();
    void vowelSelection();
    void learnedLetterRule();
    void lastInstruction();
    void leavingActivityMidSequence();

    void letterWithoutWords();
    void digitWithoutWords();
    void keyBeforeFirstTarget_data();
    void keyBeforeFirstTarget();
    void noTargetRecordsNothing();
    void oneShotPlayersReleased();

    void scoresReadBackAfterWrite();
    void scoresKeepOtherLearnersAndTypes();
    void reportsInSetOrder();

private:
    QStringList clips() const;
    // Clips requested since the last mark.
    QStringList clipsSinceMark() const { return clips().mid(m_mark); }
    // What the child saw when each of those clips was asked for.
    QStringList screensSinceMark() const { return m_screens.mid(m_mark); }
    void mark() { m_mark = int(m_clips->requested.size()); }
    QString screen() const;
    bool idle() const;
    void waitIdle();
    void release(int key, const QString &text = QString());
    void releaseLetter(const QString &letter);
    void start(int activity, unsigned int seed, const QString &selection = QString());
    QLabel *label(const char *name) const;
    QString shown(const char *name) const;

    std::unique_ptr<MediaTree> m_tree;
    std::unique_ptr<ClipRecorder> m_clips;
    std::unique_ptr<LetrasWidget> m_w;
    QStringList m_screens;
    QList<qint64> m_requestTimes; // ms on m_clock
    QElapsedTimer m_clock;
    int m_mark = 0;
};

void TestLetrasWidget::initTestCase()
{
    m_tree = std::make_unique<MediaTree>();
    static const char *const instructions[] = {
        "Te presento sonidos.ogg",
        "Como suena.ogg",
        "Como empieza.ogg",
        "Te presento nombres.ogg",
        "Letras escondidas.ogg",
        "Objetos escondidos.ogg",
        "Te presento numeros.ogg",
        "Numeros escondidos.ogg",
        "Modo menu.ogg",
        "Modo normal.ogg",
        "durmiendo.ogg",
        "bravo.ogg",
        "excelente.ogg",
        "muy bien.ogg",
        "bien.ogg",
        "perfecto.ogg",
        "puedes hacerlo mejor.ogg",
        "intentalo de nuevo.ogg",
        "izquierda.ogg",
        "derecha.ogg",
        "arriba.ogg",
        "abajo.ogg",
        "el sonido con que empieza.ogg",
        "escondido en la letra.ogg",
        "la.ogg",
        "el.ogg",
        "de.ogg",
        "escondido en la.ogg",
        "escondido en el.ogg",
        "encontraste el sonido.ogg",
        "esta palabra empieza con.ogg",
        "encontraste a la.ogg",
        "encontraste a.ogg",
        "que vive en.ogg",
    };
    for (const char *name : instructions)
        m_tree->addClip(QStringLiteral("media/system/audio/instructions/") + QLatin1String(name));
    for (const char *letter : { "N", "U", "Z", "Ntilde", "9" })
        m_tree->addClip(QStringLiteral("media/system/audio/letters/") + QLatin1String(letter)
            + QStringLiteral(".ogg"));

    const QString root = QStringLiteral("media/languages/") + language;
    const QByteArray picture = pictureBytes();
    for (const auto &entry : letterWords) {
        const QString word = root + QStringLiteral("/Letras/") + entry.first + QLatin1Char('/')
            + entry.second + QLatin1Char('/');
        for (const char *file : { "letter_sound.ogg", "letter_name.ogg", "sound.ogg", "name.ogg",
                 "sentence.ogg", "sentence1.ogg", "sentence8.ogg", "sentence9.ogg" })
            m_tree->addClip(word + QLatin1String(file));
        m_tree->addFile(word + QStringLiteral("image.jpg"), picture);
        m_tree->addFile(
            root + QStringLiteral("/Letras/") + entry.first + QStringLiteral("/sugerencias.txt"),
            "<sugerencias/>");
    }
    // A stray file is no word.
    m_tree->addFile(root + QStringLiteral("/Letras/Z/sugerencias.txt"), "<sugerencias/>");
    for (const auto &entry : numberWords) {
        const QString word = root + QStringLiteral("/Numeros/") + entry.first + QLatin1Char('/')
            + entry.second + QLatin1Char('/');
        for (const char *file : { "letter_name.ogg", "sound.ogg", "name.ogg" })
            m_tree->addClip(word + QLatin1String(file));
        m_tree->addFile(word + QStringLiteral("image.jpg"), picture);
    }
    m_tree->addFolder(root + QStringLiteral("/Numeros/9"));
}

void TestLetrasWidget::init()
{
    QFile::remove(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    m_clips = std::make_unique<ClipRecorder>();
    m_w = std::make_unique<LetrasWidget>();
    m_w->language = language;
    m_w->setTurnDelayForTesting(0);
    m_mark = 0;
    m_screens.clear();
    m_requestTimes.clear();
    m_clock.start();
    // Connected after the recorder, so both lists stay in step.
    connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, m_w.get(), [this] {
        m_screens << screen();
        m_requestTimes << m_clock.elapsed();
    });
}

void TestLetrasWidget::cleanup()
{
    waitIdle();
    m_w.reset();
    m_clips.reset();
}

QStringList TestLetrasWidget::clips() const
{
    QStringList names;
    for (const QString &path : m_clips->requested)
        names << shortName(path);
    return names;
}

bool TestLetrasWidget::idle() const
{
    const auto players = m_w->findChildren<AudioThread *>();
    for (AudioThread *player : players) {
        if (player->isRunning())
            return false;
    }
    return true;
}

// Lets every sequence under way come to its end, so the next key meets
// players that are free again.
void TestLetrasWidget::waitIdle()
{
    if (!m_w)
        return;
    for (int settled = 0; settled < 3;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (idle()) {
            ++settled;
        } else {
            settled = 0;
            QTest::qWait(5);
        }
    }
}

void TestLetrasWidget::release(int key, const QString &text)
{
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(m_w.get(), &event);
}

void TestLetrasWidget::releaseLetter(const QString &letter)
{
    if (letter == QLatin1String("Ntilde"))
        release(Qt::Key_Ntilde, QStringLiteral("\u00f1"));
    else if (letter.at(0).isDigit())
        release(Qt::Key_0 + letter.at(0).digitValue(), letter);
    else
        release(Qt::Key_A + (letter.at(0).unicode() - 'A'), letter.toLower());
}

// Starts a guessing activity with a known seed; the first turn begins when
// the instruction has been heard.
void TestLetrasWidget::start(int activity, unsigned int seed, const QString &selection)
{
    m_w->seedRandomForTesting(seed);
    m_w->slotSelectedLetters(selection);
    m_w->setActivity(0, activity);
}

QLabel *TestLetrasWidget::label(const char *name) const
{
    return m_w->findChild<QLabel *>(QLatin1String(name));
}

// The text of a label the child can see, or "" while it is hidden.
QString TestLetrasWidget::shown(const char *name) const
{
    QLabel *l = label(name);
    return l->isVisibleTo(m_w.get()) ? l->text() : QString();
}

// "letter|word|picture", each part empty while hidden; "empty" for a shown
// picture label without a picture.
QString TestLetrasWidget::screen() const
{
    QLabel *picture = label("pictureLabel");
    QString pictureText;
    if (picture->isVisibleTo(m_w.get()))
        pictureText
            = picture->pixmap().isNull() ? QStringLiteral("empty") : QStringLiteral("picture");
    return shown("letterLabel") + QLatin1Char('|') + shown("wordLabel") + QLatin1Char('|')
        + pictureText;
}

// ---------------------------------------------------------------------------

void TestLetrasWidget::construction()
{
    QCOMPARE(m_w->size(), QSize(560, 500));
    QCOMPARE(m_w->frameStyle(), int(QFrame::Panel | QFrame::Plain));
    QCOMPARE(m_w->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(m_w->palette().color(QPalette::Inactive, QPalette::Window), QColor(Qt::white));

    QLabel *letter = label("letterLabel");
    QLabel *word = label("wordLabel");
    QLabel *picture = label("pictureLabel");
    QVERIFY(letter && word && picture);
    QCOMPARE(letter->pos(), QPoint(30, 40));
    QCOMPARE(letter->font().pointSize(), 170);
    QVERIFY(letter->font().bold());
    QCOMPARE(word->pos(), QPoint(100, 380));
    QCOMPARE(word->font().pointSize(), 50);
    QCOMPARE(picture->geometry(), QRect(240, 50, 300, 300));
    QVERIFY(!letter->isVisibleTo(m_w.get()) && !word->isVisibleTo(m_w.get())
        && !picture->isVisibleTo(m_w.get()));

    // The five sets, with the kinds the reports and the file need.
    const QStringList names = { "Como Suena", "Como Empieza", "", "Letras Escondidas",
        "Objetos Escondidos", "", "Numeros Escondidos" };
    for (int activity = 1; activity <= 7; ++activity) {
        ScoreManager *set = m_w->scoreSet(activity);
        const QString name = names.at(activity - 1);
        QCOMPARE(set ? set->name() : QString(), name);
        if (set)
            QCOMPARE(
                set->kind(), int(activity == 7 ? ScoreManager::Numbers : ScoreManager::Letters));
    }
    QVERIFY(!m_w->scoreSet(0) && !m_w->scoreSet(3) && !m_w->scoreSet(6));
}

void TestLetrasWidget::tables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");

    QTest::newRow("Zampona") << "accent"
                             << "Zampona" << QStringLiteral("Zampoña");
    QTest::newRow("Yacare") << "accent"
                            << "Yacare" << QStringLiteral("Yacaré");
    QTest::newRow("Xilofono") << "accent"
                              << "Xilofono" << QStringLiteral("Xilófono");
    QTest::newRow("Nandu") << "accent"
                           << "Nandu" << QStringLiteral("Ñandú");
    QTest::newRow("Helicoptero") << "accent"
                                 << "Helicoptero" << QStringLiteral("Helicóptero");
    QTest::newRow("Laud") << "accent"
                          << "Laud" << QStringLiteral("Laúd");
    QTest::newRow("Ninos") << "accent"
                           << "Ninos" << QStringLiteral("Niños");
    QTest::newRow("Telefono") << "accent"
                              << "Telefono" << QStringLiteral("Teléfono");
    QTest::newRow("whole name only") << "accent"
                                     << "Leones"
                                     << "Leones";
    QTest::newRow("case-sensitive") << "accent"
                                    << "leon"
                                    << "leon";
    QTest::newRow("not in table") << "accent"
                                  << "Manzana"
                                  << "Manzana";
    QTest::newRow("0") << "number"
                       << "0"
                       << "Cero";
    QTest::newRow("4") << "number"
                       << "4"
                       << "Cuatro";
    QTest::newRow("7") << "number"
                       << "7"
                       << "Siete";
    QTest::newRow("9") << "number"
                       << "9"
                       << "Nueve";
    QTest::newRow("none") << "number"
                          << "none"
                          << "";
    QTest::newRow("10") << "number"
                        << "10"
                        << "";
    QTest::newRow("title 0") << "title"
                             << "0"
                             << "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos";
    QTest::newRow("title 5") << "title"
                             << "5"
                             << "Letras y Numeros -  Nombres de las Letras - Objetos escondidos";
    QTest::newRow("title 7") << "title"
                             << "7"
                             << "Letras y Numeros -  Numeros de las Letras - Numeros escondidos";
    QTest::newRow("title 8") << "title"
                             << "8"
                             << "";
}

void TestLetrasWidget::tables()
{
    QFETCH(QString, kind);
    QFETCH(QString, in);
    QFETCH(QString, out);
    if (kind == QLatin1String("accent"))
        QCOMPARE(m_w->fixCharacters(in), out);
    else if (kind == QLatin1String("number"))
        QCOMPARE(LetrasWidget::numberWord(in), out);
    else
        QCOMPARE(LetrasWidget::activityTitle(in.toInt()), out);
}

void TestLetrasWidget::gender_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("feminine");
    QTest::newRow("Manzana") << "Manzana" << true;
    QTest::newRow("Ciudad") << "Ciudad" << true;
    QTest::newRow("Leon") << "Leon" << false;
    QTest::newRow("Nandu") << "Nandu" << false;
    QTest::newRow("upper-case A") << "MANZANA" << false;
    QTest::newRow("ends in d only") << "Red" << false;
}

void TestLetrasWidget::gender()
{
    QFETCH(QString, word);
    QFETCH(bool, feminine);
    QCOMPARE(LetrasWidget::isFeminine(word), feminine);
}

// ---------------------------------------------------------------------------
// Presentations

void TestLetrasWidget::presentSounds()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    m_w->setActivity(0, 0);
    QTRY_COMPARE(clips(), QStringList { "Te presento sonidos.ogg" });
    waitIdle();

    releaseLetter("B");
    QTRY_COMPARE(clips().mid(1),
        (QStringList { "Letras/B/Barco/letter_sound.ogg", "Letras/B/Barco/sound.ogg",
            "Letras/B/Barco/name.ogg" }));
    waitIdle();
    // The letter, then the picture, then the word appear.
    QCOMPARE(m_screens.mid(1), (QStringList { "B||", "B||picture", "B|Barco|picture" }));
    QCOMPARE(screen(), QStringLiteral("B|Barco|picture"));

    mark();
    releaseLetter("Ntilde");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { "Letras/Ntilde/Nandu/letter_sound.ogg", "Letras/Ntilde/Nandu/sound.ogg",
            "Letras/Ntilde/Nandu/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("Ñ"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Ñandú"));
    QCOMPARE(m_w->currentLetter(), QStringLiteral("Ntilde"));

    const QString title = LetrasWidget::activityTitle(0);
    QCOMPARE(suggestions.count(), 3);
    QCOMPARE(suggestions.at(0), (QVariantList { QString(), QString() }));
    QCOMPARE(suggestions.at(1), (QVariantList { title, QStringLiteral("B") }));
    QCOMPARE(suggestions.at(2), (QVariantList { title, QStringLiteral("Ntilde") }));
}

void TestLetrasWidget::presentWithSelection()
{
    m_w->setMofliAudio(0);
    m_w->slotSelectedLetters(QStringLiteral("BCD"));
    m_w->setActivity(0, 0);
    releaseLetter("A");
    QTRY_COMPARE(clips(), QStringList { "durmiendo.ogg" });
    waitIdle();
    QCOMPARE(shown("letterLabel"), QString());
    QVERIFY(!label("pictureLabel")->isVisibleTo(m_w.get()));

    releaseLetter("B");
    QTRY_COMPARE(clips().mid(1),
        (QStringList { "Letras/B/Barco/letter_sound.ogg", "Letras/B/Barco/sound.ogg",
            "Letras/B/Barco/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("B"));
}

void TestLetrasWidget::presentNames()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    releaseLetter("L");
    QTRY_COMPARE(clips(),
        (QStringList { "Letras/L/Leon/letter_name.ogg", "Letras/L/Leon/sound.ogg",
            "Letras/L/Leon/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("L"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("León"));
}

void TestLetrasWidget::presentNumbers()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    releaseLetter("3");
    QTRY_COMPARE(clips(),
        (QStringList { "Numeros/3/Gatos/letter_name.ogg", "Numeros/3/Gatos/sound.ogg",
            "Numeros/3/Gatos/name.ogg" }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("3"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Tres"));
    QVERIFY(label("pictureLabel")->isVisibleTo(m_w.get()));
    waitIdle();

    // "0" presents like any digit; a letter means nothing here.
    mark();
    releaseLetter("0");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { "Numeros/0/Rosquilla/letter_name.ogg", "Numeros/0/Rosquilla/sound.ogg",
            "Numeros/0/Rosquilla/name.ogg" }));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Cero"));
    waitIdle();
    releaseLetter("A");
    QTRY_COMPARE(clips().last(), QStringLiteral("durmiendo.ogg"));
    // Only the activity change spoke to the side panel.
    QCOMPARE(suggestions.count(), 1);
}

void TestLetrasWidget::spellWordWithDigits()
{
    m_w->setMofliAudio(0);
    m_w->slotPhonemes(true);
    m_w->setActivity(0, 0);
    releaseLetter("Ntilde");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();

    // "Nandu": digit 2 is its first letter, 6 its last, 7 lies beyond it.
    mark();
    releaseLetter("2");
    releaseLetter("7");
    releaseLetter("6");
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "letters/N.ogg", "letters/U.ogg" }));
    waitIdle();
    // Digits 1 … 9 leave the presentation on screen; 1 says the whole word.
    QCOMPARE(shown("letterLabel"), QStringLiteral("Ñ"));
    releaseLetter("1");
    QTRY_COMPARE(clipsSinceMark().last(), QStringLiteral("Letras/Ntilde/Nandu/name.ogg"));
    waitIdle();
    QCOMPARE(shown("wordLabel"), QStringLiteral("Ñandú"));
    // 0 hides it and says nothing; the next key proves nothing came between.
    releaseLetter("0");
    QCOMPARE(shown("letterLabel"), QString());
    release(Qt::Key_F5);
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList {
            "letters/N.ogg", "letters/U.ogg", "Letras/Ntilde/Nandu/name.ogg", "durmiendo.ogg" }));
}

void TestLetrasWidget::digitKeys_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<bool>("sentences");
    QTest::addColumn<bool>("phonemes");
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("clip"); // "" when the key says nothing

    QTest::newRow("3: no flag") << 3 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("3: sentence, 1") << 3 << true << false << 1 << "Letras/L/Leon/sentence.ogg";
    QTest::newRow("3: sentence, 2") << 3 << true << false << 2 << "Letras/L/Leon/sentence1.ogg";
    QTest::newRow("3: sentence, 9") << 3 << true << false << 9 << "Letras/L/Leon/sentence8.ogg";
    QTest::newRow("3: sentence, missing part") << 3 << true << false << 5 << "";
    QTest::newRow("3: sentence, 0") << 3 << true << false << 0 << "";
    QTest::newRow("3: phonemes only") << 3 << false << true << 2 << "";
    QTest::newRow("0: no flag") << 0 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("0: sentence only") << 0 << true << false << 1 << "";
    QTest::newRow("0: phonemes, 1") << 0 << false << true << 1 << "Letras/L/Leon/name.ogg";
    QTest::newRow("1: sentence") << 1 << true << false << 1 << "";
    QTest::newRow("1: no flag") << 1 << false << false << 1 << "durmiendo.ogg";
    QTest::newRow("2: phonemes") << 2 << false << true << 3 << "";
    QTest::newRow("4: no flag, 0") << 4 << false << false << 0 << "durmiendo.ogg";
}

// Digits outside the number activities, with and without the side panel's
// options; a key with no meaning afterwards marks the end.
void TestLetrasWidget::digitKeys()
{
    QFETCH(int, activity);
    QFETCH(bool, sentences);
    QFETCH(bool, phonemes);
    QFETCH(int, digit);
    QFETCH(QString, clip);

    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    releaseLetter("L");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();

    m_w->setActivity(0, activity);
    m_w->slotSentences(sentences);
    m_w->slotPhonemes(phonemes);
    mark();
    release(Qt::Key_0 + digit, QString::number(digit));
    waitIdle();
    release(Qt::Key_F5);
    QStringList expected;
    if (!clip.isEmpty())
        expected << clip;
    expected << "durmiendo.ogg";
    QTRY_COMPARE(clipsSinceMark(), expected);
    QCOMPARE(m_w->currentNumber(), QStringLiteral("none"));
}

void TestLetrasWidget::escapeTwice()
{
    QSignalSpy modes(m_w.get(), &LetrasWidget::signalKeyMenuMode);
    QSignalSpy menuKeys(m_w.get(), &LetrasWidget::signalSayMenu);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("B");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    mark();

    release(Qt::Key_Escape);
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Modo menu.ogg" });
    QVERIFY(m_w->keyMenuMode());
    waitIdle();
    // In key menu mode a letter only goes to the audible menu.
    releaseLetter("M");
    QCOMPARE(shown("letterLabel"), QStringLiteral("B"));
    release(Qt::Key_Escape);
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "Modo menu.ogg", "Modo normal.ogg" }));
    QVERIFY(!m_w->keyMenuMode());

    QCOMPARE(modes.count(), 2);
    QCOMPARE(modes.at(0).at(0).toBool(), true);
    QCOMPARE(modes.at(1).at(0).toBool(), false);
    QCOMPARE(menuKeys.count(), 2);
    QCOMPARE(menuKeys.at(0).at(0).toInt(), int(Qt::Key_Escape));
    QCOMPARE(menuKeys.at(1).at(0).toInt(), int(Qt::Key_M));

    // The second Escape cleared the screen and the keys, without "durmiendo".
    QCOMPARE(shown("letterLabel"), QString());
    QCOMPARE(shown("wordLabel"), QString());
    QCOMPARE(m_w->currentLetter(), QStringLiteral("none"));
    QCOMPARE(m_w->currentNumber(), QStringLiteral("none"));
    waitIdle();
    release(Qt::Key_F5);
    QTRY_COMPARE(
        clipsSinceMark(), (QStringList { "Modo menu.ogg", "Modo normal.ogg", "durmiendo.ogg" }));

    // The activity area sets the mode without a word.
    m_w->slotSetKeyMenuMode(true);
    releaseLetter("B");
    QCOMPARE(menuKeys.count(), 3);
    QCOMPARE(modes.count(), 2);
    // Changing activity leaves key menu mode.
    m_w->setActivity(0, 0);
    QVERIFY(!m_w->keyMenuMode());
}

void TestLetrasWidget::keysThatMeanNothing_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sleeping");

    QTest::newRow("0: F5") << 0 << int(Qt::Key_F5) << "" << true;
    QTest::newRow("0: space") << 0 << int(Qt::Key_Space) << " " << true;
    QTest::newRow("3: comma") << 3 << int(Qt::Key_Comma) << "," << true;
    QTest::newRow("1: return") << 1 << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("0: Home") << 0 << int(Qt::Key_Home) << "" << false;
    QTest::newRow("6: letter") << 6 << int(Qt::Key_A) << "a" << true;
    QTest::newRow("7: letter") << 7 << int(Qt::Key_M) << "m" << true;
    QTest::newRow("6: Ñ") << 6 << int(Qt::Key_Ntilde) << QStringLiteral("\u00f1") << true;
}

void TestLetrasWidget::keysThatMeanNothing()
{
    QFETCH(int, activity);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, sleeping);

    // The last number turn asked for something, so the letter is not an
    // answer because it is a letter.
    start(7, 11);
    QTRY_COMPARE(clips().size(), 2);
    waitIdle();
    m_w->setMofliAudio(0);
    m_w->setActivity(0, activity);
    mark();
    release(key, text);
    waitIdle();
    QCOMPARE(clipsSinceMark(), sleeping ? QStringList { "durmiendo.ogg" } : QStringList());
    QCOMPARE(m_w->scoreSet(7)->score(m_w->targetNumber())->total(), 0);
}

void TestLetrasWidget::instructionAndMascot_data()
{
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("instruction");
    QTest::newRow("0") << 0 << "Te presento sonidos.ogg";
    QTest::newRow("3") << 3 << "Te presento nombres.ogg";
    QTest::newRow("6") << 6 << "Te presento numeros.ogg";
    QTest::newRow("1") << 1 << "Como suena.ogg";
    QTest::newRow("7") << 7 << "Numeros escondidos.ogg";
}

// With the mascot's voice off nothing is said and no question is asked;
// with it on, the instruction comes first and the question after it.
void TestLetrasWidget::instructionAndMascot()
{
    QFETCH(int, activity);
    QFETCH(QString, instruction);

    m_w->setMofliAudio(0);
    m_w->setActivity(0, activity);
    release(Qt::Key_F5);
    QTRY_COMPARE(clips(), QStringList { "durmiendo.ogg" });
    waitIdle();
    QVERIFY(m_w->targetWord().isEmpty());

    m_w->setMofliAudio(2);
    mark();
    m_w->setActivity(0, activity);
    QTRY_COMPARE(clipsSinceMark().value(0), instruction);
    waitIdle();
    const bool asks = activity == 1 || activity == 7;
    QCOMPARE(clipsSinceMark().size(), asks ? 3 - (activity == 7 ? 1 : 0) : 1);
}

void TestLetrasWidget::otherGroupLeavesWidgetIdle()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("B");
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    m_w->setMofliAudio(2);
    m_w->setActivity(1, 1);
    QCOMPARE(shown("letterLabel"), QString());
    QVERIFY(!label("pictureLabel")->isVisibleTo(m_w.get()));
    releaseLetter("B");
    m_w->slotPickLetter();
    m_w->slotLastInstruction();
    waitIdle();
    QCOMPARE(clips().size(), 3);
}

// ---------------------------------------------------------------------------
// Guessing activities

void TestLetrasWidget::comoSuenaRightAndWrong()
{
    QSignalSpy suggestions(m_w.get(), &LetrasWidget::sugerencia);
    Draws draws(5);
    start(1, 5, QStringLiteral("M"));
    QCOMPARE(draws.letterIn("M"), QStringLiteral("M"));
    draws.wordOf("M");
    QTRY_COMPARE(
        clips(), (QStringList { "Como suena.ogg", empty, "Letras/M/Manzana/letter_sound.ogg" }));
    waitIdle();
    QCOMPARE(m_w->targetLetter(), QStringLiteral("M"));

    // N lies left of M on its row: the way to M is to the right.
    mark();
    releaseLetter("N");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    QCOMPARE(shown("letterLabel"), QString());

    mark();
    releaseLetter("M");
    const QString praise = draws.praise();
    draws.wordOf(draws.letterIn("M"));
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, "encontraste el sonido.ogg", "Letras/M/Manzana/letter_sound.ogg",
            "de.ogg", empty, "Letras/M/Manzana/name.ogg",
            // the next turn
            empty, "Letras/M/Manzana/letter_sound.ogg" }));
    waitIdle();
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", "M||", "M||", "M||picture", "M|Manzana|picture",
            "M|Manzana|picture", "||" }));

    const Score *m = m_w->scoreSet(1)->score(QStringLiteral("M"));
    QCOMPARE(m->corrects(), 1);
    QCOMPARE(m->total(), 2);
    QCOMPARE(m->consecutive(), 1);
    const QString title = LetrasWidget::activityTitle(1);
    QCOMPARE(suggestions.last(), (QVariantList { title, QStringLiteral("M") }));
    QCOMPARE(suggestions.count(), 4); // activity change, two keys judged, the right one
}

void TestLetrasWidget::comoEmpiezaRightAndWrong()
{
    Draws draws(8);
    start(2, 8, QStringLiteral("B"));
    draws.wordOf(draws.letterIn("B"));
    QTRY_COMPARE(clips(),
        (QStringList {
            "Como empieza.ogg", "el sonido con que empieza.ogg", "Letras/B/Barco/name.ogg" }));
    waitIdle();

    // G lies on the row above B.
    mark();
    releaseLetter("G");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "abajo.ogg" }));
    waitIdle();

    mark();
    releaseLetter("B");
    // A right answer leads straight on to the next question.
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { expectedPraise, "esta palabra empieza con.ogg",
            "Letras/B/Barco/letter_sound.ogg", "el sonido con que empieza.ogg",
            "Letras/B/Barco/name.ogg" }));
    waitIdle();
    // Neither the picture nor the word is shown.
    QCOMPARE(screensSinceMark(), (QStringList { "||", "||", "B||", "B||", "||" }));
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("B"))->corrects(), 1);
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("B"))->total(), 2);
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("B"))->total(), 0);
}

void TestLetrasWidget::letrasEscondidasWithNtildeOnly()
{
    Draws draws(21);
    start(4, 21, QStringLiteral("\u00d1"));
    draws.wordOf(draws.letterIn(QStringLiteral("\u00d1")));
    const QStringList question = { "escondido en la letra.ogg",
        "Letras/Ntilde/Nandu/letter_name.ogg", "de.ogg", "Letras/Ntilde/Nandu/name.ogg" };
    QTRY_COMPARE(clips(), QStringList { "Letras escondidas.ogg" } + question);
    waitIdle();

    // L is left of Ñ: the way is to the right; the wrong answer counts for Ñ.
    mark();
    releaseLetter("L");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    QCOMPARE(m_w->scoreSet(4)->score(QStringLiteral("\u00d1"))->total(), 1);

    mark();
    releaseLetter("Ntilde");
    const QString praise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, empty, "Letras/Ntilde/Nandu/letter_name.ogg",
             "Letras/Ntilde/Nandu/sound.ogg", "Letras/Ntilde/Nandu/name.ogg" }
            + question));
    waitIdle();
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", QStringLiteral("Ñ||"), QStringLiteral("Ñ||picture"),
            QStringLiteral("Ñ|Ñandú|picture"), QStringLiteral("Ñ|Ñandú|picture"), "||", "||",
            "||" }));
    const Score *n = m_w->scoreSet(4)->score(QStringLiteral("\u00d1"));
    QCOMPARE(n->corrects(), 1);
    QCOMPARE(n->total(), 2);

    // Every turn asks for Ñ.
    for (int turn = 0; turn < 5; ++turn) {
        m_w->slotPickLetter();
        QCOMPARE(m_w->targetLetter(), QStringLiteral("Ntilde"));
        waitIdle();
    }
}

void TestLetrasWidget::objetosEscondidosArticles_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("hidden");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("shownWord");

    QTest::newRow("Manzana") << "M"
                             << "la.ogg"
                             << "escondido en la.ogg"
                             << "encontraste a la.ogg"
                             << "Manzana";
    QTest::newRow("Ciudad") << "C"
                            << "la.ogg"
                            << "escondido en la.ogg"
                            << "encontraste a la.ogg"
                            << "Ciudad";
    QTest::newRow("Leon") << "L"
                          << "el.ogg"
                          << "escondido en el.ogg"
                          << "encontraste a.ogg" << QStringLiteral("León");
    QTest::newRow("Nandu") << "Ntilde"
                           << "el.ogg"
                           << "escondido en el.ogg"
                           << "encontraste a.ogg" << QStringLiteral("Ñandú");
}

void TestLetrasWidget::objetosEscondidosArticles()
{
    QFETCH(QString, letter);
    QFETCH(QString, article);
    QFETCH(QString, hidden);
    QFETCH(QString, found);
    QFETCH(QString, shownWord);

    const QString selection = MediaPaths::letterDisplay(letter);
    const QString word = QStringLiteral("Letras/") + letter + QLatin1Char('/')
        + wordOf(letterWords, letter) + QLatin1Char('/');
    Draws draws(3);
    start(5, 3, selection);
    draws.wordOf(draws.letterIn(selection));
    const QStringList question = { article, word + "name.ogg", hidden };
    QTRY_COMPARE(clips(), QStringList { "Objetos escondidos.ogg" } + question);
    waitIdle();

    mark();
    releaseLetter(letter == QLatin1String("B") ? "C" : "B");
    const QString encouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark().value(0), encouragement);
    waitIdle();

    mark();
    releaseLetter(letter);
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { expectedPraise, found, word + "name.ogg", "que vive en.ogg",
             word + "letter_name.ogg", word + "sound.ogg", word + "name.ogg" }
            + question));
    waitIdle();
    // The picture with the word's sound, then the letter it lives in, then the word.
    const QString l = MediaPaths::letterDisplay(letter);
    QCOMPARE(screensSinceMark(),
        (QStringList { "||", "||", "||picture", "||picture", l + "||picture", l + "||picture",
            l + "|" + shownWord + "|picture", l + "|" + shownWord + "|picture", "||", "||" }));
    const Score *record = m_w->scoreSet(5)->score(selection);
    QCOMPARE(record->corrects(), 1);
    QCOMPARE(record->total(), 2);
}

void TestLetrasWidget::numerosEscondidosRightAndWrong()
{
    // "0" lies right of "9" on the digit row: a child who presses "1"
    // when "0" is asked hears "derecha".
    const unsigned int seed = seedForFirstDigit("0");
    Draws draws(seed);
    start(7, seed);
    QCOMPARE(draws.digit(), QStringLiteral("0"));
    draws.wordOf("0");
    QTRY_COMPARE(
        clips(), (QStringList { "Numeros escondidos.ogg", "Numeros/0/Rosquilla/letter_name.ogg" }));
    waitIdle();

    mark();
    releaseLetter("1");
    const QString expectedEncouragement = draws.encouragement();
    QTRY_COMPARE(clipsSinceMark(), (QStringList { expectedEncouragement, "derecha.ogg" }));
    waitIdle();
    // A letter is no answer and counts nothing.
    releaseLetter("B");
    waitIdle();

    mark();
    releaseLetter("0");
    const QString praise = draws.praise();
    const QString next = draws.digit();
    draws.wordOf(next);
    const QString nextWord = wordOf(numberWords, next);
    const QString nextName = nextWord.isEmpty()
        ? QStringLiteral("letters/") + next + QStringLiteral(".ogg")
        : QStringLiteral("Numeros/") + next + QLatin1Char('/') + nextWord
            + QStringLiteral("/letter_name.ogg");
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { praise, empty, "Numeros/0/Rosquilla/letter_name.ogg", nextName }));
    waitIdle();
    QCOMPARE(screensSinceMark(), (QStringList { "||", "||", "0||", "0||" }));
    QCOMPARE(screen(), QStringLiteral("||"));
    QCOMPARE(m_w->targetNumber(), next);
    const Score *zero = m_w->scoreSet(7)->score(QStringLiteral("0"));
    QCOMPARE(zero->corrects(), 1);
    QCOMPARE(zero->total(), 2);
    QCOMPARE(m_w->scoreSet(7)->score(QStringLiteral("1"))->total(), 0);
}

// The one test that waits for the real pause between turns.
void TestLetrasWidget::turnDelayIsThreeSeconds()
{
    m_w->setTurnDelayForTesting(3000);
    const unsigned int seed = seedForFirstDigit("4");
    start(7, seed);
    QTRY_COMPARE(clips().size(), 2);
    waitIdle();
    mark();
    releaseLetter("4");
    QTRY_COMPARE(clipsSinceMark().size(), 3);
    QCOMPARE(clipsSinceMark().last(), QStringLiteral("Numeros/4/Patas/letter_name.ogg"));
    QCOMPARE(shown("letterLabel"), QStringLiteral("4"));
    QTRY_COMPARE_WITH_TIMEOUT(clipsSinceMark().size(), 4, 6000);
    // From the number's name to the next question.
    const qint64 pause = m_requestTimes.at(m_mark + 3) - m_requestTimes.at(m_mark + 2);
    QVERIFY2(pause >= 3000 && pause < 3500, qPrintable(QString::number(pause)));
    QCOMPARE(shown("letterLabel"), QString());
}

// With a selection the learned-letter rule does not apply: every turn asks
// for the first selected letter drawn, learned or not.
void TestLetrasWidget::vowelSelection()
{
    for (const QString &letter : MediaPaths::alphabet())
        m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(letter), 3, 3, 3);
    m_w->setMofliAudio(0);
    Draws draws(17);
    m_w->seedRandomForTesting(17);
    m_w->slotSelectedLetters(QStringLiteral("AEIOU"));
    m_w->setActivity(0, 1);
    for (int turn = 0; turn < 12; ++turn) {
        m_w->slotPickLetter();
        const QString expected = draws.letterIn(QStringLiteral("AEIOU"));
        draws.wordOf(expected);
        QCOMPARE(m_w->targetLetter(), expected);
        waitIdle();
    }
}

// Every letter learned: each is passed over four times and asked on the
// fifth draw that hits it; the counters start again after it is asked and
// when the learner changes.
void TestLetrasWidget::learnedLetterRule()
{
    for (const QString &letter : MediaPaths::alphabet())
        m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(letter), 3, 3, 3);
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 1);
    Draws draws(29);
    m_w->seedRandomForTesting(29);

    QHash<QString, int> hits;
    auto expectedTurn = [&]() {
        for (;;) {
            const QString letter = draws.letter();
            if (++hits[letter] == 5) {
                hits[letter] = 0;
                draws.wordOf(letter);
                return letter;
            }
        }
    };
    for (int turn = 0; turn < 4; ++turn) {
        m_w->slotPickLetter();
        QCOMPARE(m_w->targetLetter(), expectedTurn());
        waitIdle();
    }

    // A letter that is not learned is asked at once.
    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    hits.clear();
    const QString first = draws.letter();
    m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(first), 2, 3, 2);
    draws.wordOf(first);
    m_w->slotPickLetter();
    QCOMPARE(m_w->targetLetter(), first);
    waitIdle();

    // Counters were reset by the change of learner.
    m_w->scoreSet(1)->setScore(MediaPaths::letterDisplay(first), 3, 3, 3);
    m_w->slotPickLetter();
    QCOMPARE(m_w->targetLetter(), expectedTurn());
}

void TestLetrasWidget::lastInstruction()
{
    // Activity 4: the question again, from its first clip.
    start(4, 4, QStringLiteral("L"));
    const QStringList question = { "escondido en la letra.ogg", "Letras/L/Leon/letter_name.ogg",
        "de.ogg", "Letras/L/Leon/name.ogg" };
    QTRY_COMPARE(clips(), QStringList { "Letras escondidas.ogg" } + question);
    waitIdle();
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), question);
    waitIdle();

    // Activity 3: its instruction.
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 3);
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Te presento nombres.ogg" });
    waitIdle();

    // Activity 6 has no turn of its own: the number of the last turn of 7.
    const unsigned int seed = seedForFirstDigit("2");
    m_w->setMofliAudio(2);
    start(7, seed);
    QTRY_COMPARE(clipsSinceMark().size(), 3);
    waitIdle();
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    mark();
    m_w->slotLastInstruction();
    QTRY_COMPARE(clipsSinceMark(), QStringList { "Numeros/2/Ojos/letter_name.ogg" });
}

// Steps already under way run on with the new activity's branches.
void TestLetrasWidget::leavingActivityMidSequence()
{
    Draws draws(6);
    start(1, 6, QStringLiteral("M"));
    draws.wordOf(draws.letterIn("M"));
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    mark();
    releaseLetter("M");
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 2);
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark(),
        (QStringList { expectedPraise, "esta palabra empieza con.ogg",
            "Letras/M/Manzana/letter_sound.ogg", "el sonido con que empieza.ogg",
            "Letras/M/Manzana/name.ogg" }));
    waitIdle();
    // The answer was counted where it was given.
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("M"))->corrects(), 1);
    QCOMPARE(m_w->scoreSet(2)->score(QStringLiteral("M"))->total(), 0);
}

// ---------------------------------------------------------------------------
// Faults that must not happen

// "Z" has a folder but no word: the letter is still shown and its letter
// clip said; nothing is counted for a word that does not exist.
void TestLetrasWidget::letterWithoutWords()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 0);
    releaseLetter("Z");
    QTRY_COMPARE(clips(), (QStringList { "letters/Z.ogg", empty, empty }));
    QTRY_COMPARE(shown("letterLabel"), QStringLiteral("Z"));
    QCOMPARE(m_w->currentWord(), QString());
    waitIdle();

    m_w->setMofliAudio(2);
    mark();
    Draws draws(9);
    start(1, 9, QStringLiteral("Z"));
    draws.letterIn("Z");
    QTRY_COMPARE(clipsSinceMark(), (QStringList { "Como suena.ogg", empty, "letters/Z.ogg" }));
    waitIdle();
    mark();
    releaseLetter("Z");
    const QString expectedPraise = draws.praise();
    QTRY_COMPARE(clipsSinceMark().mid(0, 6),
        (QStringList { expectedPraise, "encontraste el sonido.ogg", "letters/Z.ogg", "de.ogg",
            empty, empty }));
    waitIdle();
    // No word: an empty picture and an empty word with the letter.
    QCOMPARE(screensSinceMark().mid(0, 6),
        (QStringList { "||", "||", "Z||", "Z||", "Z||empty", "Z||empty" }));
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("Z"))->total(), 0);
}

void TestLetrasWidget::digitWithoutWords()
{
    m_w->setMofliAudio(0);
    m_w->setActivity(0, 6);
    releaseLetter("9");
    QTRY_COMPARE(clips(), (QStringList { "letters/9.ogg", empty, empty }));
    QCOMPARE(shown("letterLabel"), QStringLiteral("9"));
    QTRY_COMPARE(shown("wordLabel"), QStringLiteral("Nueve"));
}

void TestLetrasWidget::keyBeforeFirstTarget_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("activity");
    QTest::addColumn<QString>("key");
    QTest::newRow("1 after 7") << 7 << 1 << "A";
    QTest::newRow("2 after 1") << 1 << 2 << "B";
    QTest::newRow("4 after 5") << 5 << 4 << "Ntilde";
    QTest::newRow("5 after 4") << 4 << 5 << "M";
    QTest::newRow("7 after 1") << 1 << 7 << "3";
}

// No question has been asked in this activity yet: the key means nothing,
// also when another activity asked something before.
void TestLetrasWidget::keyBeforeFirstTarget()
{
    QFETCH(int, previous);
    QFETCH(int, activity);
    QFETCH(QString, key);

    start(previous, 2);
    QTRY_VERIFY(clips().size() >= 2);
    waitIdle();
    m_w->setMofliAudio(0);
    m_w->setActivity(0, activity);
    mark();
    releaseLetter(key);
    QTRY_COMPARE(clipsSinceMark(), QStringList { "durmiendo.ogg" });
    for (int a : { 1, 2, 4, 5, 7 }) {
        for (const Score *record : m_w->scoreSet(a)->scores())
            QCOMPARE(record->total(), 0);
    }
}

// Judged with nothing asked yet (the feedback slots called on their own):
// the answer is spoken to but counted nowhere.
void TestLetrasWidget::noTargetRecordsNothing()
{
    m_w->setMofliAudio(0);
    for (int activity : { 1, 7 }) {
        m_w->setActivity(0, activity);
        mark();
        m_w->slotWrong();
        QTRY_COMPARE(clipsSinceMark().size(), 1);
        waitIdle();
        m_w->slotCorrect();
        for (const Score *record : m_w->scoreSet(activity)->scores())
            QCOMPARE(record->total(), 0);
        waitIdle();
    }
}

void TestLetrasWidget::oneShotPlayersReleased()
{
    const int players = int(m_w->findChildren<AudioThread *>().size());
    QCOMPARE(players, 17);
    start(1, 12, QStringLiteral("B"));
    QTRY_COMPARE(clips().size(), 3);
    waitIdle();
    for (int i = 0; i < 5; ++i) {
        releaseLetter("C");
        waitIdle();
    }
    releaseLetter("B"); // the last word is said on a one-shot player
    m_w->slotSayMenuMode(true);
    waitIdle();
    QTRY_COMPARE(int(m_w->findChildren<AudioThread *>().size()), players);
}

// ---------------------------------------------------------------------------
// Scores

void TestLetrasWidget::scoresReadBackAfterWrite()
{
    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    m_w->slotReadScores();
    m_w->scoreSet(1)->setScore(QStringLiteral("\u00d1"), 4, 6, 3);
    m_w->scoreSet(2)->setScore(QStringLiteral("B"), 1, 1, 1);
    m_w->scoreSet(4)->setScore(QStringLiteral("Z"), 0, 2, 0);
    m_w->scoreSet(5)->setScore(QStringLiteral("M"), 7, 9, 2);
    m_w->scoreSet(7)->setScore(QStringLiteral("0"), 5, 5, 5);
    m_w->slotWriteScores();

    LetrasWidget other;
    other.slotSetCurrentUserName(QStringLiteral("Ana"));
    other.slotReadScores();
    auto counters = [](const Score *s) {
        return QList<int> { s->corrects(), s->total(), s->consecutive() };
    };
    QCOMPARE(
        counters(other.scoreSet(1)->score(QStringLiteral("\u00d1"))), (QList<int> { 4, 6, 3 }));
    QCOMPARE(counters(other.scoreSet(2)->score(QStringLiteral("B"))), (QList<int> { 1, 1, 1 }));
    QCOMPARE(counters(other.scoreSet(4)->score(QStringLiteral("Z"))), (QList<int> { 0, 2, 0 }));
    QCOMPARE(counters(other.scoreSet(5)->score(QStringLiteral("M"))), (QList<int> { 7, 9, 2 }));
    QCOMPARE(counters(other.scoreSet(7)->score(QStringLiteral("0"))), (QList<int> { 5, 5, 5 }));
    QCOMPARE(counters(other.scoreSet(1)->score(QStringLiteral("A"))), (QList<int> { 0, 0, 0 }));

    // The file holds the five sets in report order, each with its objects.
    QFile file(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument doc;
    QVERIFY(doc.setContent(&file));
    const QDomElement ana = doc.documentElement().firstChildElement(QStringLiteral("Ana"));
    QCOMPARE(ana.attribute(QStringLiteral("type")), QStringLiteral("Letters and Numbers"));
    QStringList names;
    QList<int> counts;
    for (QDomElement a = ana.firstChildElement(); !a.isNull(); a = a.nextSiblingElement()) {
        names << a.attribute(QStringLiteral("name"));
        counts << int(a.elementsByTagName(QStringLiteral("Score")).size());
    }
    QCOMPARE(names,
        (QStringList { "Como Suena", "Como Empieza", "Letras Escondidas", "Objetos Escondidos",
            "Numeros Escondidos" }));
    QCOMPARE(counts, (QList<int> { 27, 27, 27, 27, 10 }));

    // Another learner starts from zero, even after Ana was loaded.
    other.slotSetCurrentUserName(QStringLiteral("Beto"));
    other.slotReadScores();
    QCOMPARE(counters(other.scoreSet(5)->score(QStringLiteral("M"))), (QList<int> { 0, 0, 0 }));
}

void TestLetrasWidget::scoresKeepOtherLearnersAndTypes()
{
    const QByteArray before
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scores>\n"
          " <Ana type=\"Braille\">\n  <Activity name=\"Puntos Escondidos Cajetin\"/>\n </Ana>\n"
          " <Ana type=\"Letters and Numbers\">\n  <Activity name=\"Como Suena\">\n"
          "   <Score Object=\"A\" Corrects=\"2\" Total=\"3\" Consecutive=\"1\"/>\n"
          "  </Activity>\n </Ana>\n"
          " <Beto type=\"Letters and Numbers\">\n  <Activity name=\"Como Suena\">\n"
          "   <Score Object=\"B\" Corrects=\"1\" Total=\"1\" Consecutive=\"1\"/>\n"
          "  </Activity>\n </Beto>\n</Scores>\n";
    m_tree->addFile(QStringLiteral("data/scores.xml"), before);

    m_w->slotSetCurrentUserName(QStringLiteral("Ana"));
    m_w->slotReadScores();
    QCOMPARE(m_w->scoreSet(1)->score(QStringLiteral("A"))->corrects(), 2);
    m_w->scoreSet(1)->recordCorrect(QStringLiteral("A"));
    m_w->slotWriteScores();

    QFile file(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument doc;
    QVERIFY(doc.setContent(&file));
    QStringList elements;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        elements << e.tagName() + QLatin1Char('/') + e.attribute(QStringLiteral("type"));
    // Ana's letters element was replaced and moved to the end.
    QCOMPARE(elements,
        (QStringList { "Ana/Braille", "Beto/Letters and Numbers", "Ana/Letters and Numbers" }));

    LetrasWidget beto;
    beto.slotSetCurrentUserName(QStringLiteral("Beto"));
    beto.slotReadScores();
    QCOMPARE(beto.scoreSet(1)->score(QStringLiteral("B"))->corrects(), 1);
    LetrasWidget ana;
    ana.slotSetCurrentUserName(QStringLiteral("Ana"));
    ana.slotReadScores();
    QCOMPARE(ana.scoreSet(1)->score(QStringLiteral("A"))->corrects(), 3);
}

void TestLetrasWidget::reportsInSetOrder()
{
    m_w->scoreSet(7)->setScore(QStringLiteral("3"), 1, 2, 1);
    const QString html = m_w->scoreToHTML();
    const QString text = m_w->scoreToExcel();
    const QList<ScoreManager *> order = { m_w->scoreSet(1), m_w->scoreSet(2), m_w->scoreSet(4),
        m_w->scoreSet(5), m_w->scoreSet(7) };
    QString expectedHtml;
    QString expectedText;
    for (ScoreManager *set : order) {
        expectedHtml += set->toHtml();
        expectedText += set->toText();
    }
    QCOMPARE(html, expectedHtml);
    QCOMPARE(text, expectedText);
    int last = -1;
    for (const char *name : { "Como Suena", "Como Empieza", "Letras Escondidas",
             "Objetos Escondidos", "Numeros Escondidos" }) {
        const int at = int(text.indexOf(QLatin1String(name)));
        QVERIFY2(at > last, name);
        last = at;
    }
}

QTEST_MAIN(TestLetrasWidget)
#include "tst_letraswidget.moc"
