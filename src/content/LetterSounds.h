#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Which letters of a language sound the same, and which have no sound of
// their own, as the language's media says in "sonidos.txt" beside its
// letter folders:
//
//     # B and V sound alike; H is silent.
//     igual = B V
//     muda = H
//
// One "igual" line per group of letters that share a sound, one "muda"
// line for the letters without a sound; letters as on the keyboard ("Ñ"),
// either case, apart by spaces or commas. Anything else is ignored. With no
// file every letter stands alone and each has a sound.
class LetterSounds
{
public:
    static QString fileName();

    // The file of the language's letters folder; none, or one that cannot
    // be read, gives letters that all stand alone.
    static LetterSounds read(const QString &language);
    static LetterSounds parse(const QString &text);

    // Letters as the program names them ("A" … "N", "Ntilde", "O" … "Z"):
    // the same letter, or two of one group.
    bool soundAlike(const QString &a, const QString &b) const;
    bool isSilent(const QString &letter) const;

private:
    QList<QStringList> m_groups;
    QStringList m_silent;
};
