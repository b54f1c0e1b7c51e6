#include "content/MediaPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString &overriddenApplicationDir()
{
    static QString dir;
    return dir;
}

Installation &currentInstallation()
{
    static Installation installation;
    return installation;
}

// The folder whose "media/" the application-directory paths reach.
QString mediaRoot()
{
    const Installation &installation = currentInstallation();
    return installation.isInstalled() ? installation.mediaRoot() : MediaPaths::applicationDir();
}

// A path relative to the working directory on a stage, to the media tree
// when installed.
QString workingMedia(const QString &relative)
{
    const Installation &installation = currentInstallation();
    return installation.isInstalled() ? installation.mediaRoot() + QLatin1Char('/') + relative
                                      : relative;
}

// A path relative to the working directory on a stage, to the data folder
// when installed.
QString workingData(const QString &relative)
{
    const Installation &installation = currentInstallation();
    return installation.isInstalled() ? installation.dataFolder() + QLatin1Char('/') + relative
                                      : relative;
}

const QString ntildeName = QStringLiteral("Ntilde");
const QString ntilde = QStringLiteral("\u00d1");

} // namespace

namespace MediaPaths {

void setInstallation(const Installation &installation)
{
    currentInstallation() = installation;
}

const Installation &installation()
{
    return currentInstallation();
}

QString applicationDir()
{
    const QString &dir = overriddenApplicationDir();
    if (!dir.isEmpty())
        return dir;
    return QCoreApplication::applicationDirPath();
}

void setApplicationDir(const QString &dir)
{
    QString cleaned = dir;
    while (cleaned.size() > 1 && cleaned.endsWith(QLatin1Char('/')))
        cleaned.chop(1);
    overriddenApplicationDir() = cleaned;
}

QString languagesFolder()
{
    return mediaRoot() + QStringLiteral("/media/languages");
}

QString languagesFolderRelative()
{
    return workingMedia(QStringLiteral("media") + QLatin1Char('/') + QStringLiteral("languages"));
}

QString languageRoot(const QString &language)
{
    return mediaRoot() + QStringLiteral("/media/languages/") + language;
}

QString letterFolder(const QString &language, const QString &letter)
{
    return languageRoot(language) + QStringLiteral("/Letras/") + letter;
}

QString numberFolder(const QString &language, const QString &digit)
{
    return languageRoot(language) + QStringLiteral("/Numeros/") + digit;
}

QString wordFile(const QString &folder, const QString &word, const QString &fileName)
{
    return folder + QLatin1Char('/') + word + QLatin1Char('/') + fileName;
}

QString suggestionsFile(
    const QString &language, const QString &activityTitle, const QString &letterOrDigit)
{
    const bool numbers = activityTitle.contains(QLatin1String("Te presento numeros"))
        || activityTitle.contains(QLatin1String("Numeros escondidos"));
    return languageRoot(language) + QLatin1Char('/')
        + (numbers ? QStringLiteral("Numeros") : QStringLiteral("Letras")) + QLatin1Char('/')
        + letterOrDigit + QStringLiteral("/sugerencias.txt");
}

QString textCategoryFolder(const QString &language, const QString &category)
{
    return languageRoot(language) + QStringLiteral("/Textos/") + category;
}

QString textFolder(const QString &language, const QString &category, const QString &text)
{
    return textCategoryFolder(language, category) + QLatin1Char('/') + text;
}

QString textFile(
    const QString &language, const QString &category, const QString &text, const QString &fileName)
{
    return textFolder(language, category, text) + QLatin1Char('/') + fileName;
}

QString textSuggestionsFile(const QString &language, const QString &category, const QString &text)
{
    return textFile(language, category, text, QStringLiteral("sugerencias.txt"));
}

QString textFramePicture(const QString &textFolder, int frame)
{
    return textFolder + QStringLiteral("/image") + QString::number(frame) + QStringLiteral(".jpg");
}

QString textFrameClip(const QString &textFolder, int frame)
{
    return textFolder + QStringLiteral("/audio") + QString::number(frame) + QStringLiteral(".ogg");
}

QString lettersFolder(const QString &language)
{
    return languageRoot(language) + QStringLiteral("/Letras");
}

QString numbersFolder(const QString &language)
{
    return languageRoot(language) + QStringLiteral("/Numeros");
}

QString textsFolder(const QString &language)
{
    return languageRoot(language) + QStringLiteral("/Textos");
}

const QStringList &textCategories()
{
    static const QStringList categories { QStringLiteral("Cuentos"), QStringLiteral("Fabulas"),
        QStringLiteral("Trabalenguas"), QStringLiteral("Poesias") };
    return categories;
}

const QStringList &digits()
{
    static const QStringList list = [] {
        QStringList digits;
        for (char c = '0'; c <= '9'; ++c)
            digits << QString(QLatin1Char(c));
        return digits;
    }();
    return list;
}

QString wordFolder(const QString &folder, const QString &word)
{
    return folder + QLatin1Char('/') + word;
}

QString letterSuggestionsFile(const QString &language, const QString &letter)
{
    return letterFolder(language, letter) + QStringLiteral("/sugerencias.txt");
}

QString numberSuggestionsFile(const QString &language, const QString &digit)
{
    return numberFolder(language, digit) + QStringLiteral("/sugerencias.txt");
}

QString numberNameClip(const QString &numberFolder, const QString &word)
{
    const QString name = wordFile(numberFolder, word, QStringLiteral("letter_name.ogg"));
    if (QFileInfo::exists(name))
        return name;
    return wordFile(numberFolder, word, QStringLiteral("letter_sound.ogg"));
}

bool isFolderName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QChar::Null);
}

