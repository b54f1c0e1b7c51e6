#pragma once

#include "content/DataDocument.h"

#include <QList>
#include <QString>

class DataStore;
class ScoreManager;

// The counters of every learner, kept in "data/scores.xml": under the root
// "Scores", one element per learner and widget, whose tag name is the
// learner's name and whose "type" names the widget ("Letters and Numbers",
// "Braille"); inside it one "Activity" per manager with one "Score" per object.
//
// A learner's name that is a valid XML name is the tag name as it is. Any
// other name (with a blank, beginning with a digit, ...) is stored under a
// reversible encoding that starts with "_-", and decoded when read.
//
// Given the program's store, a learner switch parses the file only when it
// changed; without one, every call parses it afresh.
class ScoreFile
{
public:
    explicit ScoreFile(const QString &type, DataStore *store = nullptr);

    const QString &type() const { return m_type; }

    // Stores the managers' counters as the learner's element of this type,
    // replacing the one stored before, which moves to the end of the file.
    // Writes nothing for the empty name, nor for a learner the users file no
    // longer holds (deleted), nor over a file it cannot read; returns false
    // then. On a busy folder the counters are kept by the store and written
    // at its next chance (its close() at the latest).
    bool write(const QString &learner, const QList<ScoreManager *> &managers) const;
    // Resets every manager, then loads what is stored for the learner under
    // this type. Activities are matched by their exact name; others are ignored.
    void read(const QString &learner, const QList<ScoreManager *> &managers) const;
    // The learner's element of this type as the file holds it.
    DataDocument::Entry entry(const QString &learner, const QList<ScoreManager *> &managers) const;

    static QString tagName(const QString &learner);
    static QString learnerName(const QString &tagName);

    static QString path();

private:
    QString m_type;
    DataStore *m_store;
};
