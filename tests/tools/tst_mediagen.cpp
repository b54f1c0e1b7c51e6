// The demo media generator: reading its sources, rejecting sources that
// would give an incomplete tree, and bringing a tree up to date without
// making again what did not change.

#include "mediagen/AudioMaker.h"
#include "mediagen/Generator.h"
#include "mediagen/MediaPlan.h"
#include "mediagen/PictureCheck.h"
#include "mediagen/PictureMaker.h"
#include "mediagen/SourceFile.h"
#include "mediagen/Tools.h"

#include <QDirIterator>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtEndian>
#include <QtTest>
#include <cmath>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

Job fileJob(const QString &output, const QString &content)
{
    return Job { output, QStringLiteral("file"), { content } };
}

QByteArray samples(const QList<int> &values)
{
    QByteArray bytes(values.size() * 2, Qt::Uninitialized);
    for (int i = 0; i < values.size(); ++i)
        qToLittleEndian<qint16>(qint16(values.at(i)), bytes.data() + 2 * i);
    return bytes;
}

QList<int> values(const QByteArray &bytes)
{
    QList<int> result;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        result.append(qFromLittleEndian<qint16>(bytes.constData() + i));
    return result;
}

QByteArray chunk(const char *id, quint32 size, const QByteArray &body)
{
    char sizeBytes[4];
    qToLittleEndian(size, sizeBytes);
    return QByteArray(id, 4) + QByteArray(sizeBytes, 4) + body;
}

// The 16 bytes of a PCM "fmt " chunk body.
QByteArray pcmFormat(quint16 channels, quint16 bits, quint32 rate = 22050)
{
    QByteArray body(16, '\0');
    qToLittleEndian<quint16>(1, body.data());
    qToLittleEndian(channels, body.data() + 2);
    qToLittleEndian(rate, body.data() + 4);
    qToLittleEndian<quint32>(rate * channels * bits / 8, body.data() + 8);
    qToLittleEndian<quint16>(channels * bits / 8, body.data() + 12);
    qToLittleEndian(bits, body.data() + 14);
    return body;
}

// A RIFF stream as a pipe gives it: the sizes the writer could not fill in.
QByteArray riff(const QByteArray &chunks)
{
    return chunk("RIFF", 0xFFFFFFFF, "WAVE" + chunks);
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(path, target))
            return false;
    }
    return true;
}

} // namespace

class TestMediaGen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sourceFile();
    void sourceFileErrors_data();
    void sourceFileErrors();

    void realSourcesPlan();
    void badSources_data();
    void badSources();
    void suggestionsForSomeFolders();

    void objectPictures_data();
    void objectPictures();
    void pictureFaults_data();
    void pictureFaults();
    void everyWordPictureIsAccepted();
    void lettering();
    void braillePictures();

    void incremental();
    void removesWhatIsNoLongerPlanned();
    void failedFileIsRetried();

    void trimSilence();
    void normalise();
    void levelChecks_data();
    void levelChecks();
    void parseWav();
    void parseBadWav_data();
    void parseBadWav();

private:
    Tools m_tools; // no programs: file jobs need none
};

void TestMediaGen::sourceFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QVERIFY(writeAll(path,
        "# comment\nname = eñe\n\n[Nandu]\nimage = draw:nandu\nname = x = y\n"
        "name = ñandú\n[ Two words ]\n"));
    SourceFile file;
    QString error;
    QVERIFY2(file.load(path, &error), qPrintable(error));
    QCOMPARE(file.header().value(QStringLiteral("name")), QStringLiteral("eñe"));
    QCOMPARE(file.sections().size(), 2);
    const SourceFile::Section nandu = file.sections().at(0);
    QCOMPARE(nandu.name, QStringLiteral("Nandu"));
    QCOMPARE(nandu.line, 4);
    // The last value wins; only the first "=" separates key and value.
    QCOMPARE(nandu.value(QStringLiteral("name")), QStringLiteral("ñandú"));
    QCOMPARE(nandu.entries.at(1).value, QStringLiteral("x = y"));
    QVERIFY(nandu.has(QStringLiteral("image")));
    QVERIFY(!nandu.has(QStringLiteral("sound")));
    QCOMPARE(file.sections().at(1).name, QStringLiteral("Two words"));
}

