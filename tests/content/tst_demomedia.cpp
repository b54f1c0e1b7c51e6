// The generated demo installation (media tree and activity catalogue) holds
// every file the program reads, and every file is usable: clips decode with
// the mixer as the program opens it, pictures and animations load with Qt.
// The tree is made by the demo_media target before this test runs.

#include "audio/Audio.h"
#include "content/LetterSounds.h"
#include "content/MediaPaths.h"

#include <QDirIterator>
#include <QDomDocument>
#include <QImage>
#include <QMovie>
#include <QRegularExpression>
#include <QtTest>
#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdlib>

namespace {

const QString kLanguage = QStringLiteral("Español");

// Every file name under media/system/audio/instructions that an activity,
// the login dialog or the main window plays.
const QStringList kInstructionClips = {
    // Letters and numbers.
    QStringLiteral("Te presento sonidos.ogg"),
    QStringLiteral("Como suena.ogg"),
    QStringLiteral("Como empieza.ogg"),
    QStringLiteral("Te presento nombres.ogg"),
    QStringLiteral("Letras escondidas.ogg"),
    QStringLiteral("Objetos escondidos.ogg"),
    QStringLiteral("Te presento numeros.ogg"),
    QStringLiteral("Numeros escondidos.ogg"),
    QStringLiteral("Modo menu.ogg"),
    QStringLiteral("Modo normal.ogg"),
    QStringLiteral("durmiendo.ogg"),
    QStringLiteral("bravo.ogg"),
    QStringLiteral("excelente.ogg"),
    QStringLiteral("muy bien.ogg"),
    QStringLiteral("bien.ogg"),
    QStringLiteral("perfecto.ogg"),
    QStringLiteral("puedes hacerlo mejor.ogg"),
    QStringLiteral("intentalo de nuevo.ogg"),
    QStringLiteral("izquierda.ogg"),
    QStringLiteral("derecha.ogg"),
    QStringLiteral("arriba.ogg"),
    QStringLiteral("abajo.ogg"),
    QStringLiteral("el sonido con que empieza.ogg"),
    QStringLiteral("escondido en la letra.ogg"),
    QStringLiteral("la.ogg"),
    QStringLiteral("el.ogg"),
    QStringLiteral("de.ogg"),
    QStringLiteral("escondido en la.ogg"),
    QStringLiteral("escondido en el.ogg"),
    QStringLiteral("encontraste el sonido.ogg"),
    QStringLiteral("esta palabra empieza con.ogg"),
    QStringLiteral("encontraste a la.ogg"),
    QStringLiteral("encontraste a.ogg"),
    QStringLiteral("que vive en.ogg"),
    QStringLiteral("tecla en la fila de los numeros.ogg"),
    QStringLiteral("tecla en la fila de arriba.ogg"),
    QStringLiteral("tecla en la fila del medio.ogg"),
    QStringLiteral("tecla en la fila de abajo.ogg"),
    // Braille.
    QStringLiteral("Exploracion cajetin.ogg"),
    QStringLiteral("Exploracion perkins.ogg"),
    QStringLiteral("Formemos letras braille.ogg"),
    QStringLiteral("Formemos letras perkins.ogg"),
    QStringLiteral("Formemos numeros braille.ogg"),
    QStringLiteral("Formemos numeros perkins.ogg"),
    QStringLiteral("Letras escondidas braille.ogg"),
    QStringLiteral("Letras escondidas perkins.ogg"),
    QStringLiteral("Numeros escondidos braille.ogg"),
    QStringLiteral("Numeros escondidos perkins.ogg"),
    QStringLiteral("Puntos escondidos braille.ogg"),
    QStringLiteral("Puntos escondidos perkins.ogg"),
    QStringLiteral("puntos correctos.ogg"),
    QStringLiteral("te equivocaste en la letra.ogg"),
    QStringLiteral("te equivocaste en los puntos.ogg"),
    QStringLiteral("ninguna letra.ogg"),
    QStringLiteral("ningun numero.ogg"),
    // Writing.
    QStringLiteral("Escribir.ogg"),
    // Login and main window.
    QStringLiteral("Bienvenida no vidente.ogg"),
    QStringLiteral("Escribe tu nombre.ogg"),
    QStringLiteral("Escribiste.ogg"),
    QStringLiteral("Presiona las flechas.ogg"),
    QStringLiteral("Verifica nombre.ogg"),
    QStringLiteral("Ningun usuario.ogg"),
    QStringLiteral("ayuda.ogg"),
    QStringLiteral("para menu audible.ogg"),
};

const QStringList kMenuClips = {
    QStringLiteral("Acerca.ogg"),
    QStringLiteral("Administrador.ogg"),
    QStringLiteral("Archivo.ogg"),
    QStringLiteral("Braille.ogg"),
    QStringLiteral("Cajetin.ogg"),
    QStringLiteral("Como empieza.ogg"),
    QStringLiteral("Como suena.ogg"),
    QStringLiteral("Creditos.ogg"),
    QStringLiteral("Cuentos.ogg"),
    QStringLiteral("Escribir.ogg"),
    QStringLiteral("Exploracion cajetin.ogg"),
    QStringLiteral("No hay mas.ogg"),
    QStringLiteral("Fabulas.ogg"),
    QStringLiteral("Formemos letras.ogg"),
    QStringLiteral("Imprimir.ogg"),
    QStringLiteral("Lenguaje.ogg"),
    QStringLiteral("Letras escondidas.ogg"),
    QStringLiteral("Letras y Numeros.ogg"),
    QStringLiteral("Maquina Perkins.ogg"),
    QStringLiteral("Modo frase.ogg"),
    QStringLiteral("Modo letra.ogg"),
    QStringLiteral("Modo palabra.ogg"),
    QStringLiteral("Modo texto.ogg"),
    QStringLiteral("Nombres de las Letras.ogg"),
    QStringLiteral("Numeros escondidos.ogg"),
    QStringLiteral("Numeros.ogg"),
    QStringLiteral("Objetos escondidos.ogg"),
    QStringLiteral("Poesias.ogg"),
    QStringLiteral("Puntos escondidos.ogg"),
    QStringLiteral("Reportes.ogg"),
    QStringLiteral("Salir.ogg"),
    QStringLiteral("Sonidos de las Letras.ogg"),
    QStringLiteral("Te presento nombres.ogg"),
    QStringLiteral("Te presento numeros.ogg"),
    QStringLiteral("Te presento sonidos.ogg"),
    QStringLiteral("Trabalenguas.ogg"),
    QStringLiteral("Usuario.ogg"),
};

// The activity titles with which the letters and braille activities ask for
// suggestions, in catalogue order.
const QStringList kLetterTitles = {
    QStringLiteral("Letras y Numeros -  Sonidos de las Letras - Te presento sonidos"),
    QStringLiteral("Letras y Numeros -  Sonidos de las Letras - Como suena"),
    QStringLiteral("Letras y Numeros -  Sonidos de las Letras - Como empieza"),
    QStringLiteral("Letras y Numeros -  Nombres de las Letras - Te presento nombres"),
    QStringLiteral("Letras y Numeros -  Nombres de las Letras - Letras escondidas"),
    QStringLiteral("Letras y Numeros -  Nombres de las Letras - Objetos escondidos"),
};
const QStringList kNumberTitles = {
    QStringLiteral("Letras y Numeros -  Numeros de las Letras - Te presento numeros"),
    QStringLiteral("Letras y Numeros -  Numeros de las Letras - Numeros escondidos"),
};
const QStringList kBrailleTitles = {
    QStringLiteral("Braille -  Cajetin - Exploracion cajetin"),
    QStringLiteral("Braille -  Cajetin - Puntos escondidos"),
    QStringLiteral("Braille -  Cajetin - Formemos letras"),
    QStringLiteral("Braille -  Cajetin - Letras escondidas"),
    QStringLiteral("Braille -  Cajetin - Te presento numeros"),
    QStringLiteral("Braille -  Cajetin - Numeros escondidos"),
    QStringLiteral("Braille -  Maquina Perkins - Exploracion cajetin"),
    QStringLiteral("Braille -  Maquina Perkins - Puntos escondidos"),
    QStringLiteral("Braille -  Maquina Perkins - Formemos letras"),
    QStringLiteral("Braille -  Maquina Perkins - Letras escondidas"),
    QStringLiteral("Braille -  Maquina Perkins - Te presento numeros"),
    QStringLiteral("Braille -  Maquina Perkins - Numeros escondidos"),
};

// Titles that send a letter with the suggestion request: the six letters
// activities, and forming and hidden letters on both braille devices.
QStringList letterSuggestionTitles()
{
    return kLetterTitles
        + QStringList { kBrailleTitles.at(2), kBrailleTitles.at(3), kBrailleTitles.at(8),
              kBrailleTitles.at(9) };
}

const QStringList kLetterWordFiles = {
    QStringLiteral("image.jpg"),
    QStringLiteral("sound.ogg"),
    QStringLiteral("name.ogg"),
    QStringLiteral("letter_sound.ogg"),
    QStringLiteral("letter_name.ogg"),
    QStringLiteral("sentence.ogg"),
    QStringLiteral("sentence1.ogg"),
};
const QStringList kNumberWordFiles = {
    QStringLiteral("image.jpg"),
    QStringLiteral("sound.ogg"),
    QStringLiteral("name.ogg"),
    QStringLiteral("letter_name.ogg"),
    QStringLiteral("letter_sound.ogg"),
};

const QStringList kCategories = { QStringLiteral("Cuentos"), QStringLiteral("Fabulas"),
    QStringLiteral("Trabalenguas"), QStringLiteral("Poesias") };

struct PicturePlace
{
    const char *normal;
    const char *raised;
    int x;
    int y;
};

// Where the braille widget puts each picture inside its 560 x 500 area.
const PicturePlace kCellDots[] = {
    { "braille/bra1.jpg", "braille/bra1b.jpg", 142, 52 },
    { "braille/bra2.jpg", "braille/bra2b.jpg", 142, 184 },
    { "braille/bra3.jpg", "braille/bra3b.jpg", 142, 302 },
    { "braille/bra4.jpg", "braille/bra4b.jpg", 280, 52 },
    { "braille/bra5.jpg", "braille/bra5b.jpg", 280, 184 },
    { "braille/bra6.jpg", "braille/bra6b.jpg", 280, 302 },
};
const PicturePlace kPerkinsKeys[] = {
    { "braille/per1.jpg", "braille/per1b.jpg", 42, 166 },
    { "braille/per2.jpg", "braille/per2b.jpg", 112, 166 },
    { "braille/per3.jpg", "braille/per3b.jpg", 170, 166 },
    { "braille/per4.jpg", "braille/per4b.jpg", 228, 166 },
    { "braille/per5.jpg", "braille/per5b.jpg", 332, 166 },
    { "braille/per6.jpg", "braille/per6b.jpg", 390, 166 },
    { "braille/per7.jpg", "braille/per7b.jpg", 448, 166 },
};

// The stored words whose spelling the letters activities restore on screen,
// with the letter folder each belongs in.
const QList<QPair<QString, QString>> kAccentWords = {
    { QStringLiteral("Yacare"), QStringLiteral("Y") },
    { QStringLiteral("Violin"), QStringLiteral("V") },
    { QStringLiteral("Volcan"), QStringLiteral("V") },
    { QStringLiteral("Xilofono"), QStringLiteral("X") },
    { QStringLiteral("Nandu"), QStringLiteral("Ntilde") },
    { QStringLiteral("Nu"), QStringLiteral("Ntilde") },
    { QStringLiteral("Bebe"), QStringLiteral("B") },
    { QStringLiteral("Delfin"), QStringLiteral("D") },
    { QStringLiteral("Helicoptero"), QStringLiteral("H") },
    { QStringLiteral("Leon"), QStringLiteral("L") },
    { QStringLiteral("Nino"), QStringLiteral("N") },
    { QStringLiteral("Rio"), QStringLiteral("R") },
    { QStringLiteral("Saxofon"), QStringLiteral("S") },
    { QStringLiteral("Telefono"), QStringLiteral("T") },
};

bool isFeminine(const QString &word)
{
    return word.endsWith(QLatin1Char('a')) || word.endsWith(QLatin1String("ad"));
}

// activity attribute -> text of one "sugerencias.txt".
QMap<QString, QString> readSuggestions(const QString &path)
{
    QMap<QString, QString> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QDomDocument document;
    if (!document.setContent(&file))
        return result;
    for (QDomElement e = document.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement()) {
        result.insert(e.attribute(QStringLiteral("activity")), e.text());
    }
    return result;
}

// Frames 1 … n present as pairs, none after n; returns n (0 if a pair is broken).
int countFrames(const QString &folder, const QString &picture, const QString &clip)
{
    int n = 0;
    while (QFile::exists(folder + QLatin1Char('/') + picture.arg(n + 1))
        && QFile::exists(folder + QLatin1Char('/') + clip.arg(n + 1)))
        ++n;
    if (QFile::exists(folder + QLatin1Char('/') + picture.arg(n + 1))
        || QFile::exists(folder + QLatin1Char('/') + clip.arg(n + 1)))
        return 0;
    return n;
}

double meanDifference(const QImage &a, const QImage &b)
{
    const QImage first = a.convertToFormat(QImage::Format_Grayscale8);
    const QImage second = b.convertToFormat(QImage::Format_Grayscale8);
    double total = 0;
    for (int y = 0; y < first.height(); ++y) {
        const uchar *p = first.constScanLine(y);
        const uchar *q = second.constScanLine(y);
        for (int x = 0; x < first.width(); ++x)
            total += std::abs(int(p[x]) - int(q[x]));
    }
    return total / (double(first.width()) * first.height());
}

} // namespace

