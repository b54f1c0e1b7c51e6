#include "Drawings.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kInk(0x1a, 0x1a, 0x1a);

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

// A green iguana: the crest along its back, the dewlap under its chin and
// the long banded tail tell it from a gecko.
void drawIguana(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor skin(0x2e, 0x7d, 0x32);
    const QColor dark(0x1b, 0x3d, 0x1c);
    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // Legs with splayed toes.
    for (const double x : { 0.26, 0.52 }) {
        painter.setBrush(skin);
        QPainterPath leg;
        leg.moveTo(p(x, 0.56));
        leg.lineTo(p(x - 0.05, 0.70));
        leg.lineTo(p(x - 0.10, 0.72));
        leg.lineTo(p(x + 0.02, 0.72));
        leg.lineTo(p(x + 0.06, 0.56));
        leg.closeSubpath();
        painter.drawPath(leg);
    }
    // The tail, tapering to a point, with dark bands.
    QPainterPath tail;
    tail.moveTo(p(0.58, 0.46));
    tail.cubicTo(p(0.80, 0.44), p(0.98, 0.56), p(0.96, 0.80));
    tail.cubicTo(p(0.92, 0.62), p(0.78, 0.58), p(0.60, 0.60));
    tail.closeSubpath();
    painter.setBrush(skin);
    painter.drawPath(tail);
    painter.setPen(QPen(dark, 5));
    for (const double t : { 0.70, 0.80, 0.89 })
        painter.drawLine(p(t, 0.47 + (t - 0.6) * 0.25), p(t - 0.01, 0.59 + (t - 0.6) * 0.2));
    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // The crest of spines from the neck to the tail.
    QPainterPath crest;
    crest.moveTo(p(0.14, 0.36));
    for (int i = 0; i < 9; ++i) {
        const double x = 0.14 + i * 0.05;
        crest.lineTo(p(x + 0.025, 0.26 + (i > 4 ? (i - 4) * 0.015 : 0)));
        crest.lineTo(p(x + 0.05, 0.37 + (i > 4 ? (i - 4) * 0.01 : 0)));
    }
    crest.closeSubpath();
    painter.setBrush(QColor(0x55, 0x8b, 0x2f));
    painter.drawPath(crest);
    // Body.
    painter.setBrush(skin);
    painter.drawEllipse(QRectF(p(0.14, 0.34), p(0.66, 0.60)));
    // Head with the round dewlap hanging below it.
    painter.setBrush(QColor(0x9e, 0x9d, 0x24));
    painter.drawEllipse(QRectF(p(0.08, 0.42), p(0.22, 0.62)));
    painter.setBrush(skin);
    QPainterPath head;
    head.moveTo(p(0.20, 0.36));
    head.cubicTo(p(0.10, 0.30), p(0.02, 0.36), p(0.02, 0.44));
    head.cubicTo(p(0.04, 0.50), p(0.14, 0.52), p(0.22, 0.50));
    head.closeSubpath();
    painter.drawPath(head);
    painter.setBrush(QColor(0xff, 0xd5, 0x4f));
    painter.drawEllipse(p(0.10, 0.40), area.width() * 0.025, area.width() * 0.025);
    painter.setBrush(kInk);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(p(0.10, 0.40), area.width() * 0.012, area.width() * 0.012);
}

