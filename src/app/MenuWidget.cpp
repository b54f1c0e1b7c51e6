#include "app/MenuWidget.h"

#include "app/KeyboardWidget.h"
#include "content/ActivityTable.h"
#include "content/DataStore.h"
#include "content/MediaPaths.h"
#include "content/SuggestionFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

DataStore::File activityFile()
{
    return { MenuWidget::activitySuggestionsFile(), QStringLiteral("Sugerencias"),
        QStringLiteral("Sugerencias") };
}

DataAttributes activityKey(int activity, int sub)
{
    return { { QStringLiteral("activity"), QString::number(activity) },
        { QStringLiteral("subactivity"), QString::number(sub) } };
}

template <typename Widget> Widget *named(Widget *widget)
{
    widget->setAccessibleName(widget->text().remove(QLatin1Char('&')));
    return widget;
}

} // namespace

MenuWidget::MenuWidget(DataStore *store, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *top = new QHBoxLayout;
    m_greeting = new QLabel(tr("Bienvenido a Purimba"), this);
    QFont greetingFont(QStringLiteral("Tahoma"), 10);
    greetingFont.setWeight(QFont::Bold);
    m_greeting->setFont(greetingFont);
    m_greeting->setWordWrap(true);
    m_mofli = new QLabel(this);
    m_mofli->setAccessibleName(tr("Mofli"));
    m_mofli->setPixmap(QPixmap(MediaPaths::uiFile(QStringLiteral("mofli1.jpg"))));
    top->addWidget(m_greeting);
    top->addWidget(m_mofli);
    layout->addLayout(top);

    m_lettersGroup = new QGroupBox(tr("Opciones"), this);
    m_phonemes = named(new QCheckBox(tr("Segmentar palabras"), m_lettersGroup));
    m_sentences = named(new QCheckBox(tr("Segmentar oraciones"), m_lettersGroup));
    m_selectLetters = named(new QPushButton(tr("Seleccionar letras"), m_lettersGroup));
    auto *lettersLayout = new QVBoxLayout(m_lettersGroup);
    lettersLayout->addWidget(m_phonemes);
    lettersLayout->addWidget(m_sentences);
    lettersLayout->addWidget(m_selectLetters);
    layout->addWidget(m_lettersGroup);

    m_brailleGroup = new QGroupBox(tr("Opciones"), this);
    m_brailleMode = named(new QCheckBox(tr("Modo escritura"), m_brailleGroup));
    auto *brailleLayout = new QVBoxLayout(m_brailleGroup);
    brailleLayout->addWidget(m_brailleMode);
    layout->addWidget(m_brailleGroup);

    m_synthGroup = new QGroupBox(tr("Opciones de sintesis de voz"), this);
    auto *synthLayout = new QVBoxLayout(m_synthGroup);
    const QString synthNames[] = { tr("&Letra"), tr("&Palabra"), tr("&Frase"), tr("&Texto") };
    for (int i = 0; i < 4; ++i) {
        m_synthButtons[i] = named(new QRadioButton(synthNames[i], m_synthGroup));
        synthLayout->addWidget(m_synthButtons[i]);
    }
    synthLayout->addStretch();
    m_synthButtons[0]->setChecked(true);
    m_synthGroup->hide();
    layout->addWidget(m_synthGroup);

    auto *voiceRow = new QHBoxLayout;
    m_mofliVoice = named(new QCheckBox(tr("Voz de Mofli"), this));
    m_mofliVoice->setChecked(true);
    voiceRow->addWidget(m_mofliVoice);
    layout->addLayout(voiceRow);

    m_lastInstruction = named(new QPushButton(tr("Ultima Instruccion"), this));
    layout->addWidget(m_lastInstruction);

    auto *suggestions = new QGroupBox(tr("Sugerencias"), this);
    m_tabs = new QTabWidget(suggestions);
    m_exercise = new QTextEdit(m_tabs);
    m_exercise->setReadOnly(true);
    m_exercise->setAccessibleName(tr("Ejercicio"));
    m_activityText = new QTextEdit(m_tabs);
    m_activityText->setAccessibleName(tr("Actividad"));
    for (QTextEdit *box : { m_exercise, m_activityText }) {
        box->setAlignment(Qt::AlignLeft);
        box->setAcceptRichText(false);
    }
    m_tabs->addTab(m_exercise, tr("Ejercicio"));
    m_tabs->addTab(m_activityText, tr("Actividad"));
    auto *suggestionsLayout = new QVBoxLayout(suggestions);
    suggestionsLayout->addWidget(m_tabs);
    layout->addWidget(suggestions);

    m_save = named(new QPushButton(tr("Guardar sugerencias de actividad"), this));
    m_save->setEnabled(false);
    // The longest text of the panel: cut, it would not say what it saves.
    m_save->setMinimumWidth(m_save->sizeHint().width());
    layout->addWidget(m_save);
    m_quit = named(new QPushButton(tr("Salir"), this));
    layout->addWidget(m_quit);

    setMinimumSize(210, 480);

    // The panel is the adult's, worked with the mouse: none of it takes the
    // child's keys, where Space would press a button ("Salir" among them)
    // and nothing would be heard. Only the suggestion being written holds
    // the keyboard, once clicked, until it is saved. An adult without a
    // mouse, or with a screen reader, borrows the keyboard with Ctrl+F6:
    // the controls then take the focus they would anywhere else.
    // Not those with a focus proxy (a text box's viewport, the tab widget):
    // their policy is passed on to the proxy, overriding its own.
    for (QWidget *widget : findChildren<QWidget *>()) {
        if (!widget->focusProxy())
            m_lentFocus.insert(widget, widget->focusPolicy());
    }
    lendKeyboard(false);
    setAccessibleName(tr("Panel del tutor"));
    setAccessibleDescription(
        tr("Control+F6 lleva el teclado a este panel; Escape lo devuelve a la actividad"));
    auto *lend = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6), this);
    connect(lend, &QShortcut::activated, this, [this] {
        lendKeyboard(true);
        focusNextPrevChild(true);
    });
    // Any focus outside the panel (Escape, a click on the activity, the
    // panel's own buttons giving it back) ends the loan.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (m_keyboardLent && !isAncestorOf(now))
            lendKeyboard(false);
    });

    m_keyboard = new KeyboardWidget;
    m_keyboard->hide();

    connect(m_phonemes, &QCheckBox::stateChanged, this, &MenuWidget::slotPhonemes);
    connect(m_sentences, &QCheckBox::stateChanged, this, &MenuWidget::slotSentences);
    connect(m_brailleMode, &QCheckBox::stateChanged, this, &MenuWidget::slotBrailleMode);
    connect(m_mofliVoice, &QCheckBox::stateChanged, this, &MenuWidget::signalMofli);
    connect(m_selectLetters, &QPushButton::clicked, this, &MenuWidget::slotSelectLetters);
    connect(
        m_keyboard, &KeyboardWidget::signalSelectedLetters, this, &MenuWidget::slotSelectedLetters);
    connect(m_synthButtons[0], &QRadioButton::clicked, this, &MenuWidget::slotSynthTypeLetter);
    connect(m_synthButtons[1], &QRadioButton::clicked, this, &MenuWidget::slotSynthTypeWord);
    connect(m_synthButtons[2], &QRadioButton::clicked, this, &MenuWidget::slotSynthTypeSentence);
    connect(m_synthButtons[3], &QRadioButton::clicked, this, &MenuWidget::slotSynthTypeText);
    connect(m_tabs, &QTabWidget::currentChanged, this, &MenuWidget::slotSelectSugerencia);
    connect(m_save, &QPushButton::clicked, this, &MenuWidget::slotSaveSuggestion);
    connect(m_lastInstruction, &QPushButton::clicked, this, &MenuWidget::signalLastInstruction);
    connect(m_quit, &QPushButton::clicked, this, &MenuWidget::salir);
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *> { m_phonemes,
             m_sentences, m_mofliVoice, m_synthButtons[0], m_synthButtons[1], m_synthButtons[2],
             m_synthButtons[3], m_save, m_lastInstruction })
        connect(button, &QAbstractButton::clicked, this, &MenuWidget::signalClicked);

    // A suggestion stored in an earlier run shows before anything is saved.
    loadActivitySuggestions();
    refreshActivitySuggestion();
}