void TestMediaGen::sourceFileErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no equals") << QByteArray("a = 1\njust text\n") << QStringLiteral("a.txt:2:");
    QTest::newRow("no key") << QByteArray("= 1\n") << QStringLiteral("a.txt:1:");
    QTest::newRow("open header") << QByteArray("\n\n[Word\n") << QStringLiteral("a.txt:3:");
    QTest::newRow("empty header") << QByteArray("[]\n") << QStringLiteral("a.txt:1:");
    QTest::newRow("not UTF-8") << QByteArray("name = \xff\xfe\n") << QStringLiteral("UTF-8");
}

void TestMediaGen::sourceFileErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QVERIFY(writeAll(path, content));
    SourceFile file;
    QString error;
    QVERIFY(!file.load(path, &error));
    QVERIFY2(error.contains(expected), qPrintable(error));
}

void TestMediaGen::realSourcesPlan()
{
    MediaPlan plan;
    QString error;
    QVERIFY2(plan.build(QStringLiteral(PURIMBA_MEDIA_SRC), &error), qPrintable(error));
    QSet<QString> outputs;
    for (const Job &job : plan.jobs()) {
        QVERIFY2(!outputs.contains(job.output), qPrintable(job.output));
        outputs.insert(job.output);
    }
    // One clip per word of a sentence, and the letter clips from the letter sources.
    const QString abeja = QStringLiteral("media/languages/Español/Letras/A/Abeja/");
    for (int i = 1; i <= 7; ++i)
        QVERIFY(outputs.contains(abeja + QStringLiteral("sentence%1.ogg").arg(i)));
    QVERIFY(!outputs.contains(abeja + QStringLiteral("sentence8.ogg")));
    QVERIFY(outputs.contains(QStringLiteral("media/system/audio/letters/Ntilde.ogg")));
    QVERIFY(outputs.contains(QStringLiteral("media/languages/Español/Letras/sonidos.txt")));
    QVERIFY(plan.folders().contains(QStringLiteral("media/system/text")));

    // Mofli praises in a voice of his own; letter sounds are drawn out.
    QHash<QString, QStringList> params;
    for (const Job &job : plan.jobs())
        params.insert(job.output, job.params);
    const QStringList praise
        = params.value(QStringLiteral("media/system/audio/instructions/bravo.ogg"));
    const QStringList instruction
        = params.value(QStringLiteral("media/system/audio/instructions/Modo menu.ogg"));
    QCOMPARE(praise.size(), 4);
    QCOMPARE(instruction.size(), 4);
    QCOMPARE(praise.at(3), QStringLiteral("¡Bravo!"));
    QVERIFY(praise.mid(0, 3) != instruction.mid(0, 3));
    QCOMPARE(params.value(QStringLiteral("media/system/audio/letters/N.ogg")).value(4),
        QStringLiteral("0.6"));
}