class TestDemoMedia : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void systemFile_data();
    void systemFile();
    void letterFolder_data();
    void letterFolder();
    void accentWord_data();
    void accentWord();
    void bothGenders();
    void lettersThatSoundAlike();
    void numberFolder_data();
    void numberFolder();
    void textCategory_data();
    void textCategory();
    void catalogueTitles();

    void clipsDecode();
    void picturesLoad();
    void braillePictures();
    void animation_data();
    void animation();

private:
    QString m_root;
    QString m_previousDir;
};

void TestDemoMedia::initTestCase()
{
    // CTest chooses the SDL driver; run by hand, the test needs no sound card.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    m_root = QStringLiteral(PURIMBA_DEMO_DIR);
    QVERIFY2(QFileInfo(m_root + QStringLiteral("/media")).isDir(),
        "no demo tree: build the demo_media target first");
    // An installation started from its own folder: both roots are the tree.
    MediaPaths::setApplicationDir(m_root);
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_root));
}

void TestDemoMedia::cleanupTestCase()
{
    QDir::setCurrent(m_previousDir);
    MediaPaths::setApplicationDir(QString());
}

void TestDemoMedia::systemFile_data()
{
    using namespace MediaPaths;
    QTest::addColumn<QString>("path");
    for (const QString &name : kInstructionClips)
        QTest::newRow(qPrintable(QStringLiteral("instruction ") + name)) << instructionClip(name);
    QTest::newRow("greeting") << greetingClip();
    for (const QString &name : kMenuClips)
        QTest::newRow(qPrintable(QStringLiteral("menu ") + name)) << menuClip(name);
    for (const QString &letter : alphabet())
        QTest::newRow(qPrintable(QStringLiteral("letter clip ") + letter)) << letterClip(letter);
    for (int dot = 1; dot <= 6; ++dot)
        QTest::newRow(qPrintable(QStringLiteral("dot clip %1").arg(dot)))
            << letterClip(QString::number(dot));
    QTest::newRow("sleep") << letterClip(QStringLiteral("sleep"));
    for (const char *name : { "espacio", "punto", "nueva linea" })
        QTest::newRow(name) << letterClip(QLatin1String(name));
    QTest::newRow("blank") << systemClip(QStringLiteral("blank.ogg"));
    QTest::newRow("intro") << systemClip(QStringLiteral("intro.ogg"));
    QStringList pictures
        = { QStringLiteral("int.mng"), QStringLiteral("mof.mng"), QStringLiteral("credits.jpg") };
    for (int i = 1; i <= 4; ++i)
        pictures << QStringLiteral("mofli%1.jpg").arg(i);
    for (const PicturePlace &place : kCellDots)
        pictures << QString::fromLatin1(place.normal) << QString::fromLatin1(place.raised);
    for (const PicturePlace &place : kPerkinsKeys)
        pictures << QString::fromLatin1(place.normal) << QString::fromLatin1(place.raised);
    for (const QString &name : std::as_const(pictures))
        QTest::newRow(qPrintable(QStringLiteral("ui ") + name)) << uiFile(name);
    QTest::newRow("catalogue") << dataFile(QStringLiteral("activities.xml"));
}