MenuWidget::~MenuWidget()
{
    // The controls go before QObject would end the connection.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // Made without a parent, so it is a window of its own.
    delete m_keyboard;
}

QString MenuWidget::activitySuggestionsFile()
{
    return MediaPaths::activitySuggestionsFile();
}

QString MenuWidget::greeting() const
{
    return m_greeting->text();
}

QString MenuWidget::exerciseSuggestion() const
{
    return m_exercise->toPlainText();
}

QString MenuWidget::activitySuggestion() const
{
    return m_activityText->toPlainText();
}

void MenuWidget::setUserName(const QString &name)
{
    m_greeting->setText(tr("Bienvenido ") + name);
}

void MenuWidget::setEscritura()
{
    m_synthGroup->show();
    m_lettersGroup->hide();
}

// An address the program does not know leaves the options as they were.
void MenuWidget::setActivity(int activity, int sub)
{
    m_activity = activity;
    m_sub = sub;
    refreshActivitySuggestion();
    const ActivityTable::Activity *record = ActivityTable::atAddress(activity, sub);
    if (!record)
        return;
    using namespace ActivityTable;
    m_phonemes->setVisible(record->hasOption(Phonemes));
    m_sentences->setVisible(record->hasOption(Sentences));
    m_selectLetters->setVisible(record->hasOption(SelectLetters));
    m_lettersGroup->setVisible(record->options & (Phonemes | Sentences | SelectLetters));
    m_brailleGroup->setVisible(record->hasOption(BrailleMode));
    m_synthGroup->setVisible(record->hasOption(SynthModes));
    m_mofliVoice->setVisible(record->hasOption(MofliVoice));
    m_lastInstruction->setVisible(record->hasOption(LastInstruction));
}