void TestMediaGen::badSources_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("expected");
    QTest::newRow("accented word folder") << "letters/A.txt"
                                          << "[Abeja]"
                                          << "[Ábeja]"
                                          << "letters/A.txt:5: a word folder";
    QTest::newRow("word of another letter") << "letters/A.txt"
                                            << "[Abeja]"
                                            << "[Beja]"
                                            << "letters/A.txt:5: a word folder";
    QTest::newRow("one word only") << "letters/B.txt"
                                   << "[Bebe]"
                                   << "# [Bebe]"
                                   << "at least two words";
    QTest::newRow("missing picture") << "letters/C.txt"
                                     << "image = 🏠"
                                     << "# no picture"
                                     << "\"image\" is missing";
    QTest::newRow("sentence too long")
        << "letters/D.txt"
        << "sentence = El delfín salta sobre las olas."
        << "sentence = El delfín salta sobre las olas del mar muy azul hoy."
        << "1 to 9 words";
    QTest::newRow("two words, one sound") << "letters/L.txt"
                                          << "sound = @rugido"
                                          << "sound = @zumbido"
                                          << "has the sound of";
    QTest::newRow("unknown voice") << "clips.txt"
                                   << "%mofli ¡Bravo!"
                                   << "%mofi ¡Bravo!"
                                   << "unknown voice \"mofi\"";
    QTest::newRow("unknown sound") << "letters/A.txt"
                                   << "@zumbido"
                                   << "@zumbidoo"
                                   << "unknown sound";
    QTest::newRow("emoji the font lacks") << "letters/E.txt"
                                          << "image = 🐘"
                                          << "image = \uE000"
                                          << "emoji font has no";
    QTest::newRow("wrong count") << "numbers/3.txt"
                                 << "🐷 x3"
                                 << "🐷 x4"
                                 << "x3";
    QTest::newRow("too few frames") << "texts/Trabalenguas/Tres tristes tigres.txt"
                                    << "[3]"
                                    << "# [3]"
                                    << "three to six frames";
    QTest::newRow("broken catalogue") << "activities.xml"
                                      << "</Activities>"
                                      << "</Activity>"
                                      << "activities.xml:";
    QTest::newRow("letter in lower case") << "letter-sounds.txt"
                                          << "igual = B V"
                                          << "igual = B v"
                                          << "letter-sounds.txt:5: \"v\" is no capital letter";
    QTest::newRow("a group of one") << "letter-sounds.txt"
                                    << "igual = S Z"
                                    << "igual = S"
                                    << "too few letters";
    QTest::newRow("neither igual nor muda") << "letter-sounds.txt"
                                            << "muda = H"
                                            << "mudo = H"
                                            << "\"igual\" or \"muda\" expected";
    QTest::newRow("two words, one picture") << "letters/Y.txt"
                                            << "image = draw:yegua"
                                            << "image = 🐎"
                                            << "letters/Y.txt:12: the same picture as ";
    QTest::newRow("unknown drawing in a scene") << "texts/Trabalenguas/Tres tristes tigres.txt"
                                                << "image = 🐯 🌾\n"
                                                << "image = 🐯 draw:trigo\n"
                                                << "no drawing \"draw:trigo\"";
    QTest::newRow("plural object word") << "letters/N.txt"
                                        << "name = nido"
                                        << "name = nidos"
                                        << "a plural object word (\"el nidos\")";
    QTest::newRow("article the activity would not say")
        << "letters/N.txt"
        << "name = naranja\narticle = la"
        << "name = naranja\narticle = el"
        << "\"el naranja\" would be said \"la naranja\"";
    QTest::newRow("word not beginning with its letter") << "letters/Ntilde.txt"
                                                        << "name = ñandú"
                                                        << "name = nandú"
                                                        << "\"nandú\" does not begin with Ñ";
    QTest::newRow("folder not the word")
        << "letters/A.txt"
        << "name = abeja"
        << "name = avispa"
        << "letters/A.txt:5: the folder of \"avispa\" is \"Avispa\"";
    QTest::newRow("suggestion field without a value")
        << "suggestions.txt"
        << "= zorro y pez"
        << "= zorro y pez\n[Braille -  Cajetin - Formemos letras]\nfor = Z\ntext = {otra}"
        << "\"{otra}\" has no value for Z";
    QTest::newRow("suggestion for letters and digits") << "suggestions.txt"
                                                       << "for = A E I O U"
                                                       << "for = A E I O 0"
                                                       << "\"for\" is letters, numbers";
    QTest::newRow("no voice") << "settings.txt"
                              << "voice = es-419"
                              << ""
                              << "\"voice\" is missing";
}

void TestMediaGen::badSources()
{
    QFETCH(QString, file);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(copyTree(QStringLiteral(PURIMBA_MEDIA_SRC), dir.path()));
    const QString path = dir.filePath(file);
    QString content = QString::fromUtf8(readAll(path));
    QVERIFY2(content.contains(from), qPrintable(from));
    content.replace(from, to);
    QVERIFY(writeAll(path, content.toUtf8()));

    MediaPlan plan;
    QString error;
    QVERIFY(!plan.build(dir.path(), &error));
    QVERIFY2(error.contains(expected), qPrintable(error));
}

