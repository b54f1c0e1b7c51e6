#include "BrailleTestCase.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QtTest>

using namespace BrailleFixture;

QString BrailleFixture::nameOf(const QString &item)
{
    if (!words.contains(item))
        return empty;
    const bool digit = item.at(0).isDigit();
    return (digit ? QStringLiteral("Numeros/") : QStringLiteral("Letras/")) + item + '/'
        + words.value(item) + QStringLiteral("/letter_name.ogg");
}

unsigned int BrailleFixture::seedWhere(const std::function<bool(Draws &)> &condition)
{
    for (unsigned int seed = 1;; ++seed) {
        Draws draws(seed);
        if (condition(draws))
            return seed;
    }
}

void BrailleTestCase::setUpTree()
{
    m_tree = std::make_unique<TestSupport::MediaTree>();
    for (const char *name : { "Exploracion cajetin.ogg", "Exploracion perkins.ogg",
             "Formemos letras braille.ogg", "Formemos letras perkins.ogg",
             "Formemos numeros braille.ogg", "Formemos numeros perkins.ogg",
             "Letras escondidas braille.ogg", "Letras escondidas perkins.ogg",
             "Numeros escondidos braille.ogg", "Numeros escondidos perkins.ogg",
             "Puntos escondidos braille.ogg", "Puntos escondidos perkins.ogg", "Modo menu.ogg",
             "Modo normal.ogg", "durmiendo.ogg", "bravo.ogg", "excelente.ogg", "muy bien.ogg",
             "bien.ogg", "perfecto.ogg", "puedes hacerlo mejor.ogg", "intentalo de nuevo.ogg",
             "puntos correctos.ogg", "te equivocaste en la letra.ogg",
             "te equivocaste en los puntos.ogg", "ninguna letra.ogg", "ningun numero.ogg" })
        m_tree->addClip(QStringLiteral("media/system/audio/instructions/") + QLatin1String(name));
    for (int dot = 1; dot <= 6; ++dot)
        m_tree->addClip(QStringLiteral("media/system/audio/letters/%1.ogg").arg(dot));

    const QString root = QStringLiteral("media/languages/") + language + '/';
    for (auto word = words.cbegin(); word != words.cend(); ++word) {
        const QString kind = word.key().at(0).isDigit() ? "Numeros/" : "Letras/";
        m_tree->addClip(root + kind + word.key() + '/' + word.value() + "/letter_name.ogg");
    }
    m_tree->addFile(root + QStringLiteral("Letras/Z/sugerencias.txt"), "<sugerencias/>");
    m_tree->addFolder(root + QStringLiteral("Numeros/9"));

    // bra1 … bra6 and per1 … per7, normal and raised, each in its own colour.
    int n = 0;
    for (const QString &device : { QStringLiteral("bra"), QStringLiteral("per") }) {
        for (int i = 1; i <= (device == QLatin1String("bra") ? 6 : 7); ++i) {
            for (const char *state : { "", "b" }) {
                const QString name = device + QString::number(i) + QLatin1String(state);
                QImage image(16, 16, QImage::Format_RGB32);
                image.fill(qRgb(8 * n, 255 - 8 * n, 128));
                ++n;
                m_pictureNames.insert(image.pixel(0, 0), name);
                QByteArray bytes;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                image.save(&buffer, "PNG");
                m_tree->addFile("media/system/ui/braille/" + name + ".jpg", bytes);
            }
        }
    }
}

void BrailleTestCase::setUpWidget()
{
    QFile::remove(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    m_clips = std::make_unique<TestSupport::ClipRecorder>();
    m_w = std::make_unique<BrailleWidget>();
    m_w->language = language;
    m_w->setTurnDelayForTesting(0);
    attach(m_w.get());
}

void BrailleTestCase::tearDownWidget()
{
    waitIdle();
    m_widget = nullptr;
    m_w.reset();
    m_clips.reset();
}

QString BrailleTestCase::screen() const
{
    QString device;
    QStringList raised;
    const auto labels = m_w->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        if (!label->isVisibleTo(m_w.get()))
            continue;
        const bool cell = label->objectName().startsWith(QLatin1String("cellDot"));
        device = cell ? QStringLiteral("cell") : QStringLiteral("perkins");
        const QString own
            = (cell ? QStringLiteral("bra") : QStringLiteral("per")) + label->objectName().right(1);
        const QString name = m_pictureNames.value(label->pixmap().toImage().pixel(0, 0));
        if (name == own + QLatin1Char('b'))
            raised << name;
        else if (name != own)
            raised << QStringLiteral("?") + label->objectName();
    }
    raised.sort();
    return (device + QLatin1Char(':') + QLatin1Char(' ') + raised.join(QLatin1Char(' '))).trimmed();
}

namespace {

// What the keypad's cell keys send with NumLock off.
int keypadWithoutNumLock(int digit)
{
    switch (digit) {
    case 7:
        return Qt::Key_Home;
    case 4:
        return Qt::Key_Left;
    case 1:
        return Qt::Key_End;
    case 8:
        return Qt::Key_Up;
    case 5:
        return Qt::Key_Clear;
    default:
        return Qt::Key_Down;
    }
}

} // namespace

void BrailleTestCase::press(const QString &keys)
{
    const QStringList names = keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString name : names) {
        const bool held = name.startsWith(QLatin1String("held"));
        if (held)
            name = name.mid(4);
        if (name == QLatin1String("Enter"))
            release(Qt::Key_Return, QStringLiteral("\r"));
        else if (name == QLatin1String("KeypadEnter"))
            release(Qt::Key_Enter, QStringLiteral("\r"));
        else if (name == QLatin1String("Home"))
            release(Qt::Key_Home);
        else if (name.startsWith(QLatin1String("KP")))
            release(keypadWithoutNumLock(name.at(2).digitValue()), QString(), false,
                Qt::KeypadModifier);
        else if (name == QLatin1String("Esc"))
            release(Qt::Key_Escape);
        else if (name == QLatin1String("Space"))
            release(Qt::Key_Space, QStringLiteral(" "));
        else if (name.at(0).isDigit())
            release(Qt::Key_0 + name.at(0).digitValue(), name, held);
        else
            release(Qt::Key_A + (name.at(0).unicode() - 'A'), name.toLower(), held);
    }
}

void BrailleTestCase::start(int sub, unsigned int seed, const QString &selection)
{
    m_w->seedRandomForTesting(seed);
    m_w->slotSelectedLetters(selection);
    m_w->setActivity(1, sub);
}
