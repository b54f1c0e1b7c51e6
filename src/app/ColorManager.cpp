#include "app/ColorManager.h"

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