namespace {

QImage square(const QColor &background, const QRect &object, const QColor &colour)
{
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.fillRect(object, colour);
    return image;
}

} // namespace

// Whatever the emoji, pale or dark, wide or tall, one or two: the object
// fills its picture and stands out from its background.
void TestMediaGen::objectPictures_data()
{
    QTest::addColumn<QStringList>("params");
    QTest::newRow("pale sheep") << QStringList { "object", "🐑" };
    QTest::newRow("yellow star") << QStringList { "object", "⭐" };
    QTest::newRow("white baby face") << QStringList { "object", "👶" };
    QTest::newRow("wide car") << QStringList { "object", "🚗" };
    QTest::newRow("tall giraffe") << QStringList { "object", "🦒" };
    QTest::newRow("thin shower") << QStringList { "object", "🚿" };
    QTest::newRow("two children") << QStringList { "object", "👧👦" };
    QTest::newRow("dark drawing") << QStringList { "object", "draw:xolo" };
    QTest::newRow("one sun") << QStringList { "count", "☀️", "1" };
    QTest::newRow("two shoes") << QStringList { "count", "👟", "2" };
    QTest::newRow("six ducks") << QStringList { "count", "🦆", "6" };
    QTest::newRow("empty box") << QStringList { "count", "🍎", "0" };
}

void TestMediaGen::objectPictures()
{
    QFETCH(QStringList, params);
    QString error;
    const QImage image = PictureMaker::render(params, &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(300, 300));
    const PictureCheck::Measure measure = PictureCheck::measure(image);
    QVERIFY2(measure.span >= 0.80, qPrintable(QString::number(measure.span)));
    QVERIFY2(measure.contrast >= 3, qPrintable(QString::number(measure.contrast)));
    QVERIFY2(PictureCheck::acceptable(image, &error), qPrintable(error));
}

void TestMediaGen::pictureFaults_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QString>("refused");
    const QColor cream(0xff, 0xfb, 0xeb);
    QTest::newRow("strong and large")
        << square(cream, QRect(40, 20, 200, 250), Qt::darkBlue) << QString();
    QTest::newRow("small object") << square(cream, QRect(60, 60, 200, 200), Qt::darkBlue)
                                  << "spans 67 %";
    QTest::newRow("pale on light")
        << square(cream, QRect(20, 20, 260, 260), QColor(0xd0, 0xd0, 0xd0)) << "contrast is 1.5:1";
    QTest::newRow("mid grey on light")
        << square(cream, QRect(20, 20, 260, 260), Qt::gray) << "contrast is 2.5:1";
    QTest::newRow("pale on dark") << square(QColor(0x14, 0x21, 0x3d), QRect(20, 20, 260, 260),
        QColor(0x30, 0x50, 0x80)) << "contrast is 2.";
    QTest::newRow("white on pale blue") << square(QColor(0xe3, 0xf0, 0xff), QRect(20, 20, 260, 260),
        Qt::white) << "nothing stands out";
}

void TestMediaGen::pictureFaults()
{
    QFETCH(QImage, image);
    QFETCH(QString, refused);
    QString problem;
    QCOMPARE(PictureCheck::acceptable(image, &problem), refused.isEmpty());
    QVERIFY2(problem.contains(refused), qPrintable(problem));
}

