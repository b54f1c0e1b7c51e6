#pragma once

#include <QColor>
#include <QWidget>
#include <memory>

class BrailleWidget;
class DataStore;
class EscrituraWidget;
class LetrasWidget;
class MenuWidget;
class QStackedWidget;
class TextWidget;
class TopWidget;

// The activity area: the four activity widgets stacked so that the page
// index is the activity number, the top bar naming the running activity and
// the side panel. It is the one switchboard between the main window and the
// activities: addresses, learner, language, colours and options go down
// through it, the activities' requests come up through it.
class MainWidget : public QWidget
{
    Q_OBJECT
public:
    // The learners' scores and the suggestions are read and written through
    // store (one of its own when none is given).
    explicit MainWidget(DataStore *store = nullptr, QWidget *parent = nullptr);
    ~MainWidget() override;

    void setLanguage(const QString &language);
    QString language() const { return m_language; }
    int currentActivity() const { return m_currentActivity; }
    bool keyMenuMode() const { return m_keyMenuMode; }

    LetrasWidget *lettersWidget() const { return m_letters; }
    BrailleWidget *brailleWidget() const { return m_braille; }
    TextWidget *textWidget() const { return m_text; }
    EscrituraWidget *writingWidget() const { return m_writing; }
    MenuWidget *sidePanel() const { return m_menu; }
    TopWidget *topBar() const { return m_top; }

Q_SIGNALS:
    void salir();
    void signalActivityChanged(int activity, int sub);
    void signalSayMenu(int key);
    // For the status bar: what the side panel has to tell the adult.
    void signalStatusMessage(const QString &text);
    // The cell a braille display shows (dot n is bit n - 1): in the braille
    // activities the cell being entered or corrected, in the letters and
    // numbers the letter or digit shown, elsewhere none.
    void brailleCellChanged(quint8 dots);

public Q_SLOTS:
    void setUserName(const QString &name);
    void setSynthMode(int type);
    void showActivity(int activity, int sub);
    void setEscritura();
    void slotTexts(const QString &category, const QString &title);
    void setColors(const QColor &light, const QColor &base, const QColor &dark);
    // Every page in the high-contrast look, or in its own colours; the
    // side panel's colours follow with the next setColors().
    void setHighContrast(bool on);
    void setMofliIcon(int activity);
    void slotSugerencia(const QString &title, const QString &item);
    void slotBrailleMode(bool on);
    void slotCloseApplication();
    void slotFocus();
    // Silences every activity and drops their turns, until the next
    // showActivity().
    void stopActivities();
    void slotKeyMenuMode(bool mode);
    // A braille display's keys, for the braille activities.
    void slotBrailleDot(int dot);
    void slotBrailleSpace();

private:
    QWidget *activityWidget(int activity) const;
    void showBraille();

    std::unique_ptr<DataStore> m_ownStore;
    DataStore *m_store;
    LetrasWidget *m_letters;
    TextWidget *m_text;
    BrailleWidget *m_braille;
    EscrituraWidget *m_writing;
    MenuWidget *m_menu;
    TopWidget *m_top;
    QStackedWidget *m_stack;
    int m_currentActivity = 0;
    bool m_keyMenuMode = false;
    bool m_highContrast = false;
    // What each activity would show on a braille display, and what it was
    // last told; nothing before the first activity and after a stop.
    quint8 m_lettersCell = 0;
    quint8 m_brailleCell = 0;
    int m_shownCell = -1;
    bool m_activitiesStopped = true;
    // A learner's scores are in memory, to be written when the learner leaves.
    bool m_scoresRead = false;
    QString m_language;
};
