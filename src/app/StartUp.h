#pragma once

#include <QByteArray>
#include <QList>

class QWidget;

// What main() needs around the application object: the log files, the
// reading of the command line, and an orderly end on SIGTERM and SIGINT.
namespace StartUp {

enum class RunMode {
    Learner, // no argument
    Tutor, // "-tutor"
    Administrator, // "-adm"
    Usage, // "-h", "-help" or any other single argument: usage text, status 0
    Silent, // two or more arguments: nothing at all, status argc
};

// Every clip is decoded on a thread of its own, and glibc would give each
// thread a memory arena of its own that keeps the freed samples: over a
// school day the program would grow for nothing. Two arenas are shared by
// all. Called first thing in main(), before any thread.
void limitMemoryArenas();

// Decides where media and data are (see Installation) for every path formed
// from here on, and makes the data folder when it is missing. Called in
// main() before the logs are opened.
void findInstallation(const char *argv0);

// Administrator mode on an installed tree it cannot write: asks whether to
// copy it into the data folder, and copies it. True once the copy is made;
// both modes use it from then on.
bool offerMediaCopy(QWidget *parent);

// Appends standard output to "pu-debug.txt" and standard error to
// "pu-error.txt" in the working directory (the data folder when installed). A log that cannot be
// opened leaves its stream where it was; the program goes on.
void redirectLogs();

// Only the argument count and the first argument count; the comparison is
// exact and case-sensitive.
RunMode parseCommandLine(int argc, const char *const *argv);

// The three usage lines, built whole before they are written.
QByteArray usageText();
// Writes the usage text to standard output, flushing after each line.
void printUsage();

// From here on SIGTERM (a logout, a shutdown) and SIGINT no longer end the
// process at once: they are held until closeOnTerminationSignals() handles
// them in the event loop. A second signal of the same kind ends the process
// at once, for a close handler that hangs. A signal ignored when the program
// started (SIGINT in a background job) stays ignored. Called first thing in
// main(), so that a signal during start-up is not lost either.
void catchTerminationSignals();

// Once the application object exists, just before the event loop runs: on
// SIGTERM or SIGINT, close `windows` in this order, so that each one's close
// handler runs and what closing writes is written, then leave the event loop
// with status 0, whether the windows agreed to close or not. Without
// catchTerminationSignals() first, this does nothing.
void closeOnTerminationSignals(const QList<QWidget *> &windows);

// The program speaks only Spanish, and so must Qt's own texts (the file and
// print dialogs, the buttons of message boxes), whatever the user's locale:
// loads Qt's Spanish translations into the application, makes Spanish the
// default locale, and makes every dialog Qt's own, since a platform's native
// dialog would follow the desktop's language instead. Called once the
// application object exists, before any window is built, in every run mode.
// False when Qt's translation files are not installed: the dialogs then
// stay in English.
bool installSpanishTranslations();

} // namespace StartUp
