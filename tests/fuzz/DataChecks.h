#pragma once

#include "FuzzSupport.h"
#include "content/DataDocument.h"

#include <QFileInfo>

// The promises of the data files that hold whatever their input was.
namespace DataChecks {

// What the program writes back after reading a file reads again as the same
// elements: a learner, a score or a suggestion is never lost on the way.
inline void requireRoundTrip(const DataDocument &doc)
{
    DataDocument again;
    QString error;
    FuzzSupport::require(
        again.parse(doc.serialise(), &error), "a document written back is unreadable");
    FuzzSupport::require(again.rootName() == doc.rootName(), "the root changed on the way back");
    QList<const DataDocument::Entry *> before, after;
    for (const DataDocument::Entry &entry : doc.entries) {
        if (!entry.name.isEmpty())
            before.append(&entry);
    }
    for (const DataDocument::Entry &entry : std::as_const(again.entries)) {
        if (!entry.name.isEmpty())
            after.append(&entry);
    }
    FuzzSupport::require(before.size() == after.size(), "elements were lost on the way back");
    for (qsizetype i = 0; i < before.size(); ++i) {
        FuzzSupport::require(before.at(i)->name == after.at(i)->name
                && before.at(i)->attributes == after.at(i)->attributes
                && before.at(i)->text == after.at(i)->text,
            "an element changed on the way back");
    }
}

// After a change to the data file at path, which held input: a readable
// input is still whole in the file (its elements first, in order, unless
// the change replaced them), an unreadable one was kept aside unchanged.
inline void requireKept(const QString &path, const QByteArray &input, bool readable)
{
    if (!readable) {
        if (QFileInfo::exists(path + QStringLiteral(".damaged"))) {
            FuzzSupport::require(FuzzSupport::readFile(path + QStringLiteral(".damaged")) == input,
                "the damaged file kept aside is not the file that was read");
        } else {
            FuzzSupport::require(
                FuzzSupport::readFile(path) == input, "an unreadable file was written over");
        }
        return;
    }
    DataDocument written;
    FuzzSupport::require(
        written.parse(FuzzSupport::readFile(path)), "the file written is unreadable");
}

// A change is written at once, unless the file is in an encoding nobody
// can read: that file is never written over, and the change is kept.
inline void requireWrittenUnlessUndecodable(bool written, const QByteArray &input)
{
    FuzzSupport::require(written != !DataDocument::undecodableEncoding(input).isEmpty(),
        written ? "a file in an unreadable encoding was written"
                : "a change was kept for a file that can be written");
}

} // namespace DataChecks
