#pragma once

#include "users/ScoreManager.h"

#include <QList>
#include <QObject>
#include <QString>

// The managers of the two scoring widgets, with their names and kinds, in
// the order in which they are written.
struct WidgetManagers
{
    QObject owner;
    QList<ScoreManager *> managers;

    void add(const char *name, ScoreManager::Kind kind)
    {
        auto *manager = new ScoreManager(QString::fromLatin1(name), &owner);
        manager->setKind(kind);
        managers.append(manager);
    }

    static WidgetManagers *letters()
    {
        auto *set = new WidgetManagers;
        set->add("Como Suena", ScoreManager::Letters);
        set->add("Como Empieza", ScoreManager::Letters);
        set->add("Letras Escondidas", ScoreManager::Letters);
        set->add("Objetos Escondidos", ScoreManager::Letters);
        set->add("Numeros Escondidos", ScoreManager::Numbers);
        return set;
    }

    static WidgetManagers *braille()
    {
        auto *set = new WidgetManagers;
        set->add("Puntos Escondidos Cajetin", ScoreManager::Dots);
        set->add("Letras Escondidas Cajetin", ScoreManager::Letters);
        set->add("Numeros Escondidos Cajetin", ScoreManager::Numbers);
        set->add("Puntos Escondidos Maquina Perkins", ScoreManager::Dots);
        set->add("Letras Escondidas Maquina Perkins", ScoreManager::Letters);
        set->add("Numeros Escondidos Maquina Perkins", ScoreManager::Numbers);
        return set;
    }
};
