#include "PictureMaker.h"

#include "Mascot.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QtMath>

const QSize PictureMaker::kObjectSize(300, 300);
const QSize PictureMaker::kFrameSize(520, 390);
const QSize PictureMaker::kCellDotSize(110, 110);
const QSize PictureMaker::kPerkinsKeySize(54, 150);
const QSize PictureMaker::kPerkinsSpaceKeySize(96, 150);
const QSize PictureMaker::kMascotSize(100, 100);
const QSize PictureMaker::kCreditsSize(480, 360);

namespace {

const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kPanel(0xe3, 0xf0, 0xff);
const QColor kPanelEdge(0x1f, 0x4e, 0x9c);
const QColor kHighlight(0xff, 0xd4, 0x00);
const QColor kPressed(0x0b, 0x1f, 0x66);

QFont emojiFont(double pixelSize)
{
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    return font;
}

QFont textFont(double pixelSize, bool bold = true)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    return font;
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

// --- Drawings for objects without an emoji ---------------------------------

void drawXilofono(QPainter &painter, const QRectF &area)
{
    const QColor bars[] = { QColor(0xe5, 0x39, 0x35), QColor(0xfb, 0x8c, 0x00),
        QColor(0xfd, 0xd8, 0x35), QColor(0x43, 0xa0, 0x47), QColor(0x1e, 0x88, 0xe5),
        QColor(0x5e, 0x35, 0xb1), QColor(0xd8, 0x1b, 0x60) };
    const double left = area.left() + area.width() * 0.14;
    const double width = area.width() * 0.72;
    const double barWidth = width / 7;
    // The frame the bars rest on.
    painter.setPen(QPen(QColor(0x5d, 0x40, 0x37), 8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(left, area.top() + area.height() * 0.30),
        QPointF(left + width, area.top() + area.height() * 0.40));
    painter.drawLine(QPointF(left, area.top() + area.height() * 0.76),
        QPointF(left + width, area.top() + area.height() * 0.66));
    for (int i = 0; i < 7; ++i) {
        const double shrink = i * area.height() * 0.025;
        QRectF bar(left + i * barWidth + 3, area.top() + area.height() * 0.24 + shrink,
            barWidth - 6, area.height() * 0.58 - 2 * shrink);
        painter.setPen(QPen(kInk, 3));
        painter.setBrush(bars[i]);
        painter.drawRoundedRect(bar, 5, 5);
        painter.setBrush(QColor(0xee, 0xee, 0xee));
        painter.drawEllipse(QPointF(bar.center().x(), bar.top() + 10), 3, 3);
        painter.drawEllipse(QPointF(bar.center().x(), bar.bottom() - 10), 3, 3);
    }
    // Two mallets.
    for (int i = 0; i < 2; ++i) {
        const QPointF tip(
            area.left() + area.width() * (0.40 + 0.22 * i), area.top() + area.height() * 0.14);
        const QPointF end = tip + QPointF(area.width() * (0.10 + 0.06 * i), -area.height() * 0.02);
        painter.setPen(QPen(QColor(0x8d, 0x6e, 0x63), 6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(tip, end + QPointF(area.width() * 0.12, area.height() * 0.06));
        painter.setPen(QPen(kInk, 2));
        painter.setBrush(QColor(0xc6, 0x28, 0x28));
        painter.drawEllipse(tip, 11, 11);
    }
}

void drawZampona(QPainter &painter, const QRectF &area)
{
    const int tubes = 8;
    const double left = area.left() + area.width() * 0.16;
    const double width = area.width() * 0.68;
    const double tubeWidth = width / tubes;
    for (int i = 0; i < tubes; ++i) {
        const double height = area.height() * (0.72 - i * 0.055);
        QRectF tube(
            left + i * tubeWidth + 2, area.top() + area.height() * 0.14, tubeWidth - 4, height);
        QLinearGradient cane(tube.topLeft(), tube.topRight());
        cane.setColorAt(0, QColor(0xc8, 0x9b, 0x4e));
        cane.setColorAt(0.5, QColor(0xf3, 0xd0, 0x8a));
        cane.setColorAt(1, QColor(0xb0, 0x80, 0x3a));
        painter.setPen(QPen(QColor(0x5d, 0x40, 0x37), 3));
        painter.setBrush(cane);
        painter.drawRoundedRect(tube, 6, 6);
        painter.setBrush(QColor(0x3e, 0x27, 0x23));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(tube.center().x(), tube.top() + 7), tubeWidth * 0.28, 4);
    }
    // The woven band that ties the canes.
    const QRectF band(left - 4, area.top() + area.height() * 0.30, width + 8, area.height() * 0.09);
    painter.setPen(QPen(kInk, 2));
    painter.setBrush(QColor(0xd3, 0x2f, 0x2f));
    painter.drawRect(band);
    painter.setPen(QPen(QColor(0xfd, 0xd8, 0x35), 3, Qt::DashLine));
    painter.drawLine(
        QPointF(band.left(), band.center().y()), QPointF(band.right(), band.center().y()));
}

void drawNandu(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor feathers(0x9e, 0x8c, 0x78);
    const QColor dark(0x4e, 0x40, 0x35);
    // Legs.
    painter.setPen(QPen(QColor(0x8d, 0x6e, 0x63), 7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(p(0.45, 0.62), p(0.42, 0.88));
    painter.drawLine(p(0.58, 0.62), p(0.62, 0.88));
    painter.drawLine(p(0.42, 0.88), p(0.35, 0.90));
    painter.drawLine(p(0.62, 0.88), p(0.69, 0.90));
    // Neck.
    QPainterPath neck;
    neck.moveTo(p(0.34, 0.45));
    neck.cubicTo(p(0.30, 0.30), p(0.30, 0.22), p(0.30, 0.16));
    painter.setPen(QPen(feathers.darker(110), 14, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(neck);
    // Body.
    painter.setPen(QPen(dark, 3));
    painter.setBrush(feathers);
    painter.drawEllipse(QRectF(p(0.28, 0.36), p(0.80, 0.66)));
    painter.setPen(QPen(dark, 2));
    for (int i = 0; i < 4; ++i)
        painter.drawArc(
            QRectF(p(0.46 + i * 0.06, 0.40), p(0.60 + i * 0.06, 0.56)), 200 * 16, 100 * 16);
    // Head, eye and beak.
    painter.setPen(QPen(dark, 3));
    painter.setBrush(feathers.lighter(110));
    painter.drawEllipse(QRectF(p(0.24, 0.10), p(0.36, 0.20)));
    painter.setBrush(kInk);
    painter.drawEllipse(p(0.28, 0.145), 3, 3);
    QPainterPath beak;
    beak.moveTo(p(0.25, 0.13));
    beak.lineTo(p(0.15, 0.16));
    beak.lineTo(p(0.25, 0.18));
    beak.closeSubpath();
    painter.setBrush(QColor(0xf9, 0xa8, 0x25));
    painter.drawPath(beak);
}

void drawLaud(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor wood(0xb5, 0x6a, 0x2a);
    const QColor dark(0x4e, 0x2a, 0x10);
    painter.save();
    painter.translate(area.center());
    painter.rotate(-35);
    painter.translate(-area.center());
    // Neck and the bent-back peg box.
    painter.setPen(QPen(dark, 3));
    painter.setBrush(QColor(0x6d, 0x3b, 0x16));
    painter.drawRect(QRectF(p(0.46, 0.10), p(0.54, 0.48)));
    QPainterPath pegs;
    pegs.moveTo(p(0.46, 0.10));
    pegs.lineTo(p(0.40, 0.02));
    pegs.lineTo(p(0.48, 0.02));
    pegs.lineTo(p(0.54, 0.10));
    pegs.closeSubpath();
    painter.drawPath(pegs);
    // Pear-shaped body.
    QPainterPath body;
    body.moveTo(p(0.50, 0.40));
    body.cubicTo(p(0.78, 0.42), p(0.82, 0.90), p(0.50, 0.92));
    body.cubicTo(p(0.18, 0.90), p(0.22, 0.42), p(0.50, 0.40));
    QLinearGradient grain(p(0.2, 0.5), p(0.8, 0.5));
    grain.setColorAt(0, wood.darker(120));
    grain.setColorAt(0.5, wood.lighter(130));
    grain.setColorAt(1, wood.darker(120));
    painter.setBrush(grain);
    painter.drawPath(body);
    // Rosette, bridge and strings.
    painter.setBrush(QColor(0x3e, 0x27, 0x23));
    painter.drawEllipse(p(0.50, 0.60), area.width() * 0.07, area.width() * 0.07);
    painter.drawRect(QRectF(p(0.42, 0.80), p(0.58, 0.83)));
    painter.setPen(QPen(QColor(0xf5, 0xf5, 0xf5), 1.5));
    for (int i = 0; i < 4; ++i) {
        const double x = 0.475 + i * 0.0167;
        painter.drawLine(p(x, 0.10), p(x, 0.81));
    }
    painter.restore();
}

using Drawing = void (*)(QPainter &, const QRectF &);

Drawing drawingFor(const QString &name)
{
    if (name == QLatin1String("xilofono"))
        return drawXilofono;
    if (name == QLatin1String("zampona"))
        return drawZampona;
    if (name == QLatin1String("nandu"))
        return drawNandu;
    if (name == QLatin1String("laud"))
        return drawLaud;
    return nullptr;
}

// --- Picture types ---------------------------------------------------------

QImage objectPicture(const QString &source, QString *error)
{
    QImage image = blank(PictureMaker::kObjectSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF area(QPointF(0, 0), PictureMaker::kObjectSize);
    drawPanel(painter, area, kPanel);
    const QRectF inner = area.adjusted(24, 24, -24, -24);
    if (source.startsWith(QLatin1String("draw:"))) {
        const Drawing drawing = drawingFor(source.mid(5));
        if (!drawing) {
            *error = QStringLiteral("no drawing named \"%1\"").arg(source.mid(5));
            return QImage();
        }
        drawing(painter, inner);
    } else {
        // Two emoji side by side (a pair of objects) need a smaller size.
        int glyphs = 0;
        for (const uint ucs4 : source.toUcs4())
            glyphs += ucs4 >= 0x1f000 ? 1 : 0;
        drawEmoji(painter, inner, source, glyphs > 1 ? 110 : 190);
    }
    return image;
}

// The emoji n times, laid out like the faces of a die or in even rows, so
// that the objects can be counted at a glance. Zero shows an empty tray.
QImage countPicture(const QString &emoji, int count)
{
    QImage image = blank(PictureMaker::kObjectSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), PictureMaker::kObjectSize);
    drawPanel(painter, area, kPanel);
    if (count <= 0) {
        painter.setPen(QPen(kPanelEdge, 5, Qt::DashLine));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(area.adjusted(60, 90, -60, -90), 18, 18);
        return image;
    }
    // Positions on a 3 x 3 grid (0..2), as on dice for up to six.
    static const QList<QList<QPointF>> layouts = {
        { { 1, 1 } },
        { { 0.5, 1 }, { 1.5, 1 } },
        { { 0, 0 }, { 1, 1 }, { 2, 2 } },
        { { 0.5, 0.5 }, { 1.5, 0.5 }, { 0.5, 1.5 }, { 1.5, 1.5 } },
        { { 0, 0 }, { 2, 0 }, { 1, 1 }, { 0, 2 }, { 2, 2 } },
        { { 0.5, 0 }, { 1.5, 0 }, { 0.5, 1 }, { 1.5, 1 }, { 0.5, 2 }, { 1.5, 2 } },
        { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 1, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } },
        { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0.5, 1 }, { 1.5, 1 }, { 0, 2 }, { 1, 2 }, { 2, 2 } },
        { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 0, 1 }, { 1, 1 }, { 2, 1 }, { 0, 2 }, { 1, 2 },
            { 2, 2 } },
    };
    const QList<QPointF> &layout = layouts.at(qMin(count, 9) - 1);
    const QRectF inner = area.adjusted(24, 24, -24, -24);
    const double cell = inner.width() / 3;
    const double size = count == 1 ? 170
        : count == 2               ? 110
        : count <= 4               ? 84
        : count <= 6               ? 74
                                   : 66;
    for (const QPointF &spot : layout) {
        const QPointF centre
            = inner.topLeft() + QPointF((spot.x() + 0.5) * cell, (spot.y() + 0.5) * cell);
        const double box = count == 1 ? inner.width() : cell * 1.2;
        drawEmoji(
            painter, QRectF(centre - QPointF(box / 2, box / 2), QSizeF(box, box)), emoji, size);
    }
    return image;
}

// One frame of an illustrated text: the scene above, the words below in
// large print, for the child who reads along.
QImage framePicture(const QString &scene, const QString &background, const QString &caption)
{
    QImage image = blank(PictureMaker::kFrameSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), PictureMaker::kFrameSize);
    const QColor sky = background.isEmpty() ? kPanel : QColor(background);
    drawPanel(painter, area, sky);

    const QStringList items = scene.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QRectF stage(24, 20, area.width() - 48, 230);
    if (!items.isEmpty()) {
        const double size = items.size() == 1 ? 170
            : items.size() == 2               ? 140
            : items.size() == 3               ? 110
                                              : 84;
        const double slot = stage.width() / items.size();
        for (int i = 0; i < items.size(); ++i)
            drawEmoji(painter, QRectF(stage.left() + i * slot, stage.top(), slot, stage.height()),
                items.at(i), size);
    }

    const QRectF band(16, 262, area.width() - 32, area.height() - 278);
    painter.setPen(QPen(kPanelEdge, 3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(band, 14, 14);
    const QRectF text = band.adjusted(14, 8, -14, -8);
    // Largest print that still fits the band.
    for (int px = 30; px >= 14; px -= 2) {
        const QFont font = textFont(px);
        const QRectF needed
            = QFontMetricsF(font).boundingRect(text, Qt::AlignCenter | Qt::TextWordWrap, caption);
        if (needed.height() <= text.height() || px == 14) {
            painter.setFont(font);
            break;
        }
    }
    painter.setPen(kInk);
    painter.drawText(text, Qt::AlignCenter | Qt::TextWordWrap, caption);
    return image;
}

// A braille cell dot: a pale hollow ring when flat, a large black disc with
// a yellow rim when raised, so the two are told apart even at a glance.
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
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 5));
        painter.setBrush(QColor(0xf2, 0xf2, 0xf2));
        painter.drawEllipse(centre, 38, 38);
    }
    painter.setFont(textFont(raised ? 40 : 30));
    painter.setPen(raised ? kHighlight : QColor(0x70, 0x70, 0x70));
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
        painter.setBrush(QColor(0x9e, 0x9e, 0x9e));
        painter.drawRoundedRect(face.translated(0, 14), 12, 12);
    }
    painter.setPen(QPen(pressed ? kHighlight : QColor(0x40, 0x40, 0x40), pressed ? 6 : 4));
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

QImage creditsPicture(const QStringList &lines)
{
    QImage image = blank(PictureMaker::kCreditsSize);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), PictureMaker::kCreditsSize);
    drawPanel(painter, area, QColor(0x00, 0x44, 0xe3));
    Mascot::draw(painter, QRectF(area.right() - 130, 22, 100, 100));
    painter.setPen(Qt::white);
    painter.setFont(textFont(46));
    painter.drawText(QRectF(30, 30, 300, 70), Qt::AlignLeft | Qt::AlignVCenter, lines.value(0));
    painter.setFont(textFont(17, false));
    double y = 130;
    for (int i = 1; i < lines.size(); ++i) {
        painter.drawText(
            QRectF(30, y, area.width() - 60, 26), Qt::AlignLeft | Qt::AlignVCenter, lines.at(i));
        y += 26;
    }
    return image;
}

} // namespace

bool PictureMaker::hasDrawing(const QString &name)
{
    return drawingFor(name) != nullptr;
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
        return framePicture(params.at(1), params.at(2), params.at(3));
    if (type == QLatin1String("dot") && params.size() == 3)
        return dotPicture(params.at(1).toInt(), params.at(2) == QLatin1String("1"));
    if (type == QLatin1String("key") && params.size() == 3)
        return keyPicture(params.at(1).toInt(), params.at(2) == QLatin1String("1"));
    if (type == QLatin1String("mascot") && params.size() == 2)
        return mascotPicture(params.at(1).toInt());
    if (type == QLatin1String("credits"))
        return creditsPicture(params.mid(1));
    *error = QStringLiteral("unknown picture: %1").arg(params.join(QLatin1Char(' ')));
    return QImage();
}

bool PictureMaker::make(const QStringList &params, const QString &target, QString *error)
{
    const QImage image = render(params, error);
    if (image.isNull())
        return false;
    QImageWriter writer(target, "jpeg");
    writer.setQuality(92);
    if (!writer.write(image)) {
        *error = QStringLiteral("cannot write %1: %2").arg(target, writer.errorString());
        return false;
    }
    return true;
}
