#include "app/MainWindow.h"

#include "activities/braille/BrailleWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "admin/AdmWindow.h"
#include "app/BrailleDisplay.h"
#include "app/CreditsWindow.h"
#include "app/Dialogs.h"
#include "app/Greeting.h"
#include "app/MainWidget.h"
#include "app/ScaledView.h"
#include "audio/Audio.h"
#include "audio/AudioThread.h"
#include "content/ActivityTable.h"
#include "content/MediaPaths.h"
#include "users/InputDialog.h"
#include "users/ReportDialog.h"
#include "users/ScoreFile.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMovie>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <utility>

namespace {

// Long enough for the adult to look up from the child and read it.
constexpr int statusMessageMs = 6000;

// The window's size, and the layout every page is drawn for; full screen
// enlarges this layout rather than spreading it out.
constexpr QSize windowSize(800, 600);

// A class machine starts in the look its children need; the command line
// keeps exactly the arguments it has.
bool switchedOn(const char *variable)
{
    const QByteArray value = qgetenv(variable).trimmed().toLower();
    return !value.isEmpty() && value != "0" && value != "no" && value != "false";
}

// The menu bar's order of the texts menus; the audible menu walks them in
// MediaPaths::textCategories() order.
const char *const textsMenuOrder[][2] = {
    { "Cuentos", "&Cuentos" },
    { "Fabulas", "&Fabulas" },
    { "Poesias", "&Poesias" },
    { "Trabalenguas", "&Trabalenguas" },
};

} // namespace

void MainWindow::setDelaysForTesting(int greetingMs, int menuInstructionMs)
{
    Greeting::setDelaysForTesting(greetingMs, menuInstructionMs);
}

MainWindow::MainWindow(bool tutor, QWidget *parent)
    : QMainWindow(parent)
    , m_tutor(tutor)
    , m_users(&m_store)
{
    // Parsed while the welcome window shows, instead of at the first login.
    m_store.preload(ScoreFile::path());
    m_area = new MainWidget(&m_store);

    m_mascotLabel = new QLabel;
    m_mascotLabel->setAlignment(Qt::AlignCenter);
    m_mascot
        = new QMovie(MediaPaths::uiFile(QStringLiteral("mof.mng")), QByteArray(), m_mascotLabel);
    m_mascot->setSpeed(150);
    m_mascotLabel->setMovie(m_mascot);
    m_mascotLabel->hide();

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(m_mascotLabel);
    m_pages->addWidget(m_area);
    setCentralWidget(m_pages);

    connect(m_area, &MainWidget::salir, this, &MainWindow::close);
    connect(m_area, &MainWidget::signalActivityChanged, this, &MainWindow::slotUpdateUser);
    connect(m_area, &MainWidget::signalSayMenu, this, &MainWindow::slotSayMenu);
    connect(m_area, &MainWidget::signalStatusMessage, this,
        [this](const QString &text) { statusBar()->showMessage(text, statusMessageMs); });
    m_brailleDisplay = new BrailleDisplay(this);
    connect(m_area, &MainWidget::brailleCellChanged, m_brailleDisplay, &BrailleDisplay::showCell);
    connect(m_brailleDisplay, &BrailleDisplay::dotKey, m_area, &MainWidget::slotBrailleDot);
    connect(m_brailleDisplay, &BrailleDisplay::spaceKey, m_area, &MainWidget::slotBrailleSpace);

    m_scheme = m_colors.scheme(0);
    m_area->hide();

    m_login = new InputDialog(&m_users, m_tutor, this);
    m_report = new ReportDialog(&m_users, &m_catalogue, this);
    // Connected once: the welcome window may report that it is done twice.
    connect(m_login, &InputDialog::chooseUser, this, &MainWindow::chooseUser);
    connect(m_login, &InputDialog::chooseLanguage, this, &MainWindow::chooseLanguage);
    connect(m_login, &QDialog::rejected, this, &MainWindow::loginClosed);
    m_report->installEventFilter(this);

    Audio::instance()->init();

    m_greeting = new Greeting(m_tutor, this);
    connect(m_greeting, &Greeting::firstActivity, this, &MainWindow::slotFirstActivity);
    m_menuPlayer = new AudioThread(this);
    connect(m_menuPlayer, &AudioThread::finished, this, [this] {
        // Anything asked for since has cleared it.
        if (!m_entryAfterMenu.isEmpty())
            AudioThread::playOnce(std::exchange(m_entryAfterMenu, QString()), this);
    });
    m_menuOpening = new QTimer(this);
    m_menuOpening->setSingleShot(true);

    createMenus();

    m_credits = new CreditsWindow;
    m_credits->installEventFilter(this);

    statusBar()->showMessage(tr("Bienvenidos a Purimba"));
    setWindowTitle(QStringLiteral("Purimba v2.0"));
    setFixedSize(windowSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->geometry();
        move(desktop.width() / 2 - windowSize.width() / 2,
            desktop.height() / 2 - windowSize.height() / 2);
    }
    setHighContrast(switchedOn("PURIMBA_HIGH_CONTRAST"));
    // Space during the greeting reaches the window itself.
    setFocusPolicy(Qt::StrongFocus);
}