// The words helpers add are drawn by the same rules: every word and number
// picture of the sources passes the checks the generator applies.
void TestMediaGen::everyWordPictureIsAccepted()
{
    MediaPlan plan;
    QString error;
    QVERIFY2(plan.build(QStringLiteral(PURIMBA_MEDIA_SRC), &error), qPrintable(error));
    QStringList failures;
    int pictures = 0;
    for (const Job &job : plan.jobs()) {
        if (!job.output.endsWith(QLatin1String("/image.jpg")))
            continue;
        ++pictures;
        const QImage image = PictureMaker::render(job.params, &error);
        if (image.isNull() || !PictureCheck::acceptable(image, &error))
            failures << job.output + QStringLiteral(": ") + error;
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    QVERIFY(pictures > 60);
}

void TestMediaGen::lettering()
{
    // "fi" stays two letters: a ligature would drop the dot of the i.
    QTextLayout layout(QStringLiteral("Mofli"), PictureMaker::letteringFont(40));
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun &run : layout.glyphRuns())
        glyphs += int(run.glyphIndexes().size());
    QCOMPARE(glyphs, 5);

    // The least print of a frame has capitals 32 pixels high.
    QVERIFY(
        QFontMetricsF(PictureMaker::letteringFont(PictureMaker::kCaptionPixels)).capHeight() >= 32);
    // A frame whose words would need smaller print is refused, by its name.
    QTemporaryDir dir;
    const QString frame = QStringLiteral("media/Textos/Cuentos/Largo/image1.jpg");
    const QString caption = QStringLiteral(
        "Todo lo que la tortuga vio en el largo camino: flores, piedras, árboles, ríos, "
        "montes, casas, puentes, pájaros y nubes, una por una, muy despacio, hasta la meta.");
    Generator generator(m_tools, dir.path(), 1);
    QString error;
    QVERIFY(!generator.run(
        { Job { frame, QStringLiteral("picture"), { "frame", "🐢", "", caption } } }, {}, &error));
    QVERIFY2(error.startsWith(frame + QStringLiteral(": the text is too long")), qPrintable(error));
    QVERIFY(!QFileInfo::exists(dir.filePath(frame)));
    // The credits' lines stay clear of the picture's right and bottom edges.
    SourceFile ui;
    QVERIFY2(ui.load(QStringLiteral(PURIMBA_MEDIA_SRC "/ui.txt"), &error), qPrintable(error));
    QStringList credits = { QStringLiteral("credits") };
    for (const SourceFile::Section &section : ui.sections()) {
        for (const SourceFile::Entry &entry : section.entries) {
            if (section.name == QLatin1String("credits"))
                credits << entry.value;
        }
    }
    const QImage picture = PictureMaker::render(credits, &error);
    QVERIFY2(!picture.isNull(), qPrintable(error));
    // The bands between the text and the panel's edge, its rounded corners apart.
    int lettering = 0;
    const int w = picture.width();
    const int h = picture.height();
    for (int y = 150; y < h - 10; ++y) {
        for (int x = 30; x < w - 10; ++x) {
            const bool band = (x >= w - 30 && y < h - 30) || (y >= h - 24 && x < w - 30);
            if (band && qGray(picture.pixel(x, y)) > 200)
                ++lettering;
        }
    }
    QCOMPARE(lettering, 0);
}

void TestMediaGen::braillePictures()
{
    QString error;
    for (int dot = 1; dot <= 6; ++dot) {
        const QString n = QString::number(dot);
        const PictureCheck::Measure flat
            = PictureCheck::measure(PictureMaker::render({ "dot", n, "0" }, &error));
        const PictureCheck::Measure raised
            = PictureCheck::measure(PictureMaker::render({ "dot", n, "1" }, &error));
        QCOMPARE(flat.background, QColor(Qt::white));
        // A flat dot and its number are plain to see (4.5:1, as for text);
        // a raised one far more so.
        QVERIFY2(flat.contrast >= 4.5, qPrintable(QString::number(flat.contrast)));
        QVERIFY2(
            raised.contrast >= 2 * flat.contrast, qPrintable(QString::number(raised.contrast)));
    }
}

