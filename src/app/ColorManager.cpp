#include "app/ColorManager.h"

#include <QPalette>

const ColorManager::Scheme ColorManager::s_schemes[4] = {
    { QColor(244, 166, 82), QColor(237, 125, 5), QColor(188, 99, 3) },
    { QColor(120, 181, 114), QColor(75, 154, 68), QColor(50, 117, 45) },
    { QColor(126, 153, 215), QColor(75, 112, 194), QColor(52, 84, 154) },
    { QColor(198, 144, 196), QColor(175, 106, 173), QColor(134, 81, 132) },
};

ColorManager::Scheme ColorManager::scheme(int activity) const
{
    return s_schemes[activity >= 0 && activity < 4 ? activity : 0];
}

ColorManager::Scheme ColorManager::highContrastScheme(int activity) const
{
    const Scheme &colours = scheme(activity);
    // The value, not the hue: a child who knows braille by its green still
    // finds it green.
    const auto dark = [](const QColor &colour, int value) {
        return QColor::fromHsv(colour.hsvHue(), colour.hsvSaturation(), value);
    };
    return { dark(colours.light, 96), dark(colours.base, 72), dark(colours.dark, 48) };
}

void ColorManager::setHighContrastText(QPalette *palette, const Scheme &scheme)
{
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::ButtonText, QPalette::Text,
             QPalette::BrightText, QPalette::ToolTipText })
        palette->setColor(QPalette::All, role, Qt::white);
    palette->setColor(QPalette::All, QPalette::Button, scheme.dark);
    palette->setColor(QPalette::All, QPalette::Base, Qt::black);
    palette->setColor(QPalette::All, QPalette::Highlight, Qt::yellow);
    palette->setColor(QPalette::All, QPalette::HighlightedText, Qt::black);
    // Disabled text stays readable, only dimmer.
    palette->setColor(QPalette::Disabled, QPalette::WindowText, QColor(200, 200, 200));
    palette->setColor(QPalette::Disabled, QPalette::ButtonText, QColor(200, 200, 200));
    palette->setColor(QPalette::Disabled, QPalette::Text, QColor(200, 200, 200));
}
