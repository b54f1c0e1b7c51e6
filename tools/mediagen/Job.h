#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One file of the generated tree and everything that decides its bytes.
// Two jobs with equal kind and parameters produce equal files, so the
// generator makes such a file once and copies it.
struct Job
{
    // Relative to the output root, e.g. "media/system/audio/blank.ogg".
    QString output;
    // "speech", "sound", "picture", "animation" or "file".
    QString kind;
    QStringList params;
};