MainWindow::~MainWindow()
{
    // Nothing to give the keyboard back to any more.
    m_credits->removeEventFilter(this);
    if (m_admin)
        m_admin->removeEventFilter(this);
    delete m_credits;
    delete m_admin;
}

QMenu *MainWindow::addMenu(QMenu *parent, const QString &text, const char *clip)
{
    QMenu *menu = parent ? parent->addMenu(text) : menuBar()->addMenu(text);
    const QString name = QString::fromUtf8(clip);
    connect(menu, &QMenu::aboutToShow, this, [this, name] { sayOpenedMenu(name); });
    return menu;
}

QAction *MainWindow::addEntry(
    QMenu *menu, const QString &text, const QString &tip, const char *clip)
{
    QAction *action = menu->addAction(text);
    action->setStatusTip(tip);
    const QString name = QString::fromUtf8(clip);
    connect(action, &QAction::hovered, this,
        [this, name] { sayHighlighted(MediaPaths::menuClip(name)); });
    return action;
}

void MainWindow::createMenus()
{
    QMenu *file = addMenu(nullptr, tr("&Archivo"), "Archivo.ogg");
    connect(addEntry(file, tr("&Usuario"), tr("Cambiar el usuario"), "Usuario.ogg"),
        &QAction::triggered, this, &MainWindow::slotUserAdmin);
    connect(addEntry(file, tr("&Reportes"), tr("Reportes de usuario"), "Reportes.ogg"),
        &QAction::triggered, this, &MainWindow::slotUserReports);
    file->addSeparator();
    connect(addEntry(file, tr("&Administrador"), tr("Permite administrar el contenido de Purimba"),
                "Administrador.ogg"),
        &QAction::triggered, this, &MainWindow::slotManageLenguaje);
    file->addSeparator();
    connect(addEntry(file, tr("&Imprimir..."), tr("Imprimir Pantalla"), "Imprimir.ogg"),
        &QAction::triggered, this, &MainWindow::slotPrint);
    file->addSeparator();
    connect(addEntry(file, tr("S&alir"), tr("Cerrar Purimba"), "Salir.ogg"), &QAction::triggered,
        this, &MainWindow::slotClose);

    // Writing has no menu here; the texts menu lists the language's texts.
    const QList<ActivityTable::Menu> &groups = ActivityTable::groups();
    for (int group = 0; group < groups.size(); ++group) {
        const QList<ActivityTable::Menu> &submenus = ActivityTable::submenus(group);
        if (submenus.isEmpty())
            continue;
        QMenu *menu = addMenu(nullptr, tr(groups.at(group).text), groups.at(group).clip);
        for (int submenu = 0; submenu < submenus.size(); ++submenu) {
            QMenu *entries
                = addMenu(menu, tr(submenus.at(submenu).text), submenus.at(submenu).clip);
            for (const ActivityTable::Activity *entry : ActivityTable::inSubmenu(group, submenu)) {
                connect(
                    addEntry(entries, tr(entry->menuText), tr(entry->statusTip), entry->menuClip),
                    &QAction::triggered, this,
                    [this, entry] { slotStartActivity(entry->group, entry->sub); });
            }
        }
    }

    const ActivityTable::Menu &language = groups.at(ActivityTable::Texts);
    QMenu *texts = addMenu(nullptr, tr(language.text), language.clip);
    for (const auto &[category, text] : textsMenuOrder) {
        const QString name = QString::fromUtf8(category);
        const QByteArray clip = name.toUtf8() + ".ogg";
        QMenu *menu = addMenu(texts, tr(text), clip.constData());
        // Connected once here, not each time the entries are listed again.
        connect(menu, &QMenu::hovered, this,
            [this, name](QAction *action) { sayHighlighted(textTitleClip(name, action->text())); });
        connect(menu, &QMenu::triggered, this,
            [this, name](QAction *action) { slotOpenText(name, action->text()); });
        m_textsMenus.insert(name, menu);
    }

    createViewMenu();

    QMenu *help = addMenu(nullptr, tr("&Creditos"), "Creditos.ogg");
    connect(addEntry(help, tr("&Acerca de Purimba"), tr("Sobre Purimba"), "Acerca.ogg"),
        &QAction::triggered, this, &MainWindow::slotCredits);
}

