#pragma once

#include <QList>
#include <QString>

// Every activity the program offers, described once. The menu bar, the
// audible menu, the top bar, the side panel, the letters and braille widgets,
// the suggestion look-ups and the reports all read what they need of an
// activity here, so that they cannot disagree about it.
namespace ActivityTable {

// The four activity groups; the number is also the page of the activity
// area and the colour scheme.
enum Group { Letters = 0, Braille = 1, Texts = 2, Writing = 3 };

// What a turn of the activity is made of.
enum class Turn {
    Presentation, // the child's key is shown and named
    Guessing, // a hidden item is asked for and the answer judged
    Exploration, // every dot raised is heard
    Reading, // an illustrated text is read aloud
    Writing, // what the child types is spoken back
};

// The side panel's controls an activity shows.
enum Option {
    Phonemes = 1 << 0, // "Segmentar palabras"
    Sentences = 1 << 1, // "Segmentar oraciones"
    SelectLetters = 1 << 2, // "Seleccionar letras"
    BrailleMode = 1 << 3, // "Modo escritura"
    SynthModes = 1 << 4, // the writing modes
    MofliVoice = 1 << 5, // "Voz de Mofli"
    LastInstruction = 1 << 6, // "Ultima Instruccion"
};

// What the objects of a score set are.
enum class ScoreKind { Letters, Numbers, Dots };

// A top menu or a submenu: its menu bar text and the clip that names it.
struct Menu
{
    const char *text;
    const char *clip;
};

struct Activity
{
    int group;
    int sub;
    // Index of the submenu of the group it is listed in; -1: no menu entry.
    int submenu;
    const char *menuText;
    const char *statusTip;
    // The clip that names the entry in the menus, under the menu clips.
    const char *menuClip;
    const char *topTitle;
    // Group + " -  " + subgroup + " - " + activity, as in the catalogue and
    // the suggestion files; empty where the catalogue has no entry.
    const char *title;
    // The instruction clip, under the instruction clips; empty for none.
    const char *instruction;
    Turn turn;
    // The score set the answers count in; empty for none.
    const char *scoreSet;
    ScoreKind scoreKind;
    int options;
    int colorScheme;

    bool hasOption(Option option) const { return options & option; }
    bool isScored() const { return *scoreSet != '\0'; }
};

// Every activity, group by group in sub-activity order: the order of the
// menus, of the score sets in the score file and of the reports.
const QList<Activity> &all();
// The activity at an address, or null for an address the program does not
// know.
const Activity *find(int group, int sub);
// The activity an address starts: as find(), but a group of a single
// activity (texts, writing) takes any sub-activity, as the stored last
// activity and the top bar do.
const Activity *atAddress(int group, int sub);
// The activities of one group, in sub-activity order.
QList<const Activity *> inGroup(int group);

// The top menus of F1 to F4 (the audible menu) and their submenus; the
// letters and braille groups are also the menu bar's activity menus.
const QList<Menu> &groups();
const QList<Menu> &submenus(int group);
// The entries of one submenu, in menu order.
QList<const Activity *> inSubmenu(int group, int submenu);

} // namespace ActivityTable
