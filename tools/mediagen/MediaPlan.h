#pragma once

#include "Job.h"
#include "SourceFile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the media sources (media-src/) and lists every file of the demo
// installation: the language folder with its letters, numbers and texts,
// the system clips and pictures, and the activity catalogue. Nothing is
// made here; the plan only says what each file is to contain, and rejects
// sources that would give an incomplete tree.
class MediaPlan
{
public:
    bool build(const QString &sourceDir, QString *error);

    const QList<Job> &jobs() const { return m_jobs; }
    // Folders that must exist even while empty (the program writes into them).
    const QStringList &folders() const { return m_folders; }

private:
    bool readSettings(QString *error);
    bool readSounds(QString *error);
    bool readClips(QString *error);
    bool readSuggestions(QString *error);
    bool readLetters(QString *error);
    bool readLetterSounds(QString *error);
    bool readNumbers(QString *error);
    bool readTexts(QString *error);
    bool readInterface(QString *error);
    bool readCatalogue(QString *error);

    bool load(SourceFile *file, const QString &relativePath, QString *error) const;
    // A clip from a source value: "@name" or "@name xN" is a sound of the
    // sound list, anything else is spoken; "%voice text" in that voice.
    // Speech shorter than minimum seconds (when given) is drawn out to it.
    bool addClip(const QString &output, const QString &value, const SourceFile &file, int line,
        QString *error, const QString &minimum = QString());
    // False when another word already has this word's object sound.
    bool claimSound(const SourceFile &file, const SourceFile::Section &word, QString *error);
    bool requireKeys(const SourceFile &file, const SourceFile::Section &section,
        const QStringList &keys, QString *error) const;
    bool checkEmoji(const SourceFile &file, int line, const QString &text, QString *error) const;
    bool checkScene(const SourceFile &file, int line, const QString &scene, QString *error) const;
    bool claimPicture(const QString &picture, const SourceFile &file, int line, QString *error);
    // The suggestions of one letter or number folder (key "A", "Ntilde", "0"):
    // per activity title, the template written for that key, else the one
    // for every folder of its kind.
    bool addSuggestions(const QString &output, const QString &kind, const QString &key,
        const QHash<QString, QString> &fields, QString *error);
    // A word's name against its folder and its letter, and the article
    // "Objetos escondidos" will say before it.
    bool checkWord(const SourceFile &file, const SourceFile::Section &word, const QString &letter,
        QString *error) const;
    void add(const QString &output, const QString &kind, const QStringList &params);

    QString m_sourceDir;
    QString m_languageRoot;
    // espeak-ng voice, speed and pitch: "" is the instruction voice, other
    // names are the [sections] of settings.txt.
    QHash<QString, QStringList> m_voices;
    QHash<QString, QString> m_sounds;
    QHash<QString, QString> m_soundOwners; // object sound -> the word it belongs to
    // Suggestion templates: activity title, kind "letters"/"numbers", text,
    // and the folders it is written for (empty: all of its kind).
    struct Template
    {
        QString title;
        QString kind;
        QString text;
        QStringList only;
        int line = 0;
    };
    QList<Template> m_templates;
    QString m_suggestionsPath;
    // Letter folder -> other words the letter is in, for "{otras}".
    QHash<QString, QString> m_otherWords;
    QList<Job> m_jobs;
    // Each word picture's source and where it was first used.
    QHash<QString, QString> m_pictures;
    QStringList m_folders;
};