void MainWindow::createViewMenu()
{
    QMenu *view = addMenu(nullptr, tr("&Ver"), "Ver.ogg");
    m_fullScreenAction = addEntry(view, tr("Pantalla &completa"),
        tr("Agrandar Purimba a toda la pantalla"), "Pantalla completa.ogg");
    m_fullScreenAction->setCheckable(true);
    m_fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    // F11 works from the activity too, with the menu closed.
    addAction(m_fullScreenAction);
    connect(m_fullScreenAction, &QAction::toggled, this, &MainWindow::setFullScreenMode);
    m_highContrastAction = addEntry(
        view, tr("Alto c&ontraste"), tr("Letras claras sobre fondo oscuro"), "Alto contraste.ogg");
    m_highContrastAction->setCheckable(true);
    connect(m_highContrastAction, &QAction::toggled, this, &MainWindow::setHighContrast);
}

QMenu *MainWindow::textsMenu(const QString &category) const
{
    return m_textsMenus.value(category);
}

// A menu opened from the keyboard highlights its first entry at once; that
// entry's name waits for the menu's own, or the child would never hear which
// menu opened.
void MainWindow::sayOpenedMenu(const QString &name)
{
    m_menuPlayer->cancel();
    m_entryAfterMenu.clear();
    m_menuPlayer->file = MediaPaths::menuClip(name);
    m_menuPlayer->start();
    m_menuOpening->start();
}

void MainWindow::sayHighlighted(const QString &clip)
{
    if (m_menuOpening->isActive()) {
        m_entryAfterMenu = clip;
        return;
    }
    m_entryAfterMenu.clear();
    AudioThread::playOnce(clip, this);
}

QString MainWindow::textTitleClip(const QString &category, const QString &title) const
{
    return MediaPaths::textFile(m_language, category, title, QStringLiteral("menu.ogg"));
}

void MainWindow::sayMenuClip(const QString &name)
{
    m_entryAfterMenu.clear();
    AudioThread::playOnce(MediaPaths::menuClip(name), this);
}

void MainWindow::showWindow()
{
    if (switchedOn("PURIMBA_FULL_SCREEN") && !isVisible())
        setFullScreenMode(true);
    else
        show();
    if (!m_user)
        showLogin();
    m_login->slotSayWelcome();
}

bool MainWindow::isStarted() const
{
    return m_greeting->state() == Greeting::State::Started;
}

void MainWindow::chooseUser(const User &user)
{
    m_greeting->stop();
    m_user = user;
    m_area->setUserName(user.name);
    // A stored number that is not a number counts as 0.
    m_resumeActivity = user.lastAct.toInt();
    m_resumeSub = user.lastSubAct.toInt();
    activateWindow();
    setFocus();
    if (isStarted()) {
        // A new learner while the program runs: no greeting, straight on,
        // once the login's own signals have all been delivered.
        QMetaObject::invokeMethod(this, &MainWindow::slotFirstActivity, Qt::QueuedConnection);
        return;
    }
    m_pages->setCurrentIndex(0);
    m_mascotLabel->show();
    if (m_mascot)
        m_mascot->start();
    m_greeting->start();
}

void MainWindow::chooseLanguage(const QString &language)
{
    m_language = language;
    m_area->setLanguage(language);
    statusBar()->showMessage(tr("Idioma seleccionado : %1").arg(language));
    readTexts();
}

