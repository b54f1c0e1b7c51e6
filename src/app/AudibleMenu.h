#pragma once

#include "content/ActivityTable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The spoken menu a child works from inside an activity, without the screen:
// F1 to F4 choose a top menu, Left and Right walk its submenus, Up and Down
// their entries, Return starts what was named last, F12 asks for help. It
// only keeps the position and says what to do; the main window does it.
class AudibleMenu
{
public:
    struct Action
    {
        enum Kind {
            Nothing,
            Say, // clip: a menu clip name
            SayText, // category, text: the text's own title clip
            StartActivity, // activity, sub
            OpenText, // category, text
            StartWriting,
            Help,
        };
        Kind kind = Nothing;
        QString clip;
        int activity = -1;
        int sub = -1;
        QString category;
        QString text;
    };

    // The entries of each texts menu ("Cuentos", "Fabulas", "Trabalenguas",
    // "Poesias"), in menu order.
    void setTexts(const QString &category, const QStringList &titles);

    Action key(int key);

    int top() const { return m_top; }
    int submenu() const { return m_submenu; }
    int entry() const { return m_entry; }

private:
    int submenuCount() const;
    int entryCount() const;
    Action step(int &position, int delta, int count, Action (AudibleMenu::*announce)() const);
    Action announceSubmenu() const;
    Action announceEntry() const;
    Action activate() const;
    // The category of the texts submenu at the position, or empty.
    QString textCategory() const;
    // The activities listed in the submenu at the position; none elsewhere.
    QList<const ActivityTable::Activity *> activityEntries() const;

    int m_top = -1;
    int m_submenu = -1;
    int m_entry = -1;
    QHash<QString, QStringList> m_texts;
};
