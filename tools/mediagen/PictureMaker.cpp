#include "PictureMaker.h"

#include "Drawings.h"
#include "Mascot.h"
#include "PictureCheck.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>
#include <functional>

const QSize PictureMaker::kObjectSize(300, 300);
const QSize PictureMaker::kFrameSize(560, 470);
const QSize PictureMaker::kCellDotSize(110, 110);
const QSize PictureMaker::kPerkinsKeySize(54, 150);
const QSize PictureMaker::kPerkinsSpaceKeySize(96, 150);
const QSize PictureMaker::kMascotSize(100, 100);
const QSize PictureMaker::kCreditsSize(640, 480);

namespace {

const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kPanel(0xe3, 0xf0, 0xff);
const QColor kPanelEdge(0x1f, 0x4e, 0x9c);
const QColor kHighlight(0xff, 0xd4, 0x00);
const QColor kPressed(0x0b, 0x1f, 0x66);
// The two backgrounds of object pictures: pale objects go on the dark one.
const QColor kLightBackground(0xff, 0xfb, 0xeb);
const QColor kDarkBackground(0x14, 0x21, 0x3d);
// The share of the picture's side an object's longer side is drawn to.
const double kObjectFill = 0.86;
// Room for six lines of a frame's words, leaving the scene at least 96 pixels.
const double kMostCaptionHeight = 310;

QFont emojiFont(double pixelSize)
{
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    return font;
}

QFont textFont(double pixelSize, bool bold = true)
{
    return PictureMaker::letteringFont(pixelSize, bold);
}

QImage blank(const QSize &size, const QColor &colour = Qt::white)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A rounded panel with a strong edge: light objects stay visible on it and
// the picture reads as one thing for a child with low vision.
void drawPanel(QPainter &painter, const QRectF &area, const QColor &fill)
{
    painter.setPen(QPen(kPanelEdge, 6));
    painter.setBrush(fill);
    painter.drawRoundedRect(area.adjusted(4, 4, -4, -4), 24, 24);
}

void drawEmoji(QPainter &painter, const QRectF &cell, const QString &emoji, double size)
{
    painter.setFont(emojiFont(size));
    painter.setPen(kInk);
    painter.drawText(cell, Qt::AlignCenter, emoji);
}

// --- Objects scaled to their picture ----------------------------------------

// Paints one object into the square it is given.
using Paint = std::function<void(QPainter &, const QRectF &)>;

Paint emojiPaint(const QString &emoji)
{
    return [emoji](QPainter &painter, const QRectF &box) {
        drawEmoji(painter, box, emoji, box.height() * 0.8);
    };
}

Paint paintFor(const QString &source)
{
    if (source == QLatin1String("mofli"))
        return [](QPainter &painter, const QRectF &box) { Mascot::draw(painter, box); };
    if (source.startsWith(QLatin1String("draw:"))) {
        const Drawings::Drawing drawing = Drawings::find(source.mid(5));
        if (!drawing)
            return Paint();
        return [drawing](QPainter &painter, const QRectF &box) { drawing(painter, box); };
    }
    return emojiPaint(source);
}

// The object painted into a square of that side, on a transparent canvas
// with room around it for whatever reaches past the square.
QImage paintedLayer(const Paint &paint, double side)
{
    const int canvas = qCeil(side * 1.6) + 4;
    QImage layer(canvas, canvas, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double margin = (canvas - side) / 2;
    paint(painter, QRectF(margin, margin, side, side));
    return layer;
}

QRect opaqueBounds(const QImage &layer)
{
    int left = layer.width();
    int top = layer.height();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < layer.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            if (qAlpha(line[x]) > 24) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The object alone, painted afresh (not stretched) so that its longer side
// is `longest` pixels, whatever margins the glyph or drawing has.
QImage fittedObject(const Paint &paint, double longest)
{
    const double probe = 200;
    const QRect measured = opaqueBounds(paintedLayer(paint, probe));
    if (measured.isEmpty())
        return QImage();
    const double side = probe * longest / qMax(measured.width(), measured.height());
    const QImage layer = paintedLayer(paint, side);
    return layer.copy(opaqueBounds(layer));
}

// Objects go on the light background, those that stand out better from
// the dark one (a sheep, the moon, a pale green turtle) on that, measured as
// the generator's check measures: on the finished picture.
QImage onBestBackground(const std::function<void(QImage *)> &paintObjects)
{
    QImage light = blank(PictureMaker::kObjectSize, kLightBackground);
    paintObjects(&light);
    const double onLight = PictureCheck::measure(light).contrast;
    if (onLight >= 4)
        return light;
    QImage dark = blank(PictureMaker::kObjectSize, kDarkBackground);
    paintObjects(&dark);
    return PictureCheck::measure(dark).contrast > onLight ? dark : light;
}

void drawCentred(QPainter &painter, const QImage &object, const QPointF &centre)
{
    painter.drawImage(centre - QPointF(object.width() / 2.0, object.height() / 2.0), object);
}

// --- Picture types ---------------------------------------------------------

QImage objectPicture(const QString &source, QString *error)
{
    const Paint paint = paintFor(source);
    if (!paint) {
        *error = QStringLiteral("no drawing named \"%1\"").arg(source.mid(5));
        return QImage();
    }
    const QSize size = PictureMaker::kObjectSize;
    const QImage object = fittedObject(paint, qMin(size.width(), size.height()) * kObjectFill);
    if (object.isNull()) {
        *error = QStringLiteral("\"%1\" paints nothing").arg(source);
        return QImage();
    }
    return onBestBackground([&](QImage *image) {
        QPainter painter(image);
        drawCentred(painter, object, QRectF(QPointF(0, 0), size).center());
    });
}

// The emoji n times, laid out like the faces of a die or in even rows, so
// that the objects can be counted at a glance. Zero shows an empty box.
QImage countPicture(const QString &emoji, int count)
{
    const QSize size = PictureMaker::kObjectSize;
    const double side = qMin(size.width(), size.height());
    if (count <= 0) {
        QString unused;
        return objectPicture(QStringLiteral("draw:caja"), &unused);
    }
    // Positions on a grid of n x n cells, as on dice for up to six.
    struct Layout
    {
        int grid;
        QList<QPointF> spots;
    };
    static const QList<Layout> layouts = {
        { 1, { { 0, 0 } } },
        { 2, { { 0, 0.5 }, { 1, 0.5 } } },
        { 3, { { 0, 0 }, { 1, 1 }, { 2, 2 } } },
        { 2, { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } } },
        { 3, { { 0, 0 }, { 2, 0 }, { 1, 1 }, { 0, 2 }, { 2, 2 } } },
        { 3, { { 0.5, 0 }, { 1.5, 0 }, { 0.5, 1 }, { 1.5, 1 }, { 0.5, 2 }, { 1.5, 2 } } },
        { 3, { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 1, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } } },
        { 3,
            { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0.5, 1 }, { 1.5, 1 }, { 0, 2 }, { 1, 2 },
                { 2, 2 } } },
        { 3,
            { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 }, { 1, 1 }, { 2, 1 }, { 0, 2 }, { 1, 2 },
                { 2, 2 } } },
    };
    const Layout &layout = layouts.at(qMin(count, 9) - 1);
    const double inner = side * (layout.grid == 1 ? kObjectFill : 0.92);
    const double cell = inner / layout.grid;
    const QImage object = fittedObject(emojiPaint(emoji), layout.grid == 1 ? inner : cell * 0.9);
    const QPointF origin((size.width() - inner) / 2, (size.height() - inner) / 2);
    return onBestBackground([&](QImage *image) {
        QPainter painter(image);
        for (const QPointF &spot : layout.spots)
            drawCentred(painter, object,
                origin + QPointF((spot.x() + 0.5) * cell, (spot.y() + 0.5) * cell));
    });
}