QString letterClip(const QString &letter)
{
    return mediaRoot() + QStringLiteral("/media/system/audio/letters/") + letter
        + QStringLiteral(".ogg");
}

QString instructionClip(const QString &name)
{
    return workingMedia(QStringLiteral("media/system/audio/instructions/") + name);
}

QString menuClip(const QString &name)
{
    return mediaRoot() + QStringLiteral("/media/system/audio/menus/") + name;
}

QString systemClip(const QString &name)
{
    return mediaRoot() + QStringLiteral("/media/system/audio/") + name;
}

QString greetingClip()
{
    return mediaRoot() + QStringLiteral("/media/system/audio/instructions/Saludo de mofli.ogg");
}

QString uiFile(const QString &name)
{
    return mediaRoot() + QStringLiteral("/media/system/ui/") + name;
}

QString systemTextFile(const QString &name)
{
    return mediaRoot() + QStringLiteral("/media/system/text/") + name;
}

QString dataFile(const QString &name)
{
    return workingData(QStringLiteral("data/") + name);
}

QString catalogueFile()
{
    const Installation &installation = currentInstallation();
    const QString relative = QStringLiteral("data/activities.xml");
    return installation.isInstalled() ? installation.sharedRoot() + QLatin1Char('/') + relative
                                      : relative;
}

QString speechScratchFile()
{
    return workingData(QStringLiteral("purimba.txt"));
}

QString logFile(const QString &name)
{
    return workingData(name);
}

QString activitySuggestionsFile()
{
    const Installation &installation = currentInstallation();
    if (installation.isInstalled() && !installation.hasMediaCopy())
        return installation.looseSuggestionsFile();
    return systemTextFile(QStringLiteral("suggestions.txt"));
}

QStringList listEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}

QStringList listWords(const QString &folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QString letterDisplay(const QString &letter)
{
    return letter == ntildeName ? ntilde : letter;
}

QString letterFolderName(const QString &letter)
{
    return letter == ntilde ? ntildeName : letter;
}

const QStringList &alphabet()
{
    static const QStringList letters = [] {
        QStringList list;
        for (char c = 'A'; c <= 'Z'; ++c) {
            list << QString(QLatin1Char(c));
            if (c == 'N')
                list << ntildeName;
        }
        return list;
    }();
    return letters;
}

} // namespace MediaPaths
