#include "PictureCheck.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <vector>

namespace PictureCheck {

namespace {

// Differences smaller than this are compression noise or a faint shadow,
// not part of the object.
const int kTolerance = 40;

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// The commonest colour of the outermost ring of pixels.
QRgb borderColour(const QImage &image)
{
    QHash<QRgb, int> counts;
    const int w = image.width();
    const int h = image.height();
    for (int x = 0; x < w; ++x) {
        ++counts[image.pixel(x, 0) | 0xff000000];
        ++counts[image.pixel(x, h - 1) | 0xff000000];
    }
    for (int y = 1; y + 1 < h; ++y) {
        ++counts[image.pixel(0, y) | 0xff000000];
        ++counts[image.pixel(w - 1, y) | 0xff000000];
    }
    QRgb best = 0xffffffff;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most || (it.value() == most && it.key() < best)) {
            most = it.value();
            best = it.key();
        }
    }
    return best;
}

} // namespace

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green())
        + 0.0722 * channel(colour.blue());
}

double contrast(double luminanceA, double luminanceB)
{
    const double light = std::max(luminanceA, luminanceB);
    const double dark = std::min(luminanceA, luminanceB);
    return (light + 0.05) / (dark + 0.05);
}

Measure measure(const QImage &source)
{
    Measure result;
    if (source.isNull())
        return result;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const QRgb back = borderColour(image);
    result.background = QColor(back);
    int left = image.width();
    int top = image.height();
    int right = -1;
    int bottom = -1;
    std::vector<double> lights;
    lights.reserve(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int difference = std::max({ std::abs(qRed(p) - qRed(back)),
                std::abs(qGreen(p) - qGreen(back)), std::abs(qBlue(p) - qBlue(back)) });
            if (difference <= kTolerance)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            lights.push_back(luminance(QColor(p)));
        }
    }
    if (lights.empty())
        return result;
    result.span = std::max(
        double(right - left + 1) / image.width(), double(bottom - top + 1) / image.height());
    result.coverage = double(lights.size()) / (double(image.width()) * image.height());
    const auto middle = lights.begin() + lights.size() / 2;
    std::nth_element(lights.begin(), middle, lights.end());
    result.contrast = contrast(*middle, luminance(result.background));
    return result;
}

bool acceptable(const QImage &image, QString *problem)
{
    const Measure m = measure(image);
    if (m.coverage <= 0) {
        *problem = QStringLiteral("nothing stands out from the background");
        return false;
    }
    if (m.span < kMinSpan) {
        *problem = QStringLiteral("the object spans %1 % of the picture (at least %2 %)")
                       .arg(qRound(m.span * 100))
                       .arg(qRound(kMinSpan * 100));
        return false;
    }
    if (m.contrast < kMinContrast) {
        *problem = QStringLiteral("the object's contrast is %1:1 (at least %2:1)")
                       .arg(m.contrast, 0, 'f', 1)
                       .arg(kMinContrast, 0, 'f', 0);
        return false;
    }
    return true;
}

} // namespace PictureCheck
