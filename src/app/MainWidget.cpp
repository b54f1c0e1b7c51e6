#include "app/MainWidget.h"

#include "activities/braille/Braille.h"
#include "activities/braille/BrailleWidget.h"
#include "activities/language/EscrituraWidget.h"
#include "activities/language/TextWidget.h"
#include "activities/letters/LetrasWidget.h"
#include "app/ColorManager.h"
#include "app/MenuWidget.h"
#include "app/TopWidget.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "content/SuggestionFile.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

MainWidget::MainWidget(DataStore *store, QWidget *parent)
    : QWidget(parent)
    , m_ownStore(store ? nullptr : new DataStore)
    , m_store(store ? store : m_ownStore.get())
{
    m_letters = new LetrasWidget;
    m_text = new TextWidget;
    m_braille = new BrailleWidget;
    m_writing = new EscrituraWidget;
    m_writing->setMode(0);
    m_letters->setDataStore(m_store);
    m_braille->setDataStore(m_store);
    m_menu = new MenuWidget(m_store, this);

    connect(m_letters, &LetrasWidget::signalKeyMenuMode, this, &MainWidget::slotKeyMenuMode);
    connect(m_text, &TextWidget::signalKeyMenuMode, this, &MainWidget::slotKeyMenuMode);
    connect(m_braille, &BrailleWidget::signalKeyMenuMode, this, &MainWidget::slotKeyMenuMode);
    connect(m_writing, &EscrituraWidget::signalKeyMenuMode, this, &MainWidget::slotKeyMenuMode);
    connect(m_letters, &LetrasWidget::signalSayMenu, this, &MainWidget::signalSayMenu);
    connect(m_text, &TextWidget::signalSayMenu, this, &MainWidget::signalSayMenu);
    connect(m_braille, &BrailleWidget::signalSayMenu, this, &MainWidget::signalSayMenu);
    connect(m_writing, &EscrituraWidget::signalSayMenu, this, &MainWidget::signalSayMenu);

    connect(m_menu, &MenuWidget::signalClicked, this, &MainWidget::slotFocus);
    connect(m_menu, &MenuWidget::signalMofli, m_letters, &LetrasWidget::setMofliAudio);
    connect(m_menu, &MenuWidget::signalMofli, m_braille, &BrailleWidget::setMofliAudio);
    connect(
        m_menu, &MenuWidget::signalLastInstruction, m_letters, &LetrasWidget::slotLastInstruction);
    connect(
        m_menu, &MenuWidget::signalLastInstruction, m_braille, &BrailleWidget::slotLastInstruction);
    connect(m_menu, &MenuWidget::signalBrailleMode, this, &MainWidget::slotBrailleMode);
    connect(m_menu, &MenuWidget::signalSentences, m_letters, &LetrasWidget::slotSentences);
    connect(m_menu, &MenuWidget::signalPhonemes, m_letters, &LetrasWidget::slotPhonemes);
    connect(
        m_menu, &MenuWidget::signalSelectedLetters, m_letters, &LetrasWidget::slotSelectedLetters);
    connect(
        m_menu, &MenuWidget::signalSelectedLetters, m_braille, &BrailleWidget::slotSelectedLetters);
    connect(m_menu, &MenuWidget::salir, this, &MainWidget::salir);
    connect(m_menu, &MenuWidget::signalStatusMessage, this, &MainWidget::signalStatusMessage);
    // The letter selection is a window of its own: once it has closed, the
    // keyboard comes back to this one and to the activity.
    connect(m_menu, &MenuWidget::signalSelectedLetters, this, [this] {
        activateWindow();
        slotFocus();
    });

    m_top = new TopWidget(this);

    connect(m_braille, &BrailleWidget::cellShown, this, [this](quint8 dots) {
        m_brailleCell = dots;
        showBraille();
    });
    connect(m_letters, &LetrasWidget::itemShown, this, [this](const QString &item) {
        Braille cell;
        // Digits are written as the program's bare patterns of A … J.
        if (item.size() == 1 && item.at(0).isDigit())
            cell.fromNumber(item);
        else
            cell.fromLetter(item);
        m_lettersCell = cell.dotMask();
        showBraille();
    });

    connect(m_letters, &LetrasWidget::sugerencia, this, &MainWidget::slotSugerencia);
    connect(m_braille, &BrailleWidget::sugerencia, this, &MainWidget::slotSugerencia);
    connect(m_menu, &MenuWidget::signalSynthType, this, &MainWidget::setSynthMode);
    connect(m_writing, &EscrituraWidget::modeChanged, m_menu, &MenuWidget::setSynthMode);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_letters);
    m_stack->addWidget(m_braille);
    m_stack->addWidget(m_text);
    m_stack->addWidget(m_writing);
    m_stack->setMinimumSize(560, 500);
    setMinimumSize(640, 480);

    auto *activityColumn = new QVBoxLayout;
    activityColumn->addWidget(m_top);
    activityColumn->addWidget(m_stack);
    auto *layout = new QHBoxLayout(this);
    // Narrow margins: in an 800 pixel window the fixed activity page leaves
    // the side panel just enough room for its longest button.
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(activityColumn);
    layout->addWidget(m_menu);
}

MainWidget::~MainWidget() = default;

