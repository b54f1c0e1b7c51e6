#include "content/ActivityTable.h"

namespace ActivityTable {

namespace {

constexpr int lettersPanel = SelectLetters | MofliVoice | LastInstruction;
constexpr int braillePanel = MofliVoice | LastInstruction;

// clang-format off
const QList<Activity> activities = {
    // group, sub, submenu, menu text, status tip, menu clip, top bar title,
    // catalogue title, instruction, turn, score set, kind, side panel, colours
    { Letters, 0, 0, "Te &presento sonidos", "Te presento sonidos", "Te presento sonidos.ogg",
      "Sonidos de Las Letras - Te presento sonidos",
      "Letras y Numeros -  Sonidos de las Letras - Te presento sonidos",
      "Te presento sonidos.ogg", Turn::Presentation, "", ScoreKind::Letters,
      lettersPanel | Phonemes, Letters },
    { Letters, 1, 0, "¿Cómo &suena?", "¿Cómo suena?", "Como suena.ogg",
      "Sonidos de Las Letras - Como suena",
      "Letras y Numeros -  Sonidos de las Letras - Como suena",
      "Como suena.ogg", Turn::Guessing, "Como Suena", ScoreKind::Letters, lettersPanel, Letters },
    { Letters, 2, 0, "¿Cómo &empieza?", "¿Cómo empieza?", "Como empieza.ogg",
      "Sonidos de Las Letras - Como empieza",
      "Letras y Numeros -  Sonidos de las Letras - Como empieza",
      "Como empieza.ogg", Turn::Guessing, "Como Empieza", ScoreKind::Letters, lettersPanel,
      Letters },
    { Letters, 3, 1, "Te &presento nombres", "Te presento nombres", "Te presento nombres.ogg",
      "Nombres de Las Letras - Te presento nombres",
      "Letras y Numeros -  Nombres de las Letras - Te presento nombres",
      "Te presento nombres.ogg", Turn::Presentation, "", ScoreKind::Letters,
      lettersPanel | Sentences, Letters },
    { Letters, 4, 1, "&Letras escondidas", "Letras escondidas", "Letras escondidas.ogg",
      "Nombres de Las Letras - Letras escondidas",
      "Letras y Numeros -  Nombres de las Letras - Letras escondidas",
      "Letras escondidas.ogg", Turn::Guessing, "Letras Escondidas", ScoreKind::Letters,
      lettersPanel, Letters },
    { Letters, 5, 1, "&Objetos escondidos", "Objetos escondidos", "Objetos escondidos.ogg",
      "Nombres de Las Letras - Objetos escondidos",
      "Letras y Numeros -  Nombres de las Letras - Objetos escondidos",
      "Objetos escondidos.ogg", Turn::Guessing, "Objetos Escondidos", ScoreKind::Letters,
      lettersPanel, Letters },
    { Letters, 6, 2, "Te &presento numeros", "Te presento numeros", "Te presento numeros.ogg",
      "Numeros - Te presento numeros",
      "Letras y Numeros -  Numeros de las Letras - Te presento numeros",
      "Te presento numeros.ogg", Turn::Presentation, "", ScoreKind::Numbers,
      MofliVoice | LastInstruction, Letters },
    { Letters, 7, 2, "&Numeros escondidos", "Numeros escondidos", "Numeros escondidos.ogg",
      "Numeros - Numeros escondidos",
      "Letras y Numeros -  Numeros de las Letras - Numeros escondidos",
      "Numeros escondidos.ogg", Turn::Guessing, "Numeros Escondidos", ScoreKind::Numbers,
      MofliVoice | LastInstruction, Letters },

    // The same six activities on the braille cell and on the Perkins brailler.
    { Braille, 0, 0, "&Exploracion Cajetin", "Exploracion cajetin", "Exploracion cajetin.ogg",
      "Cajetin - Exploracion Cajetin", "Braille -  Cajetin - Exploracion cajetin",
      "Exploracion cajetin.ogg", Turn::Exploration, "", ScoreKind::Dots, braillePanel, Braille },
    { Braille, 1, 0, "&Puntos escondidos", "Puntos escondidos", "Puntos escondidos.ogg",
      "Cajetin - Puntos escondidos", "Braille -  Cajetin - Puntos escondidos",
      "Puntos escondidos braille.ogg", Turn::Guessing, "Puntos Escondidos Cajetin",
      ScoreKind::Dots, braillePanel, Braille },
    { Braille, 2, 0, "&Formemos letras", "Formemos Letras", "Formemos letras.ogg",
      "Cajetin - Formemos letras", "Braille -  Cajetin - Formemos letras",
      "Formemos letras braille.ogg", Turn::Presentation, "", ScoreKind::Letters,
      braillePanel | BrailleMode, Braille },
    { Braille, 3, 0, "&Letras escondidas", "Letras escondidas", "Letras escondidas.ogg",
      "Cajetin - Letras escondidas", "Braille -  Cajetin - Letras escondidas",
      "Letras escondidas braille.ogg", Turn::Guessing, "Letras Escondidas Cajetin",
      ScoreKind::Letters, braillePanel | BrailleMode, Braille },
    { Braille, 4, 0, "&Te presento numeros", "Te presento numeros", "Te presento numeros.ogg",
      "Cajetin - Te presento numeros", "Braille -  Cajetin - Te presento numeros",
      "Formemos numeros braille.ogg", Turn::Presentation, "", ScoreKind::Numbers,
      braillePanel | BrailleMode, Braille },
    { Braille, 5, 0, "&Numeros Escondidos", "Numeros Escondidos", "Numeros escondidos.ogg",
      "Cajetin - Numeros escondidos", "Braille -  Cajetin - Numeros escondidos",
      "Numeros escondidos braille.ogg", Turn::Guessing, "Numeros Escondidos Cajetin",
      ScoreKind::Numbers, braillePanel | BrailleMode, Braille },
    { Braille, 6, 1, "&Exploracion Cajetin", "Exploracion cajetin", "Exploracion cajetin.ogg",
      "Perkins - Exploracion cajetin", "Braille -  Maquina Perkins - Exploracion cajetin",
      "Exploracion perkins.ogg", Turn::Exploration, "", ScoreKind::Dots, braillePanel, Braille },
    { Braille, 7, 1, "&Puntos escondidos", "Puntos escondidos", "Puntos escondidos.ogg",
      "Perkins - Puntos escondidos", "Braille -  Maquina Perkins - Puntos escondidos",
      "Puntos escondidos perkins.ogg", Turn::Guessing, "Puntos Escondidos Maquina Perkins",
      ScoreKind::Dots, braillePanel, Braille },
    { Braille, 8, 1, "&Formemos letras", "Formemos Letras", "Formemos letras.ogg",
      "Perkins - Formemos letras", "Braille -  Maquina Perkins - Formemos letras",
      "Formemos letras perkins.ogg", Turn::Presentation, "", ScoreKind::Letters, braillePanel,
      Braille },
    { Braille, 9, 1, "&Letras escondidas", "Letras escondidas", "Letras escondidas.ogg",
      "Perkins - Letras escondidas", "Braille -  Maquina Perkins - Letras escondidas",
      "Letras escondidas perkins.ogg", Turn::Guessing, "Letras Escondidas Maquina Perkins",
      ScoreKind::Letters, braillePanel, Braille },
    { Braille, 10, 1, "&Te presento numeros", "Te presento numeros", "Te presento numeros.ogg",
      "Perkins - Te presento numeros", "Braille -  Maquina Perkins - Te presento numeros",
      "Formemos numeros perkins.ogg", Turn::Presentation, "", ScoreKind::Numbers, braillePanel,
      Braille },
    { Braille, 11, 1, "&Numeros Escondidos", "Numeros Escondidos", "Numeros escondidos.ogg",
      "Perkins - Numeros escondidos", "Braille -  Maquina Perkins - Numeros escondidos",
      "Numeros escondidos perkins.ogg", Turn::Guessing, "Numeros Escondidos Maquina Perkins",
      ScoreKind::Numbers, braillePanel, Braille },

    // Reached through the texts menus and the audible menu, not an entry of their own.
    { Texts, 0, -1, "", "", "", "Lenguage", "", "", Turn::Reading, "", ScoreKind::Letters,
      LastInstruction, Texts },
    { Writing, 0, -1, "", "", "Escribir.ogg", "Escribir", "", "Escribir.ogg", Turn::Writing, "",
      ScoreKind::Letters, SynthModes, Writing },
};

const QList<Menu> groupMenus = {
    { "&Letras y Numeros", "Letras y Numeros.ogg" },
    { "&Braille", "Braille.ogg" },
    { "&Lenguaje", "Lenguaje.ogg" },
    { "&Escribir", "Escribir.ogg" },
};

const QList<Menu> lettersSubmenus = {
    { "&Sonidos de las Letras", "Sonidos de las Letras.ogg" },
    { "&Nombres de las Letras", "Nombres de las Letras.ogg" },
    { "N&umeros", "Numeros.ogg" },
};

const QList<Menu> brailleSubmenus = {
    { "&Cajetin", "Cajetin.ogg" },
    { "&Maquina Perkins", "Maquina Perkins.ogg" },
};
// clang-format on

const QList<Menu> noSubmenus;

} // namespace

const QList<Activity> &all()
{
    return activities;
}

const Activity *find(int group, int sub)
{
    for (const Activity &activity : activities) {
        if (activity.group == group && activity.sub == sub)
            return &activity;
    }
    return nullptr;
}

const Activity *atAddress(int group, int sub)
{
    const QList<const Activity *> members = inGroup(group);
    return members.size() == 1 ? members.first() : find(group, sub);
}

QList<const Activity *> inGroup(int group)
{
    QList<const Activity *> found;
    for (const Activity &activity : activities) {
        if (activity.group == group)
            found.append(&activity);
    }
    return found;
}

const QList<Menu> &groups()
{
    return groupMenus;
}

const QList<Menu> &submenus(int group)
{
    switch (group) {
    case Letters:
        return lettersSubmenus;
    case Braille:
        return brailleSubmenus;
    default:
        return noSubmenus;
    }
}

QList<const Activity *> inSubmenu(int group, int submenu)
{
    QList<const Activity *> found;
    for (const Activity *activity : inGroup(group)) {
        if (activity->submenu == submenu)
            found.append(activity);
    }
    return found;
}

} // namespace ActivityTable
