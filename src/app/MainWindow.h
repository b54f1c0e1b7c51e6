#pragma once

#include "app/AudibleMenu.h"
#include "app/ColorManager.h"
#include "content/ActivityCatalogue.h"
#include "content/DataStore.h"
#include "users/User.h"
#include "users/UserDatabase.h"

#include <QMainWindow>
#include <QPointer>
#include <optional>

class AdmWindow;
class AudioThread;
class BrailleDisplay;
class CreditsWindow;
class Greeting;
class InputDialog;
class MainWidget;
class QAction;
class QLabel;
class QMenu;
class QMovie;
class QStackedWidget;
class QTimer;
class ReportDialog;
class ScaledView;

// The learner's and the tutor's window: from the login to the first
// activity with the mascot's greeting, every activity in a menu bar whose
// menus and entries say their names, the texts of the chosen language, the
// spoken menu that works inside the activities, reports and printing. It owns
// the program's data and every long-lived dialog.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(bool tutor, QWidget *parent = nullptr);
    ~MainWindow() override;

    bool isTutor() const { return m_tutor; }
    MainWidget *activityArea() const { return m_area; }
    InputDialog *loginDialog() const { return m_login; }
    ReportDialog *reportDialog() const { return m_report; }
    const AudibleMenu &audibleMenu() const { return m_audibleMenu; }
    bool isStarted() const;
    QString language() const { return m_language; }
    QMenu *textsMenu(const QString &category) const;
    bool isFullScreenMode() const { return m_scaled != nullptr; }
    bool isHighContrast() const { return m_highContrast; }
    // The view that enlarges the window's pages in full screen, or none.
    ScaledView *scaledView() const { return m_scaled; }

    // The greeting and the pause after the audible-menu instruction, for
    // tests that cannot wait 13 and 5 seconds each time.
    static void setDelaysForTesting(int greetingMs, int menuInstructionMs);

public Q_SLOTS:
    void showWindow();
    void chooseUser(const User &user);
    void chooseLanguage(const QString &language);
    void readTexts();
    void slotStartActivity(int activity, int sub);
    void slotEscribir();
    void slotLenguaje();
    void slotOpenText(const QString &category, const QString &title);
    void slotSayText(const QString &category, const QString &title);
    void slotSayAudibleHelp();
    void slotUserAdmin();
    void slotUserReports();
    void slotPrint();
    void slotCredits();
    void slotManageLenguaje();
    void slotClose();
    void slotFirstActivity();
    void slotUpdateUser(int activity, int sub);
    void slotTimer();
    void slotSayMenu(int key);
    // The whole window enlarged to fill the screen, for a child who sees a
    // little; F11 or "Ver" toggles it.
    void setFullScreenMode(bool on);
    // Light, heavy letters on a dark activity area.
    void setHighContrast(bool on);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    // The windows of the adult's tools, as they close.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showLogin();
    // The login closed from its window frame.
    void loginClosed();
    // The keyboard back to the activity (or, before it, to the window for
    // the greeting's Space), once a dialog or a tool has had it.
    void takeKeysBack();
    void createMenus();
    QAction *addEntry(QMenu *menu, const QString &text, const QString &tip, const char *clip);
    QMenu *addMenu(QMenu *parent, const QString &text, const char *clip);
    void setColorScheme(int scheme);
    void createViewMenu();
    void sayMenuClip(const QString &name);
    void sayOpenedMenu(const QString &name);
    void sayHighlighted(const QString &clip);
    QString textTitleClip(const QString &category, const QString &title) const;
    void leaveGreeting();

    const bool m_tutor;
    std::optional<User> m_user;
    int m_resumeActivity = 0;
    int m_resumeSub = 0;
    QString m_language;

    DataStore m_store;
    UserDatabase m_users;
    ActivityCatalogue m_catalogue;
    ColorManager m_colors;
    ColorManager::Scheme m_scheme;
    int m_schemeNumber = 0;
    AudibleMenu m_audibleMenu;

    MainWidget *m_area;
    BrailleDisplay *m_brailleDisplay;
    QStackedWidget *m_pages;
    QLabel *m_mascotLabel;
    QPointer<QMovie> m_mascot;
    InputDialog *m_login;
    ReportDialog *m_report;
    CreditsWindow *m_credits;
    AdmWindow *m_admin = nullptr;
    Greeting *m_greeting;
    AudioThread *m_menuPlayer;
    // The entry highlighted as its menu opened, said once the menu's name has been.
    QString m_entryAfterMenu;
    // Runs from a menu's opening until the event loop is reached again: an
    // entry highlighted meanwhile is the one the menu opened on.
    QTimer *m_menuOpening;
    QHash<QString, QMenu *> m_textsMenus;
    ScaledView *m_scaled = nullptr;
    bool m_highContrast = false;
    QAction *m_fullScreenAction = nullptr;
    QAction *m_highContrastAction = nullptr;
};
