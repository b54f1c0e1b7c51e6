#pragma once

#include <QByteArray>

// What main() needs before the application object exists: the log files
// and the reading of the command line.
namespace StartUp {

enum class RunMode {
    Learner,       // no argument
    Tutor,         // "-tutor"
    Administrator, // "-adm"
    Usage,         // "-h", "-help" or any other single argument: usage text, status 0
    Silent,        // two or more arguments: nothing at all, status argc
};

// Appends standard output to "pu-debug.txt" and standard error to
// "pu-error.txt" in the working directory. A log that cannot be opened leaves
// its stream where it was; the program goes on.
void redirectLogs();

// Only the argument count and the first argument count; the comparison is
// exact and case-sensitive.
RunMode parseCommandLine(int argc, const char *const *argv);

// The three usage lines, built whole before they are written.
QByteArray usageText();
// Writes the usage text to standard output, flushing after each line.
void printUsage();

} // namespace StartUp
