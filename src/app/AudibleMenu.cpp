#include "app/AudibleMenu.h"

#include "content/MediaPaths.h"

#include <Qt>

namespace {

constexpr int textsMenu = ActivityTable::Texts;
constexpr int writingMenu = ActivityTable::Writing;
// The texts submenus may hold any number of texts, but the child can walk
// only this far.
constexpr int textEntryLimit = 5;

} // namespace

void AudibleMenu::setTexts(const QString &category, const QStringList &titles)
{
    m_texts.insert(category, titles);
}

QList<const ActivityTable::Activity *> AudibleMenu::activityEntries() const
{
    if (m_submenu < 0 || m_submenu >= ActivityTable::submenus(m_top).size())
        return {};
    return ActivityTable::inSubmenu(m_top, m_submenu);
}

QString AudibleMenu::textCategory() const
{
    const QStringList &categories = MediaPaths::textCategories();
    if (m_top != textsMenu || m_submenu < 0 || m_submenu >= categories.size())
        return QString();
    return categories.at(m_submenu);
}

int AudibleMenu::submenuCount() const
{
    if (m_top == textsMenu)
        return int(MediaPaths::textCategories().size());
    // The writing menu has one submenu: writing itself.
    return m_top == writingMenu ? 1 : int(ActivityTable::submenus(m_top).size());
}

int AudibleMenu::entryCount() const
{
    const QList<const ActivityTable::Activity *> entries = activityEntries();
    if (!entries.isEmpty())
        return int(entries.size());
    if (!textCategory().isEmpty())
        return qMin(int(m_texts.value(textCategory()).size()), textEntryLimit);
    return 0;
}

// One step along a list of count names. Past either end the position stays
// where the child can step back from (after the last name, or on the
// first), and the list's end is said, so that no key meets silence and the
// next key the other way names the neighbour.
AudibleMenu::Action AudibleMenu::step(
    int &position, int delta, int count, Action (AudibleMenu::*announce)() const)
{
    const int next = position < 0 ? 0 : position + delta;
    if (next >= 0 && next < count) {
        position = next;
        return (this->*announce)();
    }
    position = next < 0 ? 0 : count;
    Action end;
    end.kind = Action::Say;
    end.clip = QStringLiteral("No hay mas.ogg");
    return end;
}

AudibleMenu::Action AudibleMenu::key(int key)
{
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
        say.clip = QString::fromUtf8(ActivityTable::groups().at(m_top).clip);
        return say;
    }
    case Qt::Key_Right:
    case Qt::Key_Left:
        if (m_top < 0)
            return Action();
        m_entry = -1;
        return step(m_submenu, key == Qt::Key_Right ? 1 : -1, submenuCount(),
            &AudibleMenu::announceSubmenu);
    case Qt::Key_Down:
    case Qt::Key_Up:
        if (m_top < 0)
            return Action();
        // Straight after F1 … F4 the arrows walk the first submenu.
        if (m_submenu < 0)
            m_submenu = 0;
        return step(
            m_entry, key == Qt::Key_Down ? 1 : -1, entryCount(), &AudibleMenu::announceEntry);
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
    const QList<ActivityTable::Menu> &submenus = ActivityTable::submenus(m_top);
    if (m_submenu >= 0 && m_submenu < submenus.size())
        say.clip = QString::fromUtf8(submenus.at(m_submenu).clip);
    else if (!textCategory().isEmpty())
        say.clip = textCategory() + QStringLiteral(".ogg");
    else if (m_top == writingMenu && m_submenu == 0)
        say.clip = QString::fromUtf8(ActivityTable::find(writingMenu, 0)->menuClip);
    else
        return Action();
    return say;
}

AudibleMenu::Action AudibleMenu::announceEntry() const
{
    Action action;
    const QList<const ActivityTable::Activity *> entries = activityEntries();
    if (!entries.isEmpty()) {
        if (m_entry >= 0 && m_entry < entries.size()) {
            action.kind = Action::Say;
            action.clip = QString::fromUtf8(entries.at(m_entry)->menuClip);
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
        const ActivityTable::Activity *entry = activityEntries().at(m_entry);
        action.kind = Action::StartActivity;
        action.activity = entry->group;
        action.sub = entry->sub;
    } else if (action.kind == Action::SayText) {
        action.kind = Action::OpenText;
    }
    return action;
}