void TestDemoMedia::systemFile()
{
    QFETCH(QString, path);
    QVERIFY2(QFileInfo(path).isFile() && QFileInfo(path).size() > 0, qPrintable(path));
}

void TestDemoMedia::letterFolder_data()
{
    QTest::addColumn<QString>("letter");
    for (const QString &letter : MediaPaths::alphabet())
        QTest::newRow(qPrintable(letter)) << letter;
}

void TestDemoMedia::letterFolder()
{
    QFETCH(QString, letter);
    const QString folder = MediaPaths::letterFolder(kLanguage, letter);
    const QStringList words = MediaPaths::listWords(folder);
    QVERIFY2(words.size() >= 2, qPrintable(folder));
    // Stored without accents or "ñ", starting with the letter ("N" for Ñ).
    static const QRegularExpression unaccented(QStringLiteral("^[A-Z][a-z]+$"));
    for (const QString &word : words) {
        QVERIFY2(unaccented.match(word).hasMatch(), qPrintable(word));
        QCOMPARE(word.at(0), letter.at(0));
        for (const QString &file : kLetterWordFiles) {
            const QString path = MediaPaths::wordFile(folder, word, file);
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        }
        // The sentence's words one by one: sentence1 … sentenceN, N at most 9.
        int n = 1;
        while (QFile::exists(
            MediaPaths::wordFile(folder, word, QStringLiteral("sentence%1.ogg").arg(n + 1))))
            ++n;
        QVERIFY2(n <= 9, qPrintable(word));
        QVERIFY(!QFile::exists(
            MediaPaths::wordFile(folder, word, QStringLiteral("sentence%1.ogg").arg(n + 2))));
    }
    for (const QString &title : letterSuggestionTitles()) {
        const QMap<QString, QString> suggestions
            = readSuggestions(MediaPaths::suggestionsFile(kLanguage, title, letter));
        QVERIFY2(!suggestions.value(title).trimmed().isEmpty(), qPrintable(title));
    }
}

