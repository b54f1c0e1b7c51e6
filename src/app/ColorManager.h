#pragma once

#include <QColor>

class QPalette;

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
    // The same hues, dark enough that white text on any of the three reads
    // as well as print: for the high-contrast look.
    Scheme highContrastScheme(int activity) const;
    // White text and a yellow highlight on a high-contrast scheme.
    static void setHighContrastText(QPalette *palette, const Scheme &scheme);

private:
    static const Scheme s_schemes[4];
};
