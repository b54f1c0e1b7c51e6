#pragma once

#include <QColor>

// The colours of the four activities (letters and numbers, braille, texts,
// writing): a light, a base and a dark shade each.
class ColorManager
{
public:
    struct Scheme
    {
        QColor light;
        QColor base;
        QColor dark;
    };

    // The scheme of activity 0 to 3; any other number gets the letters' one.
    Scheme scheme(int activity) const;

private:
    static const Scheme s_schemes[4];
};
