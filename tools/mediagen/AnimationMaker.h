#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class Tools;

// The two MNG animations: the welcome animation (the program's name and a
// waving Mofli on the welcome window's blue) and the mascot animation of the
// main window. Frames are painted with Qt and joined by ImageMagick.
class AnimationMaker
{
public:
    static const QSize kIntroSize;
    static const QSize kMascotSize;

    explicit AnimationMaker(const Tools &tools)
        : m_tools(tools)
    {
    }

    // params: "intro" title subtitle, or "mascot".
    bool make(const QStringList &params, const QString &target, const QString &scratchDir,
        QString *error) const;

    static QList<QImage> frames(const QStringList &params, int *delayCentiseconds);

private:
    const Tools &m_tools;
};