void TestDemoMedia::accentWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("letter");
    for (const auto &entry : kAccentWords)
        QTest::newRow(qPrintable(entry.first)) << entry.first << entry.second;
}

void TestDemoMedia::accentWord()
{
    QFETCH(QString, word);
    QFETCH(QString, letter);
    QVERIFY(MediaPaths::listWords(MediaPaths::letterFolder(kLanguage, letter)).contains(word));
}

void TestDemoMedia::bothGenders()
{
    // "Objetos escondidos" speaks "la" or "el" by the folder name.
    int feminine = 0;
    int masculine = 0;
    for (const QString &letter : MediaPaths::alphabet()) {
        for (const QString &word :
            MediaPaths::listWords(MediaPaths::letterFolder(kLanguage, letter)))
            ++(isFeminine(word) ? feminine : masculine);
    }
    QVERIFY(feminine >= 10);
    QVERIFY(masculine >= 10);
}

// As the program reads the file the generator writes.
void TestDemoMedia::lettersThatSoundAlike()
{
    const LetterSounds sounds = LetterSounds::read(kLanguage);
    QVERIFY(sounds.soundAlike(QStringLiteral("V"), QStringLiteral("B")));
    QVERIFY(sounds.soundAlike(QStringLiteral("Q"), QStringLiteral("C")));
    QVERIFY(sounds.soundAlike(QStringLiteral("Z"), QStringLiteral("S")));
    QVERIFY(!sounds.soundAlike(QStringLiteral("P"), QStringLiteral("B")));
    QVERIFY(sounds.isSilent(QStringLiteral("H")));
    QVERIFY(!sounds.isSilent(QStringLiteral("Ntilde")));
}