void MenuWidget::setSynthMode(int type)
{
    if (type >= 0 && type <= 3)
        m_synthButtons[type]->setChecked(true);
}

void MenuWidget::slotSynthTypeLetter()
{
    Q_EMIT signalSynthType(0);
}

void MenuWidget::slotSynthTypeWord()
{
    Q_EMIT signalSynthType(1);
}

void MenuWidget::slotSynthTypeSentence()
{
    Q_EMIT signalSynthType(2);
}

void MenuWidget::slotSynthTypeText()
{
    Q_EMIT signalSynthType(3);
}

void MenuWidget::setSugerencia(const QString &text)
{
    m_exercise->setPlainText(text);
}

void MenuWidget::slotSelectSugerencia(int tab)
{
    m_save->setEnabled(tab == 1);
}

void MenuWidget::loadActivitySuggestions()
{
    // With what this program keeps for a busy folder, also before it is written.
    DataDocument doc;
    m_store->read(activityFile(), &doc);
    if (doc.hasRoot())
        m_activitySuggestions = doc;
}

void MenuWidget::refreshActivitySuggestion()
{
    m_activityText->setPlainText(SuggestionFile::find(m_activitySuggestions,
        activityKey(m_activity, m_sub), tr("No hay sugerencias para esta actividad")));
}

void MenuWidget::slotSaveSuggestion()
{
    const QString text = m_activityText->toPlainText();
    const DataAttributes key = activityKey(m_activity, m_sub);
    // Stored under the file's lock on the file as it is now, so a suggestion
    // saved meanwhile on another machine of the class is kept. Never waits
    // for a busy folder: the child's activity would freeze with the window.
    const DataStore::Outcome outcome
        = m_store->submit(activityFile(), [key, text](DataDocument &doc) {
              SuggestionFile::store(doc, key, text);
              return true;
          });
    loadActivitySuggestions();
    // Not a message box: it would take the child's keys while the activity
    // talks on.
    switch (outcome) {
    case DataStore::Written:
        Q_EMIT signalStatusMessage(tr("La sugerencia ha sido grabada exitosamente"));
        break;
    case DataStore::Kept:
        // Shown from memory also where the file cannot be read now.
        SuggestionFile::store(m_activitySuggestions, key, text);
        Q_EMIT signalStatusMessage(
            tr("La sugerencia sera grabada en cuanto se pueda escribir el archivo"));
        break;
    case DataStore::Refused:
        Q_EMIT signalStatusMessage(tr("La sugerencia no ha podido ser grabada"));
        break;
    }
}

