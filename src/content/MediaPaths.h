#pragma once

#include "content/Installation.h"

#include <QString>
#include <QStringList>

// The one place where media and data paths are formed. Two roots exist: the
// application directory (paths beginning with "/" are appended to it) and the
// working directory (relative paths are opened unchanged). Callers never
// concatenate media paths themselves. An installed program (see
// Installation) replaces the first by the media tree it uses and the second,
// for data, logs and the scratch file, by its data folder.
namespace MediaPaths {

// Set by main() once, before anything is read or written; until then, and in
// the tests that never set it, every path is formed on a stage folder.
void setInstallation(const Installation &installation);
const Installation &installation();

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
// "data/" + name, relative to the working directory (in the data folder
// when installed).
QString dataFile(const QString &name);
// "data/activities.xml": it comes with the media and is only read, so an
// installed program reads the installed one.
QString catalogueFile();
// "purimba.txt", the text handed to the speech synthesizer, in the working
// directory (in the data folder when installed).
QString speechScratchFile();
// A log file ("pu-debug.txt", "pu-error.txt"), beside the scratch file.
QString logFile(const QString &name);
// The side panel's "suggestions.txt": under media/system/text of the tree in
// use, or in the data folder while an installed tree has no copy there.
QString activitySuggestionsFile();

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