QWidget *MainWidget::activityWidget(int activity) const
{
    switch (activity) {
    case 0:
        return m_letters;
    case 1:
        return m_braille;
    case 2:
        // Its page hides whatever had the focus; it takes the focus itself,
        // so that Escape still reaches the audible menu while a text is read.
        return m_text;
    case 3:
        return m_writing;
    default:
        return nullptr;
    }
}

void MainWidget::showActivity(int activity, int sub)
{
    m_currentActivity = activity;
    m_activitiesStopped = false;
    if (activity >= 0 && activity < m_stack->count())
        m_stack->setCurrentIndex(activity);
    m_menu->setActivity(activity, sub);
    m_letters->setActivity(activity, sub);
    m_top->setActivity(activity, sub);
    m_braille->setActivity(activity, sub);
    m_writing->setActivity(activity, sub);
    // Choosing an activity ends the key menu mode of the widgets that were
    // given the address; the others follow, so that no page is left
    // sending the child's keys to the audible menu.
    slotKeyMenuMode(false);
    slotFocus();
    showBraille();
    Q_EMIT signalActivityChanged(activity, sub);
}

void MainWidget::showBraille()
{
    quint8 dots = 0;
    if (!m_activitiesStopped && !m_keyMenuMode) {
        if (m_currentActivity == 0)
            dots = m_lettersCell;
        else if (m_currentActivity == 1)
            dots = m_brailleCell;
    }
    if (dots == m_shownCell)
        return;
    m_shownCell = dots;
    Q_EMIT brailleCellChanged(dots);
}

void MainWidget::slotBrailleDot(int dot)
{
    if (m_currentActivity == 1 && !m_keyMenuMode)
        m_braille->slotDisplayDot(dot);
}

void MainWidget::slotBrailleSpace()
{
    if (m_currentActivity == 1 && !m_keyMenuMode)
        m_braille->slotDisplaySpace();
}

void MainWidget::slotFocus()
{
    QWidget *widget = activityWidget(m_currentActivity);
    if (!widget)
        return;
    // Enlarged through a view (full screen), the page has the keyboard only
    // while the view has it.
    if (QGraphicsProxyWidget *proxy = window()->graphicsProxyWidget()) {
        for (QGraphicsView *view : proxy->scene()->views())
            view->setFocus();
    }
    widget->setFocus();
}

void MainWidget::stopActivities()
{
    m_activitiesStopped = true;
    slotKeyMenuMode(false);
    m_letters->slotStop();
    m_braille->slotStop();
    m_text->slotStop();
    m_writing->slotStop();
}

void MainWidget::slotKeyMenuMode(bool mode)
{
    m_keyMenuMode = mode;
    m_letters->slotSetKeyMenuMode(mode);
    m_braille->slotSetKeyMenuMode(mode);
    m_text->slotSetKeyMenuMode(mode);
    m_writing->slotSetKeyMenuMode(mode);
    showBraille();
}

void MainWidget::setUserName(const QString &name)
{
    if (m_scoresRead) {
        m_letters->slotWriteScores();
        m_braille->slotWriteScores();
    }
    m_menu->setUserName(name);
    m_letters->slotSetCurrentUserName(name);
    m_braille->slotSetCurrentUserName(name);
    m_letters->slotReadScores();
    m_braille->slotReadScores();
    m_scoresRead = true;
}

void MainWidget::setLanguage(const QString &language)
{
    m_language = language;
    m_letters->language = language;
    m_braille->language = language;
}

void MainWidget::setSynthMode(int type)
{
    m_writing->setMode(type >= 1 && type <= 3 ? type : 0);
}

void MainWidget::setEscritura()
{
    m_menu->setEscritura();
}

void MainWidget::setColors(const QColor &light, const QColor &base, const QColor &dark)
{
    // Built afresh: nothing of the other look stays behind.
    QPalette pal;
    if (m_highContrast)
        ColorManager::setHighContrastText(&pal, { light, base, dark });
    pal.setBrush(QPalette::All, QPalette::Window, QBrush(base));
    setPalette(pal);
    setAutoFillBackground(true);
    m_menu->setColors(light, base, dark);
}

void MainWidget::setHighContrast(bool on)
{
    m_highContrast = on;
    for (ActivityPage *page :
        std::initializer_list<ActivityPage *> { m_letters, m_braille, m_text, m_writing })
        page->setHighContrast(on);
}

void MainWidget::setMofliIcon(int activity)
{
    m_menu->setMofliIcon(activity);
}

void MainWidget::slotBrailleMode(bool on)
{
    m_braille->slotBrailleMode(on);
}

void MainWidget::slotCloseApplication()
{
    m_letters->slotWriteScores();
    m_braille->slotWriteScores();
    // Progress and scores a busy folder kept out are written now, or never.
    m_store->close();
}

void MainWidget::slotSugerencia(const QString &title, const QString &item)
{
    m_menu->setSugerencia(SuggestionFile::find(MediaPaths::suggestionsFile(m_language, title, item),
        { { QStringLiteral("activity"), title } }, QString()));
}

void MainWidget::slotTexts(const QString &category, const QString &title)
{
    m_menu->setSugerencia(
        SuggestionFile::find(MediaPaths::textSuggestionsFile(m_language, category, title),
            { { QStringLiteral("activity"), QStringLiteral("textos") } },
            tr("No hay sugerencias para este texto")));
    m_menu->setActivity(2, 0);
    m_text->setTextFolder(MediaPaths::textFolder(m_language, category, title));
    m_text->startReading();
}
