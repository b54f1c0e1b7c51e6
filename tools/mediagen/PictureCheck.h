#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Measures an object picture as a child with low vision sees it: the
// background is the colour of the picture's border, the object is every
// pixel that differs from it.
namespace PictureCheck {

struct Measure
{
    QColor background;
    // The object's bounding box: its longer side as a share of the
    // picture's side, and the share of the picture's pixels it covers.
    double span = 0;
    double coverage = 0;
    // WCAG contrast of the object's median luminance against the background.
    double contrast = 1;
};

// The smallest span and contrast an object picture may have.
constexpr double kMinSpan = 0.70;
constexpr double kMinContrast = 3.0;

// WCAG relative luminance (0 black … 1 white) and contrast ratio (1 … 21).
double luminance(const QColor &colour);
double contrast(double luminanceA, double luminanceB);

Measure measure(const QImage &image);

// Whether an object picture is big and strong enough; problem says why not.
bool acceptable(const QImage &image, QString *problem);

} // namespace PictureCheck
