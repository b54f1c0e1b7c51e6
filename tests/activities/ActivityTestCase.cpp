#include "ActivityTestCase.h"

#include "audio/AudioMonitor.h"
#include "audio/AudioThread.h"

#include <QFile>
#include <QKeyEvent>
#include <QWidget>
#include <QtTest>
#include <cstdlib>

namespace ActivityFixture {

QString shortName(const QString &path, const QString &language)
{
    if (path.isEmpty())
        return empty;
    const QString languages = QStringLiteral("/media/languages/") + language + QLatin1Char('/');
    const int at = int(path.indexOf(languages));
    if (at >= 0)
        return path.mid(at + languages.size());
    const QString letters = QStringLiteral("/media/system/audio/letters/");
    if (path.contains(letters))
        return QStringLiteral("letters/") + path.section(QLatin1Char('/'), -1);
    if (path.startsWith(QLatin1String("media/system/audio/instructions/")))
        return path.section(QLatin1Char('/'), -1);
    return path;
}

Draws::Draws(unsigned int seed)
{
    std::srand(seed);
    for (int i = 0; i < 4000; ++i)
        m_values << int(double(std::rand()) / (double(RAND_MAX) + 1.0) * 32768.0);
}

int Draws::draw(int low, int high)
{
    return low + int(double(m_values.at(m_next++)) / 32768.0 * double(high - low + 1));
}

QString Draws::question(const std::function<QString()> &draw, bool only)
{
    for (;;) {
        const QString item = draw();
        if (only || item != m_previous)
            return m_previous = item;
    }
}

QString Draws::letter()
{
    return question([this] { return MediaPaths::alphabet().at(draw(1, 27) - 1); });
}

QString Draws::digit()
{
    return question([this] { return QString::number(draw(1, 10) - 1); });
}

int Draws::dot()
{
    return question([this] { return QString::number(draw(1, 6)); }).toInt();
}

QString Draws::letterIn(const QString &selection)
{
    int selected = 0;
    for (const QString &l : MediaPaths::alphabet())
        selected += selection.contains(MediaPaths::letterDisplay(l), Qt::CaseInsensitive);
    return question(
        [this, &selection] {
            for (;;) {
                const QString l = MediaPaths::alphabet().at(draw(1, 27) - 1);
                if (selection.contains(MediaPaths::letterDisplay(l), Qt::CaseInsensitive))
                    return l;
            }
        },
        selected == 1);
}

QString Draws::praise()
{
    static const QStringList clips
        = { "excelente.ogg", "muy bien.ogg", "bravo.ogg", "bien.ogg", "perfecto.ogg" };
    return clips.at(draw(1, 5) - 1);
}

QString Draws::encouragement()
{
    return draw(1, 2) == 1 ? QStringLiteral("puedes hacerlo mejor.ogg")
                           : QStringLiteral("intentalo de nuevo.ogg");
}

void nameClipRows()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("the name") << "letter_name.ogg";
    QTest::newRow("a tree made before the name was recorded") << "letter_sound.ogg";
}

OnlyNameClip::OnlyNameClip(
    TestSupport::MediaTree *tree, const QString &wordFolder, const QString &file)
    : m_tree(tree)
    , m_folder(wordFolder + QLatin1Char('/'))
{
    QFile::remove(m_tree->root() + QLatin1Char('/') + m_folder + QStringLiteral("letter_name.ogg"));
    m_tree->addClip(m_folder + file);
}

OnlyNameClip::~OnlyNameClip()
{
    QFile::remove(
        m_tree->root() + QLatin1Char('/') + m_folder + QStringLiteral("letter_sound.ogg"));
    m_tree->addClip(m_folder + QStringLiteral("letter_name.ogg"));
}

} // namespace ActivityFixture

void ActivityTestCase::attach(QWidget *widget)
{
    m_widget = widget;
    m_mark = 0;
    m_screens.clear();
    m_requestTimes.clear();
    m_clock.start();
    // Connected after the recorder, so both lists stay in step.
    connect(AudioMonitor::instance(), &AudioMonitor::clipRequested, widget, [this] {
        m_screens << screen();
        m_requestTimes << m_clock.elapsed();
    });
}

QStringList ActivityTestCase::clips() const
{
    QStringList names;
    for (const QString &path : m_clips->requested)
        names << shortName(path);
    return names;
}

QStringList ActivityTestCase::startedClips() const
{
    QStringList names;
    for (const QString &path : m_clips->started)
        names << shortName(path);
    return names;
}

bool ActivityTestCase::idle() const
{
    const auto players = m_widget->findChildren<AudioThread *>();
    for (AudioThread *player : players) {
        if (player->isRunning())
            return false;
    }
    return true;
}

// Lets every sequence under way come to its end, so the next key meets
// players that are free again.
void ActivityTestCase::waitIdle()
{
    if (!m_widget)
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

void ActivityTestCase::release(
    int key, const QString &text, bool autoRepeat, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, text, autoRepeat);
    QCoreApplication::sendEvent(m_widget, &event);
}
