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

// Whether a chosen file is what its row asks for: a picture Qt can load, or
// an Ogg Vorbis clip that decodes.
bool isUsablePicture(const QString &path);
bool isUsableClip(const QString &path);

} // namespace MediaFolders
