#pragma once

#include "content/DataDocument.h"

#include <QString>

// Suggestion files: under the root, elements whose attributes say what they
// are for ("activity", and "subactivity" for the activity suggestions) and
// whose text is the suggestion. Readers look only at attributes and text,
// never at element names.
namespace SuggestionFile {

// The text of the last element whose attributes hold every pair of match, or
// fallback when none does.
QString find(const DataDocument &doc, const DataAttributes &match, const QString &fallback);
// The same for a file read as it is: a missing or malformed file has no
// suggestion, and it is left where it is (these files belong to the media).
QString find(const QString &path, const DataAttributes &match, const QString &fallback);
// Gives every element matching key the text, or appends a "sugerencia"
// element with key's attributes when none matches.
void store(DataDocument &doc, const DataAttributes &key, const QString &text);

} // namespace SuggestionFile