// One frame of an illustrated text: the scene above, the words below in
// print large enough for a child with low vision who reads along.
QImage framePicture(
    const QString &scene, const QString &background, const QString &caption, QString *error)
{
    QImage image = blank(PictureMaker::kFrameSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), PictureMaker::kFrameSize);
    const QColor sky = background.isEmpty() ? kPanel : QColor(background);
    drawPanel(painter, area, sky);

    // Larger print while the scene keeps half the frame; long words take
    // more of it, but the print never gets smaller than the least.
    const double width = area.width() - 32 - 28;
    QFont font;
    QRectF needed;
    for (double px = PictureMaker::kCaptionPixels + 8; px >= PictureMaker::kCaptionPixels;
         px -= 2) {
        font = textFont(px);
        needed = QFontMetricsF(font).boundingRect(
            QRectF(0, 0, width, 1000), Qt::AlignCenter | Qt::TextWordWrap, caption);
        if (needed.height() <= area.height() / 2 - 40)
            break;
    }
    const double bandHeight = needed.height() + 20;
    const QRectF band(16, area.height() - 16 - bandHeight, area.width() - 32, bandHeight);
    const QRectF stage(24, 20, area.width() - 48, band.top() - 28);
    if (needed.height() > kMostCaptionHeight || needed.width() > width + 0.5
        || stage.height() < 96) {
        *error = QStringLiteral("the text is too long for a frame in large print");
        return QImage();
    }

    const QStringList items = scene.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const double slot = items.isEmpty() ? 0 : stage.width() / items.size();
    for (int i = 0; i < items.size(); ++i) {
        const Paint paint = paintFor(items.at(i));
        if (!paint) {
            *error = QStringLiteral("no drawing named \"%1\"").arg(items.at(i).mid(5));
            return QImage();
        }
        const QImage object = fittedObject(paint, qMin(slot, stage.height()) * 0.88);
        drawCentred(painter, object, QPointF(stage.left() + (i + 0.5) * slot, stage.center().y()));
    }

    painter.setPen(QPen(kPanelEdge, 3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(band, 14, 14);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(band.adjusted(14, 0, -14, 0), Qt::AlignCenter | Qt::TextWordWrap, caption);
    return image;
}

// A braille cell dot: a hollow ring with a dark edge when flat, a large
// black disc with a yellow rim when raised, so the two are told apart even
// at a glance.
QImage dotPicture(int dot, bool raised)
{
    QImage image = blank(PictureMaker::kCellDotSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(image.width() / 2.0, image.height() / 2.0);
    if (raised) {
        painter.setPen(QPen(kHighlight, 8));
        painter.setBrush(kInk);
        painter.drawEllipse(centre, 48, 48);
    } else {
        painter.setPen(QPen(QColor(0x5c, 0x5c, 0x5c), 7));
        painter.setBrush(Qt::white);
        painter.drawEllipse(centre, 38, 38);
    }
    painter.setFont(textFont(raised ? 40 : 30));
    painter.setPen(raised ? kHighlight : QColor(0x5c, 0x5c, 0x5c));
    painter.drawText(
        QRectF(QPointF(0, 0), QSizeF(image.size())), Qt::AlignCenter, QString::number(dot));
    return image;
}

// A Perkins key: keys 1-3 and 5-7 write dots 3, 2, 1 and 4, 5, 6; key 4
// in the middle is the space key. Pressed keys sink and turn dark blue.
QImage keyPicture(int key, bool pressed)
{
    const QSize size
        = key == 4 ? PictureMaker::kPerkinsSpaceKeySize : PictureMaker::kPerkinsKeySize;
    QImage image = blank(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double travel = pressed ? 14 : 0;
    const QRectF face(4, 4 + travel, size.width() - 8, size.height() - 22);
    if (!pressed) {
        // The key's side, seen below its top face.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x6e, 0x6e, 0x6e));
        painter.drawRoundedRect(face.translated(0, 14), 12, 12);
    }
    painter.setPen(QPen(pressed ? kHighlight : QColor(0x40, 0x40, 0x40), pressed ? 6 : 5));
    painter.setBrush(pressed ? kPressed : QColor(0xe0, 0xe0, 0xe0));
    painter.drawRoundedRect(face, 12, 12);

    static const int dots[] = { 0, 3, 2, 1, 0, 4, 5, 6, 0 };
    painter.setPen(QPen(pressed ? kHighlight : kInk, 5, Qt::SolidLine, Qt::RoundCap));
    if (key == 4) {
        const double y = face.top() + 40;
        painter.drawLine(QPointF(face.left() + 16, y - 8), QPointF(face.left() + 16, y));
        painter.drawLine(QPointF(face.left() + 16, y), QPointF(face.right() - 16, y));
        painter.drawLine(QPointF(face.right() - 16, y), QPointF(face.right() - 16, y - 8));
    } else {
        painter.setFont(textFont(34));
        painter.drawText(QRectF(face.left(), face.top() + 10, face.width(), 50), Qt::AlignCenter,
            QString::number(dots[key]));
    }
    return image;
}

QImage mascotPicture(int which)
{
    QImage image = blank(PictureMaker::kMascotSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    Mascot::Pose pose;
    pose.wave = which == 1 ? 130 : 40;
    Mascot::draw(painter, QRectF(0, 4, 80, 80), pose);
    // What Mofli holds tells the activity: 1 letters, 2 writing, 3 texts, 4 braille.
    const QRectF prop(56, 50, 42, 42);
    switch (which) {
    case 1:
        painter.setPen(QPen(kPanelEdge, 2));
        painter.setBrush(kHighlight);
        painter.drawRoundedRect(prop, 6, 6);
        painter.setFont(textFont(28));
        painter.setPen(kInk);
        painter.drawText(prop, Qt::AlignCenter, QStringLiteral("A"));
        break;
    case 2:
        drawEmoji(painter, prop, QStringLiteral("✏️"), 32);
        break;
    case 3:
        drawEmoji(painter, prop, QStringLiteral("📖"), 32);
        break;
    case 4:
        painter.setPen(QPen(kPanelEdge, 2));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(prop, 6, 6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        // The letter "b": dots 1 and 2 raised.
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 2; ++column) {
                const bool raised = column == 0 && row < 2;
                painter.setBrush(raised ? kInk : QColor(0xcc, 0xcc, 0xcc));
                painter.drawEllipse(
                    QPointF(prop.left() + 14 + column * 14, prop.top() + 8 + row * 13), 5, 5);
            }
        }
        break;
    default:
        break;
    }
    return image;
}

// The title, then the lines in the largest print that fits inside the panel.
QImage creditsPicture(const QStringList &lines, QString *error)
{
    QImage image = blank(PictureMaker::kCreditsSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), PictureMaker::kCreditsSize);
    drawPanel(painter, area, QColor(0x00, 0x44, 0xe3));
    Mascot::draw(painter, QRectF(area.right() - 150, 22, 120, 120));
    painter.setPen(Qt::white);
    painter.setFont(textFont(56));
    painter.drawText(QRectF(34, 36, 400, 84), Qt::AlignLeft | Qt::AlignVCenter, lines.value(0));
    const QRectF body(34, 156, area.width() - 68, area.height() - 156 - 26);
    // Unwrapped lines in the largest print that fits; wrapped ones only
    // when no print of at least 16 pixels keeps every line whole.
    for (const bool wrap : { false, true }) {
        for (int px = 24; px >= 16; --px) {
            const QFont font = textFont(px, false);
            const QFontMetricsF metrics(font);
            QList<QRectF> boxes;
            double height = 0;
            bool whole = true;
            for (int i = 1; i < lines.size(); ++i) {
                const QString line = lines.at(i).isEmpty() ? QStringLiteral(" ") : lines.at(i);
                const QRectF box = metrics.boundingRect(
                    QRectF(0, 0, body.width(), 1000), Qt::AlignLeft | Qt::TextWordWrap, line);
                whole = whole && box.height() < metrics.lineSpacing() * 1.5;
                boxes.append(box);
                height += box.height();
            }
            if (height > body.height() || (!wrap && !whole))
                continue;
            painter.setFont(font);
            double y = body.top();
            for (int i = 1; i < lines.size(); ++i) {
                const QRectF box = boxes.at(i - 1);
                painter.drawText(QRectF(body.left(), y, body.width(), box.height()),
                    Qt::AlignLeft | Qt::TextWordWrap, lines.at(i));
                y += box.height();
            }
            return image;
        }
    }
    *error = QStringLiteral("the credits are too long for their picture");
    return QImage();
}

} // namespace

bool PictureMaker::hasDrawing(const QString &name)
{
    return Drawings::find(name) != nullptr;
}

QFont PictureMaker::letteringFont(double pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    // Any letter spacing turns the font's ligatures off, so that "fi" keeps
    // the dot of its i for the child who is learning to read.
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    return font;
}

bool PictureMaker::emojiAvailable(const QString &text, QString *missing)
{
    static const QRawFont font = QRawFont::fromFont(emojiFont(109));
    for (const uint ucs4 : text.toUcs4()) {
        // Joiners and presentation selectors shape the glyph; they need none of their own.
        if (ucs4 == 0x200d || ucs4 == 0xfe0f || ucs4 == 0xfe0e || ucs4 == ' ')
            continue;
        if (!font.supportsCharacter(ucs4)) {
            *missing = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs4), 1);
            return false;
        }
    }
    return true;
}