void TestDemoMedia::numberFolder_data()
{
    QTest::addColumn<QString>("digit");
    for (int digit = 0; digit <= 9; ++digit)
        QTest::newRow(qPrintable(QString::number(digit))) << QString::number(digit);
}

void TestDemoMedia::numberFolder()
{
    QFETCH(QString, digit);
    const QString folder = MediaPaths::numberFolder(kLanguage, digit);
    const QStringList words = MediaPaths::listWords(folder);
    QVERIFY2(!words.isEmpty(), qPrintable(folder));
    for (const QString &word : words) {
        for (const QString &file : kNumberWordFiles) {
            const QString path = MediaPaths::wordFile(folder, word, file);
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        }
    }
    // Only "Numeros escondidos" asks with a digit; it is looked up under Numeros.
    const QString title = kNumberTitles.at(1);
    const QString path = MediaPaths::suggestionsFile(kLanguage, title, digit);
    QVERIFY(path.startsWith(folder));
    QVERIFY(!readSuggestions(path).value(title).trimmed().isEmpty());
}

void TestDemoMedia::textCategory_data()
{
    QTest::addColumn<QString>("category");
    for (const QString &category : kCategories)
        QTest::newRow(qPrintable(category)) << category;
}

void TestDemoMedia::textCategory()
{
    QFETCH(QString, category);
    const QStringList texts
        = MediaPaths::listWords(MediaPaths::textCategoryFolder(kLanguage, category));
    QVERIFY(!texts.isEmpty());
    for (const QString &text : texts) {
        const QString folder = MediaPaths::textFolder(kLanguage, category, text);
        QVERIFY2(
            QFileInfo(MediaPaths::textFile(kLanguage, category, text, QStringLiteral("menu.ogg")))
                .isFile(),
            qPrintable(folder));
        const int frames
            = countFrames(folder, QStringLiteral("image%1.jpg"), QStringLiteral("audio%1.ogg"));
        QVERIFY2(frames >= 3 && frames <= 6, qPrintable(folder));
        const QMap<QString, QString> suggestions
            = readSuggestions(MediaPaths::textSuggestionsFile(kLanguage, category, text));
        QVERIFY2(
            !suggestions.value(QStringLiteral("textos")).trimmed().isEmpty(), qPrintable(folder));
    }
}