// Listed afresh for each language chosen, so choosing one twice does not
// double the entries; a missing folder lists nothing.
void MainWindow::readTexts()
{
    for (auto it = m_textsMenus.cbegin(); it != m_textsMenus.cend(); ++it) {
        QStringList titles = m_language.isEmpty()
            ? QStringList()
            : MediaPaths::listWords(MediaPaths::textCategoryFolder(m_language, it.key()));
        std::sort(titles.begin(), titles.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        it.value()->clear();
        for (const QString &title : titles)
            it.value()->addAction(title);
        m_audibleMenu.setTexts(it.key(), titles);
    }
}

void MainWindow::keyReleaseEvent(QKeyEvent *event)
{
    // Space belongs to the greeting while there is one: not before a login,
    // nor once the activity runs.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_greeting->isUnderWay())
        m_greeting->slotSpace();
    else
        QMainWindow::keyReleaseEvent(event);
}

void MainWindow::slotTimer()
{
    m_greeting->slotTimer();
}

// The mascot's page is left for good, whether the greeting or a menu started
// the first activity.
void MainWindow::leaveGreeting()
{
    m_greeting->end();
    m_mascotLabel->hide();
    if (m_mascot) {
        m_mascot->stop();
        m_mascotLabel->setMovie(nullptr);
        delete m_mascot;
    }
}

void MainWindow::slotFirstActivity()
{
    leaveGreeting();
    m_pages->setCurrentIndex(1);
    if (ActivityTable::atAddress(m_resumeActivity, m_resumeSub))
        slotStartActivity(m_resumeActivity, m_resumeActivity >= 2 ? 0 : m_resumeSub);
    else
        // A stored activity this program does not know (a newer version's, a
        // hand-edited file): an empty page would ignore every key.
        slotStartActivity(0, 0);
}

void MainWindow::setColorScheme(int scheme)
{
    m_schemeNumber = scheme;
    m_scheme = m_highContrast ? m_colors.highContrastScheme(scheme) : m_colors.scheme(scheme);
    QList<QWidget *> bars { menuBar(), statusBar() };
    // The menus are windows of their own and take no colours from the bar.
    for (QMenu *menu : menuBar()->findChildren<QMenu *>())
        bars.append(menu);
    for (QWidget *bar : std::as_const(bars)) {
        // The platform's colours for whatever is not set here.
        QPalette palette = bar == menuBar() || bar == statusBar() ? QPalette() : bar->palette();
        palette.setBrush(QPalette::All, QPalette::Window, QBrush(m_scheme.base));
        if (m_highContrast) {
            ColorManager::setHighContrastText(&palette, m_scheme);
            // A menu's panel is drawn in the text-field colour.
            if (bar != menuBar() && bar != statusBar())
                palette.setColor(QPalette::All, QPalette::Base, m_scheme.base);
        }
        bar->setPalette(palette);
        bar->setAutoFillBackground(true);
    }
}

void MainWindow::setHighContrast(bool on)
{
    m_highContrast = on;
    if (m_highContrastAction && m_highContrastAction->isChecked() != on)
        m_highContrastAction->setChecked(on);
    setColorScheme(m_schemeNumber);
    m_area->setHighContrast(on);
    m_area->setColors(m_scheme.light, m_scheme.base, m_scheme.dark);
}

void MainWindow::setFullScreenMode(bool on)
{
    if (m_fullScreenAction && m_fullScreenAction->isChecked() != on)
        m_fullScreenAction->setChecked(on);
    if (on == isFullScreenMode()) {
        if (on && !isFullScreen())
            showFullScreen();
        return;
    }
    if (on) {
        // The pages keep the size they have in the ordinary window.
        const QSize pages = windowSize
            - QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
        takeCentralWidget();
        m_scaled = new ScaledView(this);
        m_scaled->setWidget(m_pages, pages);
        setCentralWidget(m_scaled);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        showFullScreen();
        // Without a window manager (a kiosk session) nobody else would.
        if (const QScreen *own = screen())
            setGeometry(own->geometry());
    } else {
        QWidget *pages = m_scaled->takeWidget();
        // The view goes with it.
        setCentralWidget(pages);
        m_scaled = nullptr;
        showNormal();
        setFixedSize(windowSize);
    }
    // The keyboard stays where it was: the child's activity, or the login.
    takeKeysBack();
}

void MainWindow::slotStartActivity(int activity, int sub)
{
    // Chosen from the menu bar during the greeting: the activity the
    // greeting would start is not wanted any more.
    if (m_greeting->isUnderWay())
        leaveGreeting();
    const ActivityTable::Activity *record = ActivityTable::atAddress(activity, sub);
    m_area->showActivity(activity, sub);
    setColorScheme(record ? record->colorScheme : activity);
    m_area->setColors(m_scheme.light, m_scheme.base, m_scheme.dark);
    if (record && record->hasOption(ActivityTable::SynthModes))
        m_area->setEscritura();
    m_area->setMofliIcon(activity);
    m_area->show();
    m_pages->setCurrentIndex(1);
}

void MainWindow::slotEscribir()
{
    slotStartActivity(3, 0);
}

void MainWindow::slotLenguaje()
{
    slotStartActivity(2, 0);
}

void MainWindow::slotOpenText(const QString &category, const QString &title)
{
    slotLenguaje();
    m_area->slotTexts(category, title);
}

void MainWindow::slotSayText(const QString &category, const QString &title)
{
    m_entryAfterMenu.clear();
    AudioThread::playOnce(textTitleClip(category, title), this);
}

void MainWindow::slotSayAudibleHelp()
{
    AudioThread::playOnce(MediaPaths::instructionClip(QStringLiteral("ayuda.ogg")), this);
}

void MainWindow::slotSayMenu(int key)
{
    const AudibleMenu::Action action = m_audibleMenu.key(key);
    switch (action.kind) {
    case AudibleMenu::Action::Nothing:
        break;
    case AudibleMenu::Action::Say:
        sayMenuClip(action.clip);
        break;
    case AudibleMenu::Action::SayText:
        slotSayText(action.category, action.text);
        break;
    case AudibleMenu::Action::StartActivity:
        // The address only: colours and the page stay as they are.
        m_area->showActivity(action.activity, action.sub);
        break;
    case AudibleMenu::Action::OpenText:
        slotOpenText(action.category, action.text);
        break;
    case AudibleMenu::Action::StartWriting:
        slotEscribir();
        break;
    case AudibleMenu::Action::Help:
        slotSayAudibleHelp();
        break;
    }
}

void MainWindow::slotUpdateUser(int activity, int sub)
{
    if (!m_user)
        return;
    m_user->lastAct = QString::number(activity);
    m_user->lastSubAct = QString::number(sub);
    UserDatabase(&m_store).updateUser(*m_user);
}

void MainWindow::showLogin()
{
    m_login->show();
    // The child's keys go to the login, not to the window behind it.
    m_login->raise();
    m_login->activateWindow();
}

void MainWindow::slotUserAdmin()
{
    // Nothing of the activity, or of the greeting, may go on behind the
    // login: its clips would drown the login's, and its turns would run on
    // with nobody at the keys.
    if (isStarted())
        m_area->stopActivities();
    else
        m_greeting->stop();
    showLogin();
}

void MainWindow::loginClosed()
{
    if (!m_user) {
        // Without a learner there is nothing to go on to: the login again,
        // and what to do in it.
        showLogin();
        m_login->slotSayInstruction();
        return;
    }
    // The learner stays: back where the login found them.
    activateWindow();
    setFocus();
    if (!isStarted()) {
        m_greeting->start();
        return;
    }
    m_resumeActivity = m_user->lastAct.toInt();
    m_resumeSub = m_user->lastSubAct.toInt();
    slotFirstActivity();
}

void MainWindow::takeKeysBack()
{
    // The login keeps them while it waits for the child.
    if (m_login->isVisible())
        return;
    activateWindow();
    if (isStarted())
        m_area->slotFocus();
    else
        setFocus();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow())
        takeKeysBack();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::slotUserReports()
{
    const QString name = m_user ? m_user->name : QString();
    m_report->setReport(
        ReportDialog::htmlReport(name, m_area->lettersWidget(), m_area->brailleWidget()),
        ReportDialog::textReport(name, m_area->lettersWidget(), m_area->brailleWidget()));
    m_report->show();
}

void MainWindow::slotPrint()
{
    QPrinter printer(QPrinter::ScreenResolution);
    const bool chosen = Dialogs::choosePrinter(this, &printer);
    takeKeysBack();
    if (!chosen)
        return;
    const QPixmap screen = m_area->grab();
    QPainter painter(&printer);
    painter.drawPixmap(0, 0, screen);
}

void MainWindow::slotCredits()
{
    m_credits->show();
}

void MainWindow::slotManageLenguaje()
{
    // Built on first use: most sessions never open it, and its folder
    // views watch the media tree while they exist.
    if (!m_admin) {
        m_admin = new AdmWindow;
        m_admin->setCatalogue(&m_catalogue);
        m_admin->installEventFilter(this);
    }
    m_admin->show();
}

void MainWindow::slotClose()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The tools close with the window: nothing to give the keyboard back to.
    for (QObject *tool : { static_cast<QObject *>(m_report), static_cast<QObject *>(m_credits),
             static_cast<QObject *>(m_admin) }) {
        if (tool)
            tool->removeEventFilter(this);
    }
    m_greeting->stop();
    m_area->slotCloseApplication();
    // The display goes back to BRLTTY with the window.
    m_brailleDisplay->setActive(false);
    // The windows without a parent would keep the program running.
    m_credits->hide();
    if (m_admin)
        m_admin->close();
    event->accept();
}
