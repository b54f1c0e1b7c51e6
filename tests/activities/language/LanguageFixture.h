#pragma once

#include "audio/AudioThread.h"
#include "content/MediaPaths.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QStringList>
#include <QTest>

// The fixture media of the writing activity and the texts reader, and the
// keys, clips and pictures of their tests.
namespace LanguageFixture {

const QString language = QStringLiteral("Espanol");

struct Text
{
    QString category;
    QString title;
    QList<int> pictures; // frames that have "image<k>.jpg"
    QList<int> clips; // frames that have "audio<k>.ogg"
};

const QList<Text> texts = {
    { "Cuentos", "Tres", { 1, 2, 3 }, { 1, 2, 3 } },
    { "Trabalenguas", "Otro", { 1, 2, 3 }, { 1, 2, 3 } },
    { "Fabulas", "Sin audio dos", { 1, 2, 3 }, { 1, 3 } },
    { "Poesias", "Sin primero", { 2, 3 }, { 1, 2, 3 } },
};

inline QString textFolder(const QString &title)
{
    for (const Text &text : texts) {
        if (text.title == title)
            return MediaPaths::textFolder(language, text.category, text.title);
    }
    return QString();
}

// Frame k of text t is a (10 k) x (10 t) picture, so the label tells which is shown.
inline QByteArray picture(int text, int frame)
{
    QImage image(10 * frame, 10 * text, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// "Tres 2" for the second picture of "Tres"; empty when nothing is shown.
inline QString shownPicture(const QLabel *label)
{
    const QPixmap pixmap = label->pixmap();
    const int text = pixmap.height() / 10;
    if (pixmap.isNull() || text < 1 || text > texts.size())
        return QString();
    return texts.at(text - 1).title + QLatin1Char(' ') + QString::number(pixmap.width() / 10);
}

inline void setUpTree(TestSupport::MediaTree &tree, const QString &tone)
{
    // No clip for a new line: the synthesizer says it.
    for (const char *clip : { "A", "B", "Ntilde", "1", "sleep", "espacio", "punto" })
        tree.addClip(
            QStringLiteral("media/system/audio/letters/%1.ogg").arg(QLatin1String(clip)), tone);
    for (const char *clip : { "Modo letra", "Modo palabra", "Modo frase", "Modo texto" })
        tree.addClip(
            QStringLiteral("media/system/audio/menus/%1.ogg").arg(QLatin1String(clip)), tone);
    for (const char *clip : { "Modo menu", "Modo normal", "Escribir" })
        tree.addClip(
            QStringLiteral("media/system/audio/instructions/%1.ogg").arg(QLatin1String(clip)),
            tone);
    for (int t = 0; t < texts.size(); ++t) {
        const Text &text = texts.at(t);
        const QString folder = QStringLiteral("media/languages/") + language
            + QStringLiteral("/Textos/") + text.category + QLatin1Char('/') + text.title;
        for (int k : text.pictures)
            tree.addFile(folder + QStringLiteral("/image%1.jpg").arg(k), picture(t + 1, k));
        for (int k : text.clips)
            tree.addClip(folder + QStringLiteral("/audio%1.ogg").arg(k), tone);
    }
}

// Clips as the child hears them: a text's frame as "Tres/audio1.ogg",
// anything else by its file name.
inline QStringList clipNames(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths) {
        const QString name = path.section(QLatin1Char('/'), -1);
        names << (path.contains(QLatin1String("/Textos/"))
                ? path.section(QLatin1Char('/'), -2, -2) + QLatin1Char('/') + name
                : name);
    }
    return names;
}

inline void release(QWidget *widget, int key, const QString &text, bool autoRepeat = false)
{
    QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, text, autoRepeat);
    QCoreApplication::sendEvent(widget, &event);
}

// Types the characters as a child would; " ", ".", "\n" and "\b" are Space,
// Period, Return and Backspace; "´", "¨" and "˜" the accent keys, which
// type nothing themselves, and "^" letting go of Shift.
inline void type(QWidget *widget, const QString &keys)
{
    for (const QChar c : keys) {
        if (c == QChar(0x00B4))
            release(widget, Qt::Key_Dead_Acute, QString());
        else if (c == QChar(0x00A8))
            release(widget, Qt::Key_Dead_Diaeresis, QString());
        else if (c == QChar(0x02DC))
            release(widget, Qt::Key_Dead_Tilde, QString());
        else if (c == QLatin1Char('^'))
            release(widget, Qt::Key_Shift, QString());
        else if (c == QLatin1Char('\n'))
            release(widget, Qt::Key_Return, QStringLiteral("\r"));
        else if (c == QLatin1Char('\b'))
            release(widget, Qt::Key_Backspace, QStringLiteral("\b"));
        else // Latin-1 key codes are the capital letter's code point
            release(widget, int(c.toUpper().unicode()), QString(c));
    }
}

// Waits until the widget's players have nothing left to play.
inline bool waitIdle(QObject *widget)
{
    return QTest::qWaitFor(
        [widget] {
            const auto players = widget->findChildren<AudioThread *>();
            for (const AudioThread *player : players) {
                if (player->isRunning())
                    return false;
            }
            return true;
        },
        30000);
}

} // namespace LanguageFixture
