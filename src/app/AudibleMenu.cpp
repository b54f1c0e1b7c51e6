#include "app/AudibleMenu.h"

#include "content/MediaPaths.h"

#include <Qt>

namespace {

constexpr int lettersMenu = 0;
constexpr int brailleMenu = 1;
constexpr int textsMenu = 2;
constexpr int writingMenu = 3;
// The texts submenus may hold any number of texts, but the child can walk
// only this far; a step past the last text names nothing.
constexpr int textEntryLimit = 5;

QList<AudibleMenu::Entry> brailleEntries(int firstSub)
{
    return {
        { 1, firstSub, "&Exploracion Cajetin", "Exploracion cajetin", "Exploracion cajetin.ogg" },
        { 1, firstSub + 1, "&Puntos escondidos", "Puntos escondidos", "Puntos escondidos.ogg" },
        { 1, firstSub + 2, "&Formemos letras", "Formemos Letras", "Formemos letras.ogg" },
        { 1, firstSub + 3, "&Letras escondidas", "Letras escondidas", "Letras escondidas.ogg" },
        { 1, firstSub + 4, "&Te presento numeros", "Te presento numeros",
            "Te presento numeros.ogg" },
        { 1, firstSub + 5, "&Numeros Escondidos", "Numeros Escondidos", "Numeros escondidos.ogg" },
    };
}

} // namespace

const QList<AudibleMenu::Menu> &AudibleMenu::activityMenus()
{
    static const QList<AudibleMenu::Menu> menus = {
        { "&Letras y Numeros", "Letras y Numeros.ogg",
            {
                { "&Sonidos de las Letras", "Sonidos de las Letras.ogg",
                    {
                        { 0, 0, "Te &presento sonidos", "Te presento sonidos",
                            "Te presento sonidos.ogg" },
                        { 0, 1, "¿Cómo &suena?", "¿Cómo suena?", "Como suena.ogg" },
                        { 0, 2, "¿Cómo &empieza?", "¿Cómo empieza?", "Como empieza.ogg" },
                    } },
                { "&Nombres de las Letras", "Nombres de las Letras.ogg",
                    {
                        { 0, 3, "Te &presento nombres", "Te presento nombres",
                            "Te presento nombres.ogg" },
                        { 0, 4, "&Letras escondidas", "Letras escondidas",
                            "Letras escondidas.ogg" },
                        { 0, 5, "&Objetos escondidos", "Objetos escondidos",
                            "Objetos escondidos.ogg" },
                    } },
                { "N&umeros", "Numeros.ogg",
                    {
                        { 0, 6, "Te &presento numeros", "Te presento numeros",
                            "Te presento numeros.ogg" },
                        { 0, 7, "&Numeros escondidos", "Numeros escondidos",
                            "Numeros escondidos.ogg" },
                    } },
            } },
        { "&Braille", "Braille.ogg",
            {
                { "&Cajetin", "Cajetin.ogg", brailleEntries(0) },
                { "&Maquina Perkins", "Maquina Perkins.ogg", brailleEntries(6) },
            } },
    };
    return menus;
}

void AudibleMenu::setTexts(const QString &category, const QStringList &titles)
{
    m_texts.insert(category, titles);
}

const AudibleMenu::Submenu *AudibleMenu::activitySubmenu() const
{
    if (m_top != lettersMenu && m_top != brailleMenu)
        return nullptr;
    const QList<AudibleMenu::Submenu> &submenus = activityMenus().at(m_top).submenus;
    if (m_submenu < 0 || m_submenu >= submenus.size())
        return nullptr;
    return &submenus.at(m_submenu);
}

QString AudibleMenu::textCategory() const
{
    const QStringList &categories = MediaPaths::textCategories();
    if (m_top != textsMenu || m_submenu < 0 || m_submenu >= categories.size())
        return QString();
    return categories.at(m_submenu);
}

// One past the last valid index, so the child can step onto a silent
// position after the last name and knows the list has ended.
int AudibleMenu::submenuLimit() const
{
    if (m_top == lettersMenu || m_top == brailleMenu)
        return int(activityMenus().at(m_top).submenus.size());
    if (m_top == textsMenu)
        return int(MediaPaths::textCategories().size());
    return 1;
}

int AudibleMenu::entryLimit() const
{
    if (const AudibleMenu::Submenu *submenu = activitySubmenu())
        return int(submenu->entries.size());
    if (!textCategory().isEmpty())
        return textEntryLimit;
    return 1;
}

AudibleMenu::Action AudibleMenu::key(int key)
{
    static const char *const topClips[]
        = { "Letras y Numeros.ogg", "Braille.ogg", "Lenguaje.ogg", "Escribir.ogg" };
    switch (key) {
    case Qt::Key_F1:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4: {
        m_top = key - Qt::Key_F1;
        m_submenu = -1;
        m_entry = -1;
        Action say;
        say.kind = Action::Say;
        say.clip = QString::fromUtf8(topClips[m_top]);
        return say;
    }
    case Qt::Key_Right:
        m_entry = -1;
        m_submenu = qMin(m_submenu + 1, submenuLimit());
        return announceSubmenu();
    case Qt::Key_Left:
        m_entry = -1;
        m_submenu = qMax(m_submenu - 1, 0);
        return announceSubmenu();
    case Qt::Key_Down:
        m_entry = qMin(m_entry + 1, entryLimit());
        return announceEntry();
    case Qt::Key_Up:
        m_entry = qMax(m_entry - 1, 0);
        return announceEntry();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return activate();
    case Qt::Key_F12: {
        Action help;
        help.kind = Action::Help;
        return help;
    }
    default:
        return Action();
    }
}

AudibleMenu::Action AudibleMenu::announceSubmenu() const
{
    Action say;
    say.kind = Action::Say;
    if (const AudibleMenu::Submenu *submenu = activitySubmenu())
        say.clip = QString::fromUtf8(submenu->clip);
    else if (!textCategory().isEmpty())
        say.clip = textCategory() + QStringLiteral(".ogg");
    else if (m_top == writingMenu && m_submenu == 0)
        say.clip = QStringLiteral("Escribir.ogg");
    else
        return Action();
    return say;
}

AudibleMenu::Action AudibleMenu::announceEntry() const
{
    Action action;
    if (const AudibleMenu::Submenu *submenu = activitySubmenu()) {
        if (m_entry >= 0 && m_entry < submenu->entries.size()) {
            action.kind = Action::Say;
            action.clip = QString::fromUtf8(submenu->entries.at(m_entry).clip);
        }
        return action;
    }
    const QString category = textCategory();
    const QStringList titles = m_texts.value(category);
    if (!category.isEmpty() && m_entry >= 0 && m_entry < titles.size()) {
        action.kind = Action::SayText;
        action.category = category;
        action.text = titles.at(m_entry);
    }
    return action;
}

// A position that names nothing (no menu or entry chosen yet, or one past
// the last) starts nothing.
AudibleMenu::Action AudibleMenu::activate() const
{
    Action action = announceEntry();
    if (m_top == writingMenu) {
        action.kind = Action::StartWriting;
    } else if (action.kind == Action::Say) {
        const AudibleMenu::Entry &entry = activitySubmenu()->entries.at(m_entry);
        action.kind = Action::StartActivity;
        action.activity = entry.activity;
        action.sub = entry.sub;
    } else if (action.kind == Action::SayText) {
        action.kind = Action::OpenText;
    }
    return action;
}
