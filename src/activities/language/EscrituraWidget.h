#pragma once

#include "activities/ActivityPage.h"

#include <QString>

class QTextEdit;

// Free writing. Every key the child types is shown in large letters; what was
// written is spoken back letter by letter from recorded clips (letter mode),
// or through the synthesizer word by word, sentence by sentence or as the
// whole text (word, sentence and text modes).
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

protected:
    void keyReleased(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Space, period or Return: in the mode whose unit it ends, what is
    // pending is spoken; in the others it is added to what is pending.
    void typeBoundary(QChar typed, int speakingMode, const QString &pendingOtherwise);
    void typeText(const QString &text);
    void showDocument();
    // The newest key is the one the child wants to hear: a clip still under
    // way gives way to it instead of swallowing it.
    void sayNow(const QString &file);

    int m_mode = WordMode;
    QString m_document;
    QString m_pending;
    QTextEdit *m_textBox = nullptr;
};