// A section written for some folders replaces the general one for them only.
void TestMediaGen::suggestionsForSomeFolders()
{
    QTemporaryDir dir;
    QVERIFY(copyTree(QStringLiteral(PURIMBA_MEDIA_SRC), dir.path()));
    QVERIFY(writeAll(dir.filePath(QStringLiteral("suggestions.txt")),
        "B = barco\n[Uno]\nfor = letters\ntext = {letra}: {palabras}.\n"
        "[Uno]\nfor = A Ñ\ntext = Solo {letra}.\n[Dos]\nfor = B\ntext = {otras}\n"
        "[Tres]\nfor = numbers\ntext = {nombre}\n[Tres]\nfor = 0\ntext = Nada.\n"));
    MediaPlan plan;
    QString error;
    QVERIFY2(plan.build(dir.path(), &error), qPrintable(error));
    QHash<QString, QString> files;
    for (const Job &job : plan.jobs()) {
        if (job.output.endsWith(QLatin1String("/sugerencias.txt")))
            files.insert(job.output.section(QLatin1Char('/'), 3, 4), job.params.value(0));
    }
    const auto has = [&](const char *folder, const QString &text) {
        return files.value(QLatin1String(folder)).contains(text);
    };
    QVERIFY(has("Letras/A", QStringLiteral(">Solo A.<")));
    QVERIFY(!has("Letras/A", QStringLiteral("A:")));
    QVERIFY(has("Letras/Ntilde", QStringLiteral(">Solo Ñ.<")));
    QVERIFY(has("Letras/B", QStringLiteral(">B: ballena y bebé.<")));
    QVERIFY(has("Letras/B", QStringLiteral("activity=\"Dos\">barco<")));
    QVERIFY(!has("Letras/C", QStringLiteral("\"Dos\"")));
    QVERIFY(has("Numeros/0", QStringLiteral(">Nada.<")));
    QVERIFY(!has("Numeros/0", QStringLiteral("cero")));
    QVERIFY(has("Numeros/7", QStringLiteral(">siete<")));
}

void TestMediaGen::incremental()
{
    QTemporaryDir dir;
    const QString a = QStringLiteral("media/a/one.txt");
    const QString b = QStringLiteral("media/b/same as one.txt");
    const QString c = QStringLiteral("data/other.xml");
    QList<Job> jobs = { fileJob(a, QStringLiteral("uno")), fileJob(b, QStringLiteral("uno")),
        fileJob(c, QStringLiteral("<x/>")) };
    Generator generator(m_tools, dir.path(), 2);
    QString error;
    QVERIFY2(generator.run(jobs, {}, &error), qPrintable(error));
    // Equal files are made once and copied.
    QCOMPARE(generator.stats().made, 2);
    QCOMPARE(generator.stats().copied, 1);
    QCOMPARE(readAll(dir.filePath(a)), QByteArray("uno"));
    QCOMPARE(readAll(dir.filePath(b)), QByteArray("uno"));

    QVERIFY(generator.run(jobs, {}, &error));
    QCOMPARE(generator.stats().made + generator.stats().copied, 0);

    // Only the changed file is made again.
    jobs[2] = fileJob(c, QStringLiteral("<y/>"));
    QVERIFY(generator.run(jobs, {}, &error));
    QCOMPARE(generator.stats().made, 1);
    QCOMPARE(readAll(dir.filePath(c)), QByteArray("<y/>"));

    // A file removed or changed by hand is put right; its twin is the source.
    QVERIFY(QFile::remove(dir.filePath(a)));
    QVERIFY(writeAll(dir.filePath(c), "<y/> and more"));
    QVERIFY(generator.run(jobs, {}, &error));
    QCOMPARE(generator.stats().made, 1);
    QCOMPARE(generator.stats().copied, 1);
    QCOMPARE(readAll(dir.filePath(a)), QByteArray("uno"));
    QCOMPARE(readAll(dir.filePath(c)), QByteArray("<y/>"));
}

void TestMediaGen::removesWhatIsNoLongerPlanned()
{
    QTemporaryDir dir;
    const QString word = QStringLiteral("media/Letras/A/Abeja/name.ogg");
    const QString kept = QStringLiteral("media/system/text");
    Generator generator(m_tools, dir.path(), 1);
    QString error;
    QVERIFY(generator.run({ fileJob(word, QStringLiteral("x")),
                              fileJob(QStringLiteral("media/x.txt"), QStringLiteral("y")) },
        { kept }, &error));
    QVERIFY(QFileInfo(dir.filePath(kept)).isDir());
    QVERIFY(writeAll(dir.filePath(QStringLiteral("media/Letras/B/stray.txt")), "left over"));

    // The word is gone from the sources: its folder must not stay behind as
    // an empty word, and nothing unplanned stays in the tree.
    QVERIFY(generator.run(
        { fileJob(QStringLiteral("media/x.txt"), QStringLiteral("y")) }, { kept }, &error));
    QCOMPARE(generator.stats().removed, 2);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("media/Letras"))));
    QVERIFY(QFileInfo(dir.filePath(kept)).isDir());
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("media/x.txt"))));
}

