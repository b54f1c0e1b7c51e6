#include "LettersTestCase.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QtTest>

using TestSupport::ClipRecorder;
using TestSupport::MediaTree;

namespace LettersFixture {

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

} // namespace LettersFixture

using namespace LettersFixture;

void LettersTestCase::setUpTree(const QString &tone)
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
        "te equivocaste en la letra.ogg",
        "tecla en la fila de los numeros.ogg",
        "tecla en la fila de arriba.ogg",
        "tecla en la fila del medio.ogg",
        "tecla en la fila de abajo.ogg",
    };
    for (const char *name : instructions)
        m_tree->addClip(
            QStringLiteral("media/system/audio/instructions/") + QLatin1String(name), tone);
    for (const char *letter : { "N", "U", "Z", "Ntilde", "9" })
        m_tree->addClip(QStringLiteral("media/system/audio/letters/") + QLatin1String(letter)
                + QStringLiteral(".ogg"),
            tone);

    const QString root = QStringLiteral("media/languages/") + language;
    const QByteArray picture = pictureBytes();
    for (const auto &entry : letterWords) {
        const QString word = root + QStringLiteral("/Letras/") + entry.first + QLatin1Char('/')
            + entry.second + QLatin1Char('/');
        for (const char *file : { "letter_sound.ogg", "letter_name.ogg", "sound.ogg", "name.ogg",
                 "sentence.ogg", "sentence1.ogg", "sentence8.ogg", "sentence9.ogg" })
            m_tree->addClip(word + QLatin1String(file), tone);
        m_tree->addFile(word + QStringLiteral("image.jpg"), picture);
        m_tree->addFile(
            root + QStringLiteral("/Letras/") + entry.first + QStringLiteral("/sugerencias.txt"),
            "<sugerencias/>");
    }
    m_tree->addFile(root + QStringLiteral("/Letras/sonidos.txt"), letterSounds);
    // A stray file is no word.
    m_tree->addFile(root + QStringLiteral("/Letras/Z/sugerencias.txt"), "<sugerencias/>");
    for (const auto &entry : numberWords) {
        const QString word = root + QStringLiteral("/Numeros/") + entry.first + QLatin1Char('/')
            + entry.second + QLatin1Char('/');
        for (const char *file : { "letter_name.ogg", "sound.ogg", "name.ogg" })
            m_tree->addClip(word + QLatin1String(file), tone);
        m_tree->addFile(word + QStringLiteral("image.jpg"), picture);
    }
    m_tree->addFolder(root + QStringLiteral("/Numeros/9"));
}

void LettersTestCase::setUpWidget()
{
    QFile::remove(MediaPaths::dataFile(QStringLiteral("scores.xml")));
    m_clips = std::make_unique<ClipRecorder>();
    m_w = std::make_unique<LetrasWidget>();
    m_w->language = language;
    m_w->setTurnDelayForTesting(0);
    attach(m_w.get());
}

void LettersTestCase::tearDownWidget()
{
    waitIdle();
    m_widget = nullptr;
    m_w.reset();
    m_clips.reset();
}

void LettersTestCase::releaseLetter(const QString &letter)
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
void LettersTestCase::start(int activity, unsigned int seed, const QString &selection)
{
    m_w->seedRandomForTesting(seed);
    m_w->slotSelectedLetters(selection);
    m_w->setActivity(0, activity);
}

QLabel *LettersTestCase::label(const char *name) const
{
    return m_w->findChild<QLabel *>(QLatin1String(name));
}

// The text of a label the child can see, or "" while it is hidden.
QString LettersTestCase::shown(const char *name) const
{
    QLabel *l = label(name);
    return l->isVisibleTo(m_w.get()) ? l->text() : QString();
}

// "letter|word|picture", each part empty while hidden; "empty" for a shown
// picture label without a picture.
QString LettersTestCase::screen() const
{
    QLabel *picture = label("pictureLabel");
    QString pictureText;
    if (picture->isVisibleTo(m_w.get()))
        pictureText
            = picture->pixmap().isNull() ? QStringLiteral("empty") : QStringLiteral("picture");
    return shown("letterLabel") + QLatin1Char('|') + shown("wordLabel") + QLatin1Char('|')
        + pictureText;
}