void TestDemoMedia::catalogueTitles()
{
    QFile file(MediaPaths::dataFile(QStringLiteral("activities.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QDomDocument document;
    QVERIFY(document.setContent(&file));
    // Full titles: level 1 + " -  " + level 2 + " - " + level 3, in document order.
    QStringList titles;
    for (QDomElement group = document.documentElement().firstChildElement(); !group.isNull();
         group = group.nextSiblingElement()) {
        for (QDomElement sub = group.firstChildElement(); !sub.isNull();
             sub = sub.nextSiblingElement()) {
            for (QDomElement activity = sub.firstChildElement(); !activity.isNull();
                 activity = activity.nextSiblingElement()) {
                titles << group.attribute(QStringLiteral("name")) + QStringLiteral(" -  ")
                        + sub.attribute(QStringLiteral("name")) + QStringLiteral(" - ")
                        + activity.attribute(QStringLiteral("name"));
            }
        }
    }
    QCOMPARE(titles, kLetterTitles + kNumberTitles + kBrailleTitles);
}

void TestDemoMedia::clipsDecode()
{
    Audio::instance()->init();
    const int bytesPerSecond = Audio::instance()->frequency() * Audio::instance()->channels()
        * int(SDL_AUDIO_BITSIZE(Audio::instance()->format()) / 8);
    QVERIFY(bytesPerSecond > 0);
    QStringList failures;
    int clips = 0;
    QDirIterator it(m_root + QStringLiteral("/media"), { QStringLiteral("*.ogg") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ++clips;
        Mix_Chunk *chunk
            = Mix_LoadWAV_RW(SDL_RWFromFile(QFile::encodeName(path).constData(), "rb"), 1);
        if (!chunk) {
            failures << path + QStringLiteral(": ") + QString::fromUtf8(Mix_GetError());
            continue;
        }
        // Every clip but the silence must be heard: a speech engine that
        // cannot say a phoneme writes a clip of nothing.
        int peak = 0;
        const qint16 *samples = reinterpret_cast<const qint16 *>(chunk->abuf);
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            peak = qMax(peak, std::abs(int(samples[i])));
        const double seconds = double(chunk->alen) / bytesPerSecond;
        const bool silent = path.endsWith(QLatin1String("/blank.ogg"));
        if (silent ? peak > 100 : peak < 3000)
            failures << path + QStringLiteral(": peak %1").arg(peak);
        // The welcome window closes after 14 s, so its introduction must end before.
        const double longest = path.endsWith(QLatin1String("/intro.ogg")) ? 14 : 30;
        if (seconds <= 0 || seconds > longest)
            failures << path + QStringLiteral(": lasts %1 s").arg(seconds);
        Mix_FreeChunk(chunk);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    QVERIFY(clips > 500);
}

void TestDemoMedia::picturesLoad()
{
    QStringList failures;
    int pictures = 0;
    QDirIterator it(m_root + QStringLiteral("/media"), { QStringLiteral("*.jpg") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ++pictures;
        const QImage image(path);
        if (image.isNull()) {
            failures << path + QStringLiteral(": does not load");
            continue;
        }
        // Object pictures fill the letters widget's 300 x 300 picture label;
        // text frames fit the 560 x 500 activity area under its title bar.
        const bool object = path.endsWith(QLatin1String("/image.jpg"));
        const bool frame = path.contains(QLatin1String("/Textos/"));
        if ((object && image.size() != QSize(300, 300))
            || (frame && (image.width() > 560 || image.height() > 470)))
            failures << path + QStringLiteral(": %1 x %2").arg(image.width()).arg(image.height());
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    QVERIFY(pictures > 80);
    // The side panel is 210 pixels wide and shows the mascot beside the greeting.
    for (int i = 1; i <= 4; ++i)
        QVERIFY(QImage(MediaPaths::uiFile(QStringLiteral("mofli%1.jpg").arg(i))).width() <= 120);
}

void TestDemoMedia::braillePictures()
{
    const QRect area(0, 0, 560, 500);
    for (const auto &device :
        { std::vector<PicturePlace>(std::begin(kCellDots), std::end(kCellDots)),
            std::vector<PicturePlace>(std::begin(kPerkinsKeys), std::end(kPerkinsKeys)) }) {
        QList<QRect> placed;
        for (const PicturePlace &place : device) {
            const QImage normal(MediaPaths::uiFile(QString::fromLatin1(place.normal)));
            const QImage raised(MediaPaths::uiFile(QString::fromLatin1(place.raised)));
            QVERIFY2(!normal.isNull() && !raised.isNull(), place.normal);
            // Both states take the same place, so a dot never jumps.
            QCOMPARE(raised.size(), normal.size());
            const QRect rect(QPoint(place.x, place.y), normal.size());
            QVERIFY2(area.contains(rect), place.normal);
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!rect.intersects(other), place.normal);
            placed << rect;
            // Strongly different for a child with low vision.
            QVERIFY2(meanDifference(normal, raised) > 30, place.normal);
        }
    }
}

void TestDemoMedia::animation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::newRow("welcome") << QStringLiteral("int.mng") << QSize(600, 450);
    QTest::newRow("mascot") << QStringLiteral("mof.mng") << QSize();
}

void TestDemoMedia::animation()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QMovie movie(MediaPaths::uiFile(name));
    QVERIFY(movie.isValid());
    QVERIFY(movie.jumpToFrame(0));
    const QImage first = movie.currentImage();
    QVERIFY(!first.isNull());
    if (size.isValid())
        QCOMPARE(first.size(), size);
    // The reader may not know the count in advance; walk the frames.
    int frames = 1;
    bool moves = false;
    while (frames < 1000 && movie.jumpToNextFrame()) {
        ++frames;
        moves = moves || movie.currentImage() != first;
    }
    QVERIFY2(frames >= 4, qPrintable(QString::number(frames)));
    QVERIFY(moves);
}

QTEST_MAIN(TestDemoMedia)
#include "tst_demomedia.moc"