QImage PictureMaker::render(const QStringList &params, QString *error)
{
    const QString type = params.value(0);
    if (type == QLatin1String("object") && params.size() == 2)
        return objectPicture(params.at(1), error);
    if (type == QLatin1String("count") && params.size() == 3)
        return countPicture(params.at(1), params.at(2).toInt());
    if (type == QLatin1String("frame") && params.size() == 4)
        return framePicture(params.at(1), params.at(2), params.at(3), error);
    if (type == QLatin1String("dot") && params.size() == 3)
        return dotPicture(params.at(1).toInt(), params.at(2) == QLatin1String("1"));
    if (type == QLatin1String("key") && params.size() == 3)
        return keyPicture(params.at(1).toInt(), params.at(2) == QLatin1String("1"));
    if (type == QLatin1String("mascot") && params.size() == 2)
        return mascotPicture(params.at(1).toInt());
    if (type == QLatin1String("credits"))
        return creditsPicture(params.mid(1), error);
    *error = QStringLiteral("unknown picture: %1").arg(params.join(QLatin1Char(' ')));
    return QImage();
}

bool PictureMaker::make(const QStringList &params, const QString &target, QString *error)
{
    const QImage image = render(params, error);
    if (image.isNull())
        return false;
    // Word pictures are what a child with low vision must make out.
    const QString type = params.value(0);
    if ((type == QLatin1String("object") || type == QLatin1String("count"))
        && !PictureCheck::acceptable(image, error))
        return false;
    QImageWriter writer(target, "jpeg");
    writer.setQuality(92);
    if (!writer.write(image)) {
        *error = QStringLiteral("cannot write %1: %2").arg(target, writer.errorString());
        return false;
    }
    return true;
}
