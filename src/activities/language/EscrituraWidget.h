#pragma once

#include "activities/ActivityPage.h"

#include <QString>

class QTextEdit;

// Free writing. Every key the child types is shown in large letters; what was
// written is spoken back letter by letter from recorded clips (letter mode),
// or through the synthesizer word by word, sentence by sentence or as the
// whole text (word, sentence and text modes).
//
// Every key is answered at once: a typed character by its clip (a blank, a
// period and a new line by their names), so that the child hears each key
// in every mode, and Backspace by the character it removed. The key that
// ends the mode's unit (Space for a word, the period for a sentence,
// Return for the text) reads the unit instead. An accent key is silent and
// goes on the next letter: ´ then a types á.
//
// Back from the key menu mode nothing is said again: what it stopped echoed
// keys typed before the menu, and the text box still shows them.
class EscrituraWidget : public ActivityPage
{
    Q_OBJECT
public:
    enum Mode { LetterMode = 0, WordMode = 1, SentenceMode = 2, TextMode = 3 };

    explicit EscrituraWidget(QWidget *parent = nullptr);
    ~EscrituraWidget() override;

    int mode() const { return m_mode; }
    // What was typed since the last mode change, as the text box shows it.
    QString document() const { return m_document; }
    // What was typed since it was last spoken.
    QString pendingText() const { return m_pending; }

Q_SIGNALS:
    // The child changed the mode with F1 … F4.
    void modeChanged(int mode);

public Q_SLOTS:
    // Speaks text through the synthesizer and returns at once.
    void synthesize(const QString &text);
    // The recorded clip of one typed character, or "sleep.ogg" when there is
    // none.
    void play(const QString &character);
    // Empties the document; nothing is heard.
    void setMode(int mode);
    // Entering the activity: its instruction, then the mode it is in.
    // Addresses of other activities are not this widget's.
    void setActivity(int group, int sub);

protected:
    void keyReleased(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Space, period or Return: in the mode whose unit it ends, what is
    // pending is spoken; in the others it is added to what is pending.
    void typeBoundary(QChar typed, int speakingMode, const QString &pendingOtherwise);
    void typeText(const QString &text);
    void erase();
    // The clip of a character as typing it says it; the synthesizer says
    // the names of a blank, a period and a new line when they have no clip.
    void echo(const QString &character);
    // The key after an accent key: the accented letter, or the key's own
    // text when the accent does not go on it.
    static QString composed(const QString &text, QChar accent);
    void showDocument();
    // The newest key is the one the child wants to hear: a clip still under
    // way gives way to it instead of swallowing it.
    void sayNow(const QString &file);

    int m_mode = WordMode;
    QString m_document;
    QString m_pending;
    // The combining mark of the accent key released last, or null.
    QChar m_accent;
    QTextEdit *m_textBox = nullptr;
};
