#pragma once

#include "content/DataDocument.h"

#include <QColor>
#include <QHash>
#include <QWidget>

class DataStore;
class KeyboardWidget;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;

// The side panel, for the adult beside the child: the greeting, the mascot
// of the running activity, that activity's options, the repeat button, and
// suggestions for the item at hand and for the activity, which the adult may
// write and store. Its controls take no keys until Ctrl+F6 lends it the
// keyboard, for an adult without a mouse or with a screen reader; Escape
// gives it back to the activity.
class MenuWidget : public QWidget
{
    Q_OBJECT
public:
    // The activity suggestions are read and written through store.
    explicit MenuWidget(DataStore *store, QWidget *parent = nullptr);
    ~MenuWidget() override;

    QString greeting() const;
    QString exerciseSuggestion() const;
    QString activitySuggestion() const;
    void setColors(const QColor &light, const QColor &base, const QColor &dark);
    void setMofliIcon(int activity);
    KeyboardWidget *letterSelection() const { return m_keyboard; }

    // application directory + "/media/system/text/suggestions.txt"
    static QString activitySuggestionsFile();

Q_SIGNALS:
    void signalSynthType(int type);
    void salir();
    void signalMofli(int state);
    void signalLastInstruction();
    void signalBrailleMode(bool on);
    void signalSentences(bool on);
    void signalPhonemes(bool on);
    void signalSelectedLetters(const QString &letters);
    void signalClicked();
    // A short message for the status bar, where it blocks nobody's keys.
    void signalStatusMessage(const QString &text);

public Q_SLOTS:
    void setUserName(const QString &name);
    void setEscritura();
    void setActivity(int activity, int sub);
    void setSynthMode(int type);
    void slotSynthTypeLetter();
    void slotSynthTypeWord();
    void slotSynthTypeSentence();
    void slotSynthTypeText();
    void setSugerencia(const QString &text);
    void slotSelectSugerencia(int tab);
    void slotSaveSuggestion();
    void slotBrailleMode(int state);
    void slotSelectLetters();
    void slotPhonemes(int state);
    void slotSentences(int state);
    void slotSelectedLetters(const QString &letters);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void lendKeyboard(bool lent);
    void refreshActivitySuggestion();
    void loadActivitySuggestions();

    DataStore *m_store;
    QLabel *m_greeting;
    QLabel *m_mofli;
    QGroupBox *m_lettersGroup;
    QCheckBox *m_phonemes;
    QCheckBox *m_sentences;
    QPushButton *m_selectLetters;
    QGroupBox *m_brailleGroup;
    QCheckBox *m_brailleMode;
    QGroupBox *m_synthGroup;
    QRadioButton *m_synthButtons[4];
    QCheckBox *m_mofliVoice;
    QPushButton *m_lastInstruction;
    QTabWidget *m_tabs;
    QTextEdit *m_exercise;
    QTextEdit *m_activityText;
    QPushButton *m_save;
    QPushButton *m_quit;
    KeyboardWidget *m_keyboard;

    // The focus each control takes while the panel has the keyboard.
    QHash<QWidget *, Qt::FocusPolicy> m_lentFocus;
    bool m_keyboardLent = false;

    int m_activity = 0;
    int m_sub = 0;
    // The activity suggestions as last read or saved.
    DataDocument m_activitySuggestions;
};
