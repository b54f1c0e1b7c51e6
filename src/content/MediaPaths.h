#pragma once

#include <QString>
#include <QStringList>

// The one place where media and data paths are formed. Two roots exist: the
// application directory (paths beginning with "/" are appended to it) and the
// working directory (relative paths are opened unchanged). Callers never
// concatenate media paths themselves.
namespace MediaPaths {

// The executable's directory, without a trailing separator. Tests point it
// at a temporary tree; an empty value restores the real one.
QString applicationDir();
void setApplicationDir(const QString &dir);

// application directory + "/media/languages/" + language
QString languageRoot(const QString &language);
// The folder listed by the login dialog, reached from the working directory.
QString languagesFolderRelative();
// The same folder reached from the application directory (administrator).
QString languagesFolder();

// Letters are held as "A" … "Z" and "Ntilde"; digits as "0" … "9".
QString letterFolder(const QString &language, const QString &letter);
QString numberFolder(const QString &language, const QString &digit);
// folder + "/" + word + "/" + fileName, for letter and number word folders.
QString wordFile(const QString &folder, const QString &word, const QString &fileName);

// Suggestions of a letter or digit for an activity: the number folders serve
// the two number activities, the letter folders every other one.
QString suggestionsFile(
    const QString &language, const QString &activityTitle, const QString &letterOrDigit);
QString textFolder(const QString &language, const QString &category, const QString &text);
QString textFile(
    const QString &language, const QString &category, const QString &text, const QString &fileName);
QString textSuggestionsFile(const QString &language, const QString &category, const QString &text);
QString textCategoryFolder(const QString &language, const QString &category);
// Frame k of an illustrated text: textFolder + "/image" + k + ".jpg" and
// textFolder + "/audio" + k + ".ogg", k counting from 1.
QString textFramePicture(const QString &textFolder, int frame);
QString textFrameClip(const QString &textFolder, int frame);

// The three sections of a language: language root + "/Letras", "/Numeros"
// and "/Textos".
QString lettersFolder(const QString &language);
QString numbersFolder(const QString &language);
QString textsFolder(const QString &language);
// "Cuentos", "Fabulas", "Trabalenguas", "Poesias": the folders of "Textos".
const QStringList &textCategories();
// "0" … "9": the folders of "Numeros".
const QStringList &digits();
// folder + "/" + word: a word of a letter or digit folder.
QString wordFolder(const QString &folder, const QString &word);
// The suggestions of a letter or digit for every activity: its folder +
// "/sugerencias.txt".
QString letterSuggestionsFile(const QString &language, const QString &letter);
QString numberSuggestionsFile(const QString &language, const QString &digit);
// A number's spoken name in a number word folder: "letter_name.ogg", or
// "letter_sound.ogg" in trees made before the administrator wrote both.
QString numberNameClip(const QString &numberFolder, const QString &word);
// Whether name can be one folder of the media tree: not empty, not "." or
// "..", and without a path separator, so it never reaches outside its parent.
bool isFolderName(const QString &name);

// application directory + "/media/system/audio/letters/" + letter + ".ogg"
QString letterClip(const QString &letter);
// "media/system/audio/instructions/" + name, relative to the working directory.
QString instructionClip(const QString &name);
// application directory + "/media/system/audio/menus/" + name
QString menuClip(const QString &name);
// application directory + "/media/system/audio/" + name ("blank.ogg", "intro.ogg")
QString systemClip(const QString &name);
// The mascot's greeting, the one instruction reached from the application directory.
QString greetingClip();
// application directory + "/media/system/ui/" + name ("mof.mng", "braille/bra1.jpg", …)
QString uiFile(const QString &name);
// application directory + "/media/system/text/" + name
QString systemTextFile(const QString &name);
// "data/" + name, relative to the working directory.
QString dataFile(const QString &name);
// "purimba.txt", the text handed to the speech synthesizer, in the working
// directory.
QString speechScratchFile();

// The words of a letter or digit folder: its subdirectories in the default
// listing order, never "." or ".." and never plain files. A missing folder
// yields an empty list.
QStringList listWords(const QString &folder);
// Every entry of a folder but "." and "..", in the default listing order.
QStringList listEntries(const QString &folder);

// "Ntilde" becomes "Ñ" for the screen and for score labels; other letters
// are returned unchanged. letterFolderName() is the inverse.
QString letterDisplay(const QString &letter);
QString letterFolderName(const QString &letter);
// The 27 letter strings in alphabet order: "A" … "N", "Ntilde", "O" … "Z".
const QStringList &alphabet();

} // namespace MediaPaths