void TestMediaGen::failedFileIsRetried()
{
    QTemporaryDir dir;
    const QString good = QStringLiteral("media/good.txt");
    const QString bad = QStringLiteral("media/bad.ogg");
    const QList<Job> jobs
        = { fileJob(good, QStringLiteral("ok")), Job { bad, QStringLiteral("no such kind"), {} } };
    Generator generator(m_tools, dir.path(), 2);
    QString error;
    QVERIFY(!generator.run(jobs, {}, &error));
    QVERIFY2(error.contains(bad), qPrintable(error));
    // The rest of the tree is made, and nothing half-written is left.
    QCOMPARE(readAll(dir.filePath(good)), QByteArray("ok"));
    QVERIFY(!QFileInfo::exists(dir.filePath(bad)));
    QVERIFY(!QFileInfo::exists(dir.filePath(bad + QStringLiteral(".part"))));

    // The failure is not recorded as done: the next run tries it again.
    QVERIFY(!generator.run(jobs, {}, &error));
    QCOMPARE(generator.stats().made, 0);
    QVERIFY2(error.contains(bad), qPrintable(error));
}

void TestMediaGen::trimSilence()
{
    const int rate = 1000; // 20 samples of lead-in, 83 of tail at this rate
    QList<int> sound(300, 0);
    for (int i = 100; i < 110; ++i)
        sound[i] = 5000;
    const QList<int> trimmed = values(AudioMaker::trimSilence(samples(sound), rate));
    QCOMPARE(trimmed.size(), 20 + 10 + 83);
    QCOMPARE(trimmed.at(20), 5000);
    QCOMPARE(trimmed.at(29), 5000);
    QCOMPARE(trimmed.at(30), 0);

    // All silence (or nearly) is kept as it is.
    const QList<int> quiet(50, 100);
    QCOMPARE(values(AudioMaker::trimSilence(samples(quiet), rate)), quiet);
}

void TestMediaGen::normalise()
{
    const QList<int> loud = values(AudioMaker::normalise(samples({ 0, 1000, -2000, 500 })));
    QCOMPARE(loud, QList<int>({ 0, 13000, -26000, 6500 }));
    const QList<int> silence = { 0, 0, 0 };
    QCOMPARE(values(AudioMaker::normalise(samples(silence))), silence);
}

namespace {

// A 440 Hz tone of the given peak (full scale 1.0), with silence around it.
QList<double> tone(double peak, double seconds, double leadIn, double tail, int rate)
{
    QList<double> x(qsizetype((leadIn + seconds + tail) * rate), 0.0);
    for (qsizetype i = 0; i < qsizetype(seconds * rate); ++i)
        x[qsizetype(leadIn * rate) + i] = peak * std::sin(2 * M_PI * 440.0 * double(i) / rate);
    return x;
}

QByteArray raw(const QList<double> &x)
{
    QList<int> v;
    for (double d : x)
        v.append(qBound(-32768, int(std::lround(d * 32768.0)), 32767));
    return samples(v);
}

} // namespace

