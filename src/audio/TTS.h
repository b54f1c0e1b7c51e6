#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Speaks free text (a new learner's name, what a child writes) through an
// external synthesizer: the text goes into the scratch file "purimba.txt" and
// the synthesizer is started on it as a process of its own. Nothing is awaited
// or read back; without a synthesizer speech is silent and everything else
// goes on.
//
// The synthesizer is the school's Speech Dispatcher server when one answers
// (in Spanish, with the voice and rate set up for its screen reader), else
// festival when it has a Spanish voice (Debian's has none, and would read
// Spanish with an English voice), else espeak-ng's Latin American Spanish
// voice. It is chosen at start (or at the first request) and again only when
// it fails.
//
// There is one scratch file, so requests take turns: a request made while a
// synthesizer is still running waits until that one has ended. The file is
// never rewritten under a synthesizer that may not have read it yet (festival
// reads it while it speaks).
class TTS : public QObject
{
    Q_OBJECT
public:
    explicit TTS(QObject *parent = nullptr);

    // Returns at once. The synthesizer process is a child of owner and is
    // released when it has ended, or with owner. A request whose owner is
    // destroyed before its turn (or is null) is dropped. Silent on any
    // failure.
    static void say(const QString &text, QObject *owner);
    // Drops owner's requests still waiting for their turn; a synthesizer
    // already speaking goes on.
    static void dropWaiting(QObject *owner);
    // Ends owner's speech: its waiting requests are dropped and a
    // synthesizer speaking for it is killed, or its message cancelled on the
    // server (one that plays through a player program of its own may leave
    // it the sound already made).
    static void stop(QObject *owner);
    // While a synthesizer runs or a request waits for its turn.
    static bool isBusy();
    // Chooses the synthesizer now, at start, rather than at the first
    // request; returns at once (a server is asked on a thread of its own).
    static void choose();

    // Test seams, never called by the program: where festival's Spanish
    // voices are looked for, and how long a synthesizer may hold the turn
    // before the next request stops waiting for it.
    static void setFestivalVoiceFoldersForTesting(const QStringList &folders);
    static void setTurnLimitForTesting(int baseMs, int perCharacterMs);

public Q_SLOTS:
    void speak(const QString &text);
};
