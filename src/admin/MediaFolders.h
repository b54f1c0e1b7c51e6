#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the administrator changes in the media tree, kept inside
// "media/languages": a name typed by a teacher or a folder reached through a
// symbolic link can never make it create, replace, rename or remove anything
// outside that folder.
namespace MediaFolders {

// Whether path names an entry (existing or not) whose folder lies inside the
// languages folder, or is that folder itself, after symbolic links are
// resolved; the entry's own name must be a valid folder name.
bool isInsideLanguages(const QString &path);

// Makes the folder unless it exists. False when it is refused or cannot be
// made.
bool makeFolder(const QString &path);

enum class Removal {
    Removed, // removal was attempted; failures are in the list
    Missing, // nothing there
    Refused, // outside the languages folder
};
// Removes a folder with everything in it. A symbolic link is removed as a
// link and never followed. The names of the folders that could not be
// removed are appended to failed; the rest is removed all the same.
Removal removeTree(const QString &path, QStringList *failed);

// Writes bytes as the file path in one step (never a half-written file).
// Without replace an existing file stays as it was, and that is no failure.
bool placeFile(const QByteArray &bytes, const QString &path, bool replace);

// Renames a folder inside its parent; refuses an existing target.
bool renameFolder(const QString &from, const QString &to);

// Whether a name the administrator typed may name a new folder: a folder
// name not beginning with "." (the lists hide such a folder, which then can
// neither be seen nor deleted).
bool isNewName(const QString &name);

// A letter's word as its folder is named: without accents ("n" for "ñ"),
// capital first letter and the rest small, as every word of the demo media
// ("Arbol", "Nandu"); the activities show and spell the folder name. Empty
// when that is not one word of the letters a to z.
QString wordFolderName(const QString &typed);

// An entry of folder, other than except, whose name differs from name only
// in case; empty when there is none. The media tree is copied to machines
// whose file systems ignore case, where the two would be one folder.
QString caseTwin(const QString &folder, const QString &name, const QString &except = QString());

// Whether a typed word begins with the letter of a letter folder ("A",
// "Ntilde"): an accent aside ("Árbol" under A), "Ñ" only under "Ntilde";
// "ll" and "ch" begin with L and C.
bool beginsWithLetter(const QString &typed, const QString &letter);

// Whether a chosen file is what its row asks for: a picture Qt can load, or
// an Ogg Vorbis clip that decodes.
bool isUsablePicture(const QString &path);
bool isUsableClip(const QString &path);

} // namespace MediaFolders