void TestMediaGen::levelChecks_data()
{
    QTest::addColumn<QByteArray>("clip");
    QTest::addColumn<double>("minimum"); // seconds a letter's clip must last, or 0
    QTest::addColumn<QString>("refused");
    const int rate = 8000;
    // A sine of peak 0.14 is 20 dB below full scale: the target.
    QTest::newRow("levelled") << raw(tone(0.14, 1, 0.05, 0.05, rate)) << 0.0 << QString();
    QTest::newRow("loud source, levelled")
        << AudioMaker::level(tone(3.0, 1, 0.05, 0.05, rate), rate) << 0.0 << QString();
    QTest::newRow("quiet source, levelled")
        << AudioMaker::level(tone(0.001, 1, 0.05, 0.05, rate), rate) << 0.0 << QString();
    QTest::newRow("pause") << raw(QList<double>(rate, 0.0)) << 0.0 << QString();
    QTest::newRow("clipped") << raw(tone(1.5, 1, 0.05, 0.05, rate)) << 0.0 << "clipped samples";
    QTest::newRow("too quiet") << raw(tone(0.06, 1, 0.05, 0.05, rate)) << 0.0 << "more than 6 dB";
    QTest::newRow("too loud") << raw(tone(0.35, 1, 0.05, 0.05, rate)) << 0.0 << "more than 6 dB";
    QTest::newRow("silence before") << raw(tone(0.14, 1, 0.4, 0.05, rate)) << 0.0 << "of silence";
    QTest::newRow("letter held") << raw(tone(0.14, 0.52, 0, 0, rate)) << 0.6 << QString();
    QTest::newRow("letter too short")
        << raw(tone(0.14, 0.45, 0, 0, rate)) << 0.5 << "lasts 0.45 s, under 0.5 s";
    QTest::newRow("silence after") << raw(tone(0.14, 1, 0.05, 0.4, rate)) << 0.0 << "of silence";
}

void TestMediaGen::levelChecks()
{
    QFETCH(QByteArray, clip);
    QFETCH(double, minimum);
    QFETCH(QString, refused);
    QString problem = AudioMaker::checkLevels(clip, 8000);
    if (problem.isEmpty() && minimum > 0)
        problem = AudioMaker::checkLength(clip, 8000, minimum);
    if (refused.isEmpty())
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    else
        QVERIFY2(problem.contains(refused), qPrintable(problem));
}

void TestMediaGen::parseWav()
{
    // An odd-sized chunk with its pad byte before the data, and a data size
    // the writer could not fill in: the data runs to the end.
    const QByteArray wav
        = riff(chunk("fmt ", 16, pcmFormat(1, 16, 16000)) + chunk("LIST", 3, QByteArray("abc\0", 4))
            + chunk("data", 0xFFFFFFFF, samples({ 1, -2, 3 }) + "x"));
    QByteArray read;
    int rate = 0;
    QString error;
    QVERIFY2(AudioMaker::parseWav(wav, &read, &rate, &error), qPrintable(error));
    QCOMPARE(rate, 16000);
    QCOMPARE(values(read), QList<int>({ 1, -2, 3 }));
}

void TestMediaGen::parseBadWav_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<QString>("message");
    const QByteArray format = chunk("fmt ", 16, pcmFormat(1, 16));
    const QByteArray data = chunk("data", 4, samples({ 7, 8 }));
    QTest::newRow("not RIFF") << QByteArray("RIFX\xff\xff\xff\xffWAVE") + format + data
                              << "not a WAV stream";
    // Read as a signed size, this one sent the reader back to the same
    // chunk for ever, and one past 2^31 sent it before the stream.
    QTest::newRow("size 0xFFFFFFF8")
        << riff(chunk("LIST", 0xFFFFFFF8, "abcd") + format + data) << "runs past the end";
    QTest::newRow("size 2^31") << riff(chunk("LIST", 0x80000000, "abcd") + format + data)
                               << "runs past the end";
    QTest::newRow("format cut off")
        << riff(chunk("fmt ", 16, pcmFormat(1, 16).left(10))) << "runs past the end";
    QTest::newRow("format too short")
        << riff(chunk("fmt ", 8, pcmFormat(1, 16).left(8)) + data) << "too short";
    QTest::newRow("stereo") << riff(chunk("fmt ", 16, pcmFormat(2, 16)) + data)
                            << "expected 16-bit mono";
    QTest::newRow("data before format") << riff(data + format) << "without format or data";
    QTest::newRow("no data") << riff(format) << "without format or data";
}

void TestMediaGen::parseBadWav()
{
    QFETCH(QByteArray, wav);
    QFETCH(QString, message);
    QByteArray read;
    int rate = 0;
    QString error;
    QVERIFY(!AudioMaker::parseWav(wav, &read, &rate, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_MAIN(TestMediaGen)
#include "tst_mediagen.moc"