void MenuWidget::slotBrailleMode(int state)
{
    Q_EMIT signalBrailleMode(state == Qt::Checked);
}

void MenuWidget::slotPhonemes(int state)
{
    Q_EMIT signalPhonemes(state == Qt::Checked);
}

void MenuWidget::slotSentences(int state)
{
    Q_EMIT signalSentences(state == Qt::Checked);
}

void MenuWidget::slotSelectLetters()
{
    m_keyboard->show();
}

void MenuWidget::slotSelectedLetters(const QString &letters)
{
    m_selectLetters->setText(
        letters.isEmpty() ? tr("Seleccionar letras") : tr("LETRAS SELECCIONADAS"));
    Q_EMIT signalSelectedLetters(letters);
}

void MenuWidget::setColors(const QColor &light, const QColor &base, const QColor &dark)
{
    Q_UNUSED(base);
    Q_UNUSED(dark);
    for (QPushButton *button : { m_lastInstruction, m_save, m_quit, m_selectLetters }) {
        QPalette pal = button->palette();
        pal.setColor(QPalette::All, QPalette::Button, light);
        button->setPalette(pal);
    }
    for (QTextEdit *box : { m_exercise, m_activityText }) {
        QPalette pal = box->palette();
        pal.setColor(QPalette::All, QPalette::Window, light);
        box->setPalette(pal);
        box->setAutoFillBackground(true);
    }
}

void MenuWidget::setMofliIcon(int activity)
{
    static const char *const pictures[]
        = { "mofli1.jpg", "mofli4.jpg", "mofli3.jpg", "mofli2.jpg" };
    if (activity < 0 || activity > 3)
        return;
    m_mofli->setPixmap(QPixmap(MediaPaths::uiFile(QLatin1String(pictures[activity]))));
}

void MenuWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    Q_EMIT signalClicked();
}

void MenuWidget::lendKeyboard(bool lent)
{
    m_keyboardLent = lent;
    for (auto it = m_lentFocus.cbegin(); it != m_lentFocus.cend(); ++it)
        it.key()->setFocusPolicy(lent ? it.value() : Qt::NoFocus);
    if (!lent)
        m_activityText->setFocusPolicy(Qt::ClickFocus);
    // With the keyboard lent, Tab leaves the suggestion being written, as it
    // leaves every other control.
    m_activityText->setTabChangesFocus(lent);
}

bool MenuWidget::focusNextPrevChild(bool next)
{
    if (!m_keyboardLent)
        return QWidget::focusNextPrevChild(next);
    // Round the panel: past its last control Tab would reach the activity,
    // which would take the key's release for the child's.
    QList<QWidget *> stops;
    for (QWidget *widget = nextInFocusChain(); widget != this;
         widget = widget->nextInFocusChain()) {
        if (isAncestorOf(widget) && !widget->focusProxy() && widget->isVisibleTo(this)
            && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus))
            stops << widget;
    }
    if (stops.isEmpty())
        return false;
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    const qsizetype to = at < 0 ? (next ? 0 : stops.size() - 1)
                                : (at + (next ? 1 : stops.size() - 1)) % stops.size();
    stops.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

// Keys reach the panel only while it has the keyboard; none goes further,
// to the window, which has keys of its own for the child.
void MenuWidget::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

void MenuWidget::keyReleaseEvent(QKeyEvent *event)
{
    // On the release, so that the activity, given the keyboard back, does
    // not take it for the child's Escape.
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat())
        Q_EMIT signalClicked();
    event->accept();
}