// A xoloitzcuintle: a slender hairless dog, dark grey, with tall bat ears
// and a thin tail.
void drawXolo(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor skin(0x45, 0x4f, 0x5a);
    const QColor dark(0x1c, 0x22, 0x28);
    const double unit = area.width();
    // Tail and long legs.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(skin, unit * 0.03, Qt::SolidLine, Qt::RoundCap));
    QPainterPath tail;
    tail.moveTo(p(0.22, 0.44));
    tail.cubicTo(p(0.10, 0.44), p(0.06, 0.36), p(0.04, 0.24));
    painter.drawPath(tail);
    painter.setPen(QPen(skin, unit * 0.055, Qt::SolidLine, Qt::RoundCap));
    for (const auto &leg :
        { QLineF(p(0.28, 0.56), p(0.25, 0.90)), QLineF(p(0.36, 0.56), p(0.38, 0.90)),
            QLineF(p(0.62, 0.56), p(0.60, 0.90)), QLineF(p(0.70, 0.54), p(0.74, 0.90)) })
        painter.drawLine(leg);
    // Body and neck.
    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(skin);
    QPainterPath body;
    body.moveTo(p(0.22, 0.44));
    body.cubicTo(p(0.30, 0.38), p(0.56, 0.40), p(0.66, 0.38));
    body.lineTo(p(0.74, 0.22));
    body.lineTo(p(0.84, 0.26));
    body.cubicTo(p(0.80, 0.40), p(0.78, 0.52), p(0.72, 0.58));
    body.cubicTo(p(0.58, 0.62), p(0.44, 0.56), p(0.24, 0.60));
    body.cubicTo(p(0.18, 0.56), p(0.18, 0.48), p(0.22, 0.44));
    painter.drawPath(body);
    // Head, long snout, tall ears.
    QPainterPath ears;
    ears.moveTo(p(0.72, 0.20));
    ears.lineTo(p(0.70, 0.02));
    ears.lineTo(p(0.80, 0.16));
    ears.moveTo(p(0.79, 0.17));
    ears.lineTo(p(0.84, 0.01));
    ears.lineTo(p(0.88, 0.19));
    painter.drawPath(ears);
    painter.setBrush(QColor(0xd8, 0x8a, 0x8a));
    painter.setPen(Qt::NoPen);
    QPainterPath inner;
    inner.moveTo(p(0.735, 0.17));
    inner.lineTo(p(0.72, 0.07));
    inner.lineTo(p(0.775, 0.15));
    inner.moveTo(p(0.81, 0.16));
    inner.lineTo(p(0.84, 0.07));
    inner.lineTo(p(0.86, 0.17));
    painter.drawPath(inner);
    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(skin);
    QPainterPath head;
    head.moveTo(p(0.70, 0.22));
    head.cubicTo(p(0.76, 0.14), p(0.88, 0.14), p(0.90, 0.22));
    head.lineTo(p(0.99, 0.30));
    head.cubicTo(p(0.98, 0.34), p(0.90, 0.34), p(0.80, 0.34));
    head.cubicTo(p(0.74, 0.34), p(0.70, 0.30), p(0.70, 0.22));
    painter.drawPath(head);
    painter.setBrush(kInk);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(p(0.985, 0.305), unit * 0.018, unit * 0.015);
    painter.setBrush(QColor(0xff, 0xe0, 0x82));
    painter.drawEllipse(p(0.83, 0.225), unit * 0.02, unit * 0.02);
    painter.setBrush(kInk);
    painter.drawEllipse(p(0.835, 0.225), unit * 0.01, unit * 0.01);
    // The tuft of hair on its head, its only hair.
    painter.setPen(QPen(QColor(0xbd, 0xbd, 0xbd), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        painter.drawLine(p(0.78 + i * 0.02, 0.17), p(0.77 + i * 0.025, 0.12));
}

// A wildebeest: slender legs, a long face with a beard, horns curving out
// and up, and a black mane; not the heavy hump of a bison.
void drawNu(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor coat(0x6d, 0x67, 0x60);
    const QColor dark(0x26, 0x22, 0x1f);
    const double unit = area.width();
    painter.setPen(QPen(coat.darker(130), unit * 0.045, Qt::SolidLine, Qt::RoundCap));
    for (const auto &leg :
        { QLineF(p(0.30, 0.58), p(0.28, 0.92)), QLineF(p(0.38, 0.58), p(0.40, 0.92)),
            QLineF(p(0.70, 0.58), p(0.68, 0.92)), QLineF(p(0.78, 0.56), p(0.80, 0.92)) })
        painter.drawLine(leg);
    // Tail with its black tassel.
    painter.setPen(QPen(coat, unit * 0.02, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(p(0.86, 0.40), p(0.93, 0.60));
    painter.setPen(QPen(dark, unit * 0.04, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(p(0.92, 0.58), p(0.95, 0.70));
    // Body, higher at the shoulders.
    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(coat);
    QPainterPath body;
    body.moveTo(p(0.26, 0.34));
    body.cubicTo(p(0.40, 0.26), p(0.60, 0.36), p(0.86, 0.38));
    body.cubicTo(p(0.90, 0.46), p(0.86, 0.58), p(0.78, 0.60));
    body.cubicTo(p(0.60, 0.64), p(0.40, 0.62), p(0.28, 0.60));
    body.cubicTo(p(0.22, 0.52), p(0.22, 0.40), p(0.26, 0.34));
    painter.drawPath(body);
    // Dark stripes on the forequarters.
    painter.setPen(QPen(dark, unit * 0.012));
    for (int i = 0; i < 4; ++i)
        painter.drawLine(p(0.34 + i * 0.05, 0.36), p(0.32 + i * 0.05, 0.56));
    // Black mane along the neck.
    painter.setPen(QPen(dark, 3));
    painter.setBrush(dark);
    QPainterPath mane;
    mane.moveTo(p(0.16, 0.22));
    mane.cubicTo(p(0.22, 0.22), p(0.30, 0.26), p(0.36, 0.32));
    mane.lineTo(p(0.30, 0.34));
    mane.cubicTo(p(0.26, 0.30), p(0.20, 0.28), p(0.16, 0.28));
    mane.closeSubpath();
    painter.drawPath(mane);
    // The long face pointing down, and the beard under it.
    painter.setBrush(coat.darker(115));
    QPainterPath head;
    head.moveTo(p(0.12, 0.20));
    head.cubicTo(p(0.18, 0.18), p(0.24, 0.22), p(0.26, 0.30));
    head.lineTo(p(0.14, 0.54));
    head.cubicTo(p(0.10, 0.58), p(0.04, 0.56), p(0.04, 0.50));
    head.lineTo(p(0.08, 0.26));
    head.closeSubpath();
    painter.drawPath(head);
    painter.setBrush(dark);
    QPainterPath beard;
    beard.moveTo(p(0.20, 0.38));
    beard.lineTo(p(0.22, 0.56));
    beard.lineTo(p(0.14, 0.50));
    beard.closeSubpath();
    painter.drawPath(beard);
    // Horns curving out, then up.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x3e, 0x3a, 0x36), unit * 0.03, Qt::SolidLine, Qt::RoundCap));
    QPainterPath horns;
    horns.moveTo(p(0.10, 0.22));
    horns.cubicTo(p(0.02, 0.20), p(0.00, 0.12), p(0.06, 0.06));
    horns.moveTo(p(0.18, 0.21));
    horns.cubicTo(p(0.26, 0.18), p(0.28, 0.10), p(0.24, 0.05));
    painter.drawPath(horns);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0xe0, 0x82));
    painter.drawEllipse(p(0.17, 0.30), unit * 0.02, unit * 0.02);
    painter.setBrush(kInk);
    painter.drawEllipse(p(0.17, 0.30), unit * 0.01, unit * 0.01);
}

// A mare with her foal beside her, from the horse emoji, so the mare is
// more than the horse's head of "caballo".
void drawYegua(QPainter &painter, const QRectF &area)
{
    QFont font(QStringLiteral("Noto Color Emoji"));
    const auto horse = [&](const QRectF &box) {
        font.setPixelSize(qMax(1, qRound(box.height() * 0.8)));
        painter.setFont(font);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("🐎"));
    };
    horse(QRectF(area.left(), area.top(), area.width() * 0.8, area.height() * 0.8));
    horse(QRectF(area.left() + area.width() * 0.55, area.top() + area.height() * 0.52,
        area.width() * 0.45, area.height() * 0.45));
}

// An open cardboard box with nothing in it.
void drawCaja(QPainter &painter, const QRectF &area)
{
    const auto p = [&](double x, double y) {
        return QPointF(area.left() + x * area.width(), area.top() + y * area.height());
    };
    const QColor card(0x9c, 0x5b, 0x25);
    const QColor edge(0x3e, 0x23, 0x0c);
    painter.setPen(QPen(edge, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // The inside, seen over the front.
    painter.setBrush(QColor(0x4e, 0x2c, 0x10));
    painter.drawPolygon(QPolygonF({ p(0.14, 0.34), p(0.86, 0.34), p(0.78, 0.46), p(0.22, 0.46) }));
    // Open flaps.
    painter.setBrush(card.lighter(125));
    painter.drawPolygon(QPolygonF({ p(0.14, 0.34), p(0.22, 0.46), p(0.02, 0.56), p(0.00, 0.40) }));
    painter.drawPolygon(QPolygonF({ p(0.86, 0.34), p(0.78, 0.46), p(0.98, 0.56), p(1.00, 0.40) }));
    painter.drawPolygon(QPolygonF({ p(0.14, 0.34), p(0.86, 0.34), p(0.80, 0.14), p(0.20, 0.14) }));
    // The front.
    painter.setBrush(card);
    painter.drawPolygon(QPolygonF({ p(0.22, 0.46), p(0.78, 0.46), p(0.78, 0.90), p(0.22, 0.90) }));
    painter.drawPolygon(QPolygonF({ p(0.14, 0.34), p(0.22, 0.46), p(0.22, 0.90), p(0.14, 0.80) }));
    painter.drawPolygon(QPolygonF({ p(0.86, 0.34), p(0.78, 0.46), p(0.78, 0.90), p(0.86, 0.80) }));
}

} // namespace

namespace Drawings {

Drawing find(const QString &name)
{
    static const QHash<QString, Drawing> drawings = {
        { QStringLiteral("xilofono"), drawXilofono },
        { QStringLiteral("zampona"), drawZampona },
        { QStringLiteral("nandu"), drawNandu },
        { QStringLiteral("laud"), drawLaud },
        { QStringLiteral("iguana"), drawIguana },
        { QStringLiteral("xolo"), drawXolo },
        { QStringLiteral("nu"), drawNu },
        { QStringLiteral("yegua"), drawYegua },
        { QStringLiteral("caja"), drawCaja },
    };
    return drawings.value(name, nullptr);
}

} // namespace Drawings
