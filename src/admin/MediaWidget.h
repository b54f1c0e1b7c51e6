#pragma once

#include "content/DataDocument.h"

#include <QDialog>
#include <QList>
#include <memory>

class ActivityCatalogue;
class DataStore;
class QComboBox;
class QLineEdit;
class QTextEdit;

// The form in which the administrator creates or changes one item of a
// language: a letter's word, a number, an illustrated text, or the
// suggestions of a letter, digit or text. Chosen files are copied into the
// item's folder under the names the activities read.
class MediaWidget : public QDialog
{
    Q_OBJECT
public:
    enum Kind {
        NewWord = 0,
        NewNumber = 1,
        NewText = 2,
        LetterSuggestions = 3,
        NumberSuggestions = 4,
        TextSuggestions = 5,
        EditWord = 6,
        EditNumber = 7,
        EditText = 8,
    };

    // first: the letter, digit or category folder; second: the word, number
    // or text folder, for the edit forms and a text's suggestions. Without a
    // catalogue or store the form makes its own.
    MediaWidget(Kind kind, const QString &language, const QString &first, const QString &second,
        const ActivityCatalogue *catalogue = nullptr, DataStore *store = nullptr,
        QWidget *parent = nullptr);
    ~MediaWidget() override;

    Kind kind() const { return m_kind; }
    // The folder the new item goes into, the item's own folder when editing,
    // or the folder whose suggestions are edited.
    QString targetPath() const { return m_targetPath; }

    // The message for a name that cannot be a folder of the media tree.
    static QString invalidNameMessage(const QString &name);
    // The message for a name beside an entry that differs from it only in
    // case.
    static QString caseTwinMessage(const QString &twin, const QString &name);

Q_SIGNALS:
    void done();

public Q_SLOTS:
    // Each opens the file dialog for its row.
    void slotBrowseWordImage() { browse(QStringLiteral("image.jpg")); }
    void slotBrowseWordAudio() { browse(QStringLiteral("sound.ogg")); }
    void slotBrowseWordAudioName() { browse(QStringLiteral("name.ogg")); }
    void slotBrowseLetterSound() { browse(QStringLiteral("letter_sound.ogg")); }
    void slotBrowseLetterName() { browse(QStringLiteral("letter_name.ogg")); }
    void slotDoIt();
    void slotCloseIt();
    void slotBrowseTextImage1() { browse(QStringLiteral("image1.jpg")); }
    void slotBrowseTextAudio1() { browse(QStringLiteral("audio1.ogg")); }
    void slotBrowseTextImage2() { browse(QStringLiteral("image2.jpg")); }
    void slotBrowseTextAudio2() { browse(QStringLiteral("audio2.ogg")); }
    void slotBrowseTextImage3() { browse(QStringLiteral("image3.jpg")); }
    void slotBrowseTextAudio3() { browse(QStringLiteral("audio3.ogg")); }
    void slotBrowseTextImage4() { browse(QStringLiteral("image4.jpg")); }
    void slotBrowseTextAudio4() { browse(QStringLiteral("audio4.ogg")); }
    void slotBrowseTextImage5() { browse(QStringLiteral("image5.jpg")); }
    void slotBrowseTextAudio5() { browse(QStringLiteral("audio5.ogg")); }
    void slotBrowseTextImage6() { browse(QStringLiteral("image6.jpg")); }
    void slotBrowseTextAudio6() { browse(QStringLiteral("audio6.ogg")); }
    void slotBrowseTextImage7() { browse(QStringLiteral("image7.jpg")); }
    void slotBrowseTextAudio7() { browse(QStringLiteral("audio7.ogg")); }
    void slotBrowseTextImage8() { browse(QStringLiteral("image8.jpg")); }
    void slotBrowseTextAudio8() { browse(QStringLiteral("audio8.ogg")); }
    void slotBrowseTextImage9() { browse(QStringLiteral("image9.jpg")); }
    void slotBrowseTextAudio9() { browse(QStringLiteral("audio9.ogg")); }
    void slotBrowseTextImage10() { browse(QStringLiteral("image10.jpg")); }
    void slotBrowseTextAudio10() { browse(QStringLiteral("audio10.ogg")); }
    void slotBrowseTextMenu() { browse(QStringLiteral("menu.ogg")); }
    void slotBrowseWordSentence() { browse(QStringLiteral("sentence.ogg")); }
    void slotBrowseWordSentence1() { browse(QStringLiteral("sentence1.ogg")); }
    void slotBrowseWordSentence2() { browse(QStringLiteral("sentence2.ogg")); }
    void slotBrowseWordSentence3() { browse(QStringLiteral("sentence3.ogg")); }
    void slotBrowseWordSentence4() { browse(QStringLiteral("sentence4.ogg")); }
    void slotBrowseWordSentence5() { browse(QStringLiteral("sentence5.ogg")); }
    void slotBrowseWordSentence6() { browse(QStringLiteral("sentence6.ogg")); }
    void slotBrowseWordSentence7() { browse(QStringLiteral("sentence7.ogg")); }
    void slotBrowseWordSentence8() { browse(QStringLiteral("sentence8.ogg")); }
    void slotBrowseWordSentence9() { browse(QStringLiteral("sentence9.ogg")); }
    void slotActivityChanged(const QString &activity);

private:
    // A file row: label, path field and "Elegir"/"Cambiar" button.
    struct Row
    {
        QString label;
        // The names it is stored under in the item's folder (a number's
        // spoken name goes under two).
        QStringList files;
        bool picture = false;
        bool required = false;
        int frame = 0; // the picture pair of a text, 1 to 10
        QLineEdit *field = nullptr;
        // The stored file the field started with, when editing.
        QString stored;
    };

    bool isNew() const { return m_kind <= NewText; }
    bool isEdit() const { return m_kind >= EditWord; }
    bool isSuggestions() const { return !isNew() && !isEdit(); }
    bool isText() const { return m_kind == NewText || m_kind == EditText; }
    bool isNumber() const { return m_kind == NewNumber || m_kind == EditNumber; }
    bool isWord() const { return m_kind == NewWord || m_kind == EditWord; }

    void buildFileForm();
    void buildSuggestionsForm();
    QList<Row> rowsOfKind() const;
    // The item folder named name inside the letter, digit or category folder.
    QString itemFolder(const QString &name) const;
    QString itemFile(const QString &name, const QString &file) const;
    void browse(const QString &file);
    void saveFiles();
    void saveSuggestion();
    // The rows whose file is to be written; false, after telling why, when
    // the form cannot be saved as it is.
    bool collectChanges(QList<const Row *> *changed);
    // The folder name for what was typed in the name field; empty, after
    // telling why, when it cannot be used.
    QString folderName(const QString &typed);
    // Whether the suggestions file is a link: written through, it would
    // rewrite whatever it points at (the user file, say). Says so when it is.
    bool refuseLinkedSuggestions();

    Kind m_kind;
    QString m_language;
    QString m_first;
    QString m_second;
    QString m_parentFolder;
    QString m_targetPath;
    QList<Row> m_rows;
    QLineEdit *m_name = nullptr;

    // Suggestion forms.
    const ActivityCatalogue *m_catalogue;
    std::unique_ptr<ActivityCatalogue> m_ownCatalogue;
    DataStore *m_store;
    std::unique_ptr<DataStore> m_ownStore;
    QString m_suggestionsPath;
    DataDocument m_suggestions;
    QComboBox *m_activity = nullptr;
    QTextEdit *m_text = nullptr;
};
