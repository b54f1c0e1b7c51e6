#include "Mascot.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Mascot {

namespace {

const QColor kFur(0xff, 0x8c, 0x1a);
const QColor kFurDark(0xb3, 0x4f, 0x00);
const QColor kBelly(0xff, 0xdf, 0xa8);
const QColor kInk(0x22, 0x1a, 0x14);

void drawArm(
    QPainter &painter, const QPointF &shoulder, double length, double angleDeg, double width)
{
    // Angle 0 points straight down, positive angles swing outwards and up.
    const double radians = qDegreesToRadians(angleDeg);
    const QPointF hand = shoulder + QPointF(std::sin(radians) * length, std::cos(radians) * length);
    QPen pen(kFurDark, width * 1.35, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(shoulder, hand);
    pen.setColor(kFur);
    pen.setWidthF(width);
    painter.setPen(pen);
    painter.drawLine(shoulder, hand);
}

} // namespace

void draw(QPainter &painter, const QRectF &box, const Pose &pose)
{
    const double side = qMin(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    const double u = side / 100.0; // drawing units: the figure is laid out on 100 x 100
    const QPointF origin = square.topLeft() + QPointF(0, -pose.hop * side);
    const auto at = [&](double x, double y) { return origin + QPointF(x * u, y * u); };
    const auto rect = [&](double x, double y, double w, double h) {
        return QRectF(at(x, y), QSizeF(w * u, h * u));
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    // Feet behind the body.
    painter.setPen(QPen(kFurDark, 2 * u));
    painter.setBrush(kFur);
    painter.drawEllipse(rect(28, 84, 18, 10));
    painter.drawEllipse(rect(54, 84, 18, 10));

    // Ears.
    painter.setPen(QPen(kFurDark, 2 * u));
    painter.setBrush(kFur);
    painter.drawEllipse(rect(20, 10, 20, 22));
    painter.drawEllipse(rect(60, 10, 20, 22));
    painter.setBrush(kBelly);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(rect(25, 15, 10, 12));
    painter.drawEllipse(rect(65, 15, 10, 12));

    // Body and belly.
    painter.setPen(QPen(kFurDark, 2.5 * u));
    painter.setBrush(kFur);
    painter.drawEllipse(rect(16, 16, 68, 74));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBelly);
    painter.drawEllipse(rect(30, 52, 40, 34));

    // Arms in front, starting at the body's edge, so a wave is plain to see.
    drawArm(painter, at(21, 60), 22, -30, 7 * u);
    drawArm(painter, at(79, 60), 22, pose.wave, 7 * u);

    // Eyes: white with dark pupils; a blink squeezes them to a line.
    const double eyeHeight = qMax(0.08, pose.eyes) * 20;
    painter.setPen(QPen(kInk, 1.5 * u));
    painter.setBrush(Qt::white);
    painter.drawEllipse(rect(29, 32 + (20 - eyeHeight) / 2, 17, eyeHeight));
    painter.drawEllipse(rect(54, 32 + (20 - eyeHeight) / 2, 17, eyeHeight));
    if (pose.eyes > 0.3) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kInk);
        const double shift = pose.look * 3;
        painter.drawEllipse(rect(34 + shift, 37, 8, 10));
        painter.drawEllipse(rect(59 + shift, 37, 8, 10));
        painter.setBrush(Qt::white);
        painter.drawEllipse(rect(36 + shift, 38, 3, 3));
        painter.drawEllipse(rect(61 + shift, 38, 3, 3));
    }

    // Cheeks and smile.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xff, 0x6f, 0x8f, 160));
    painter.drawEllipse(rect(22, 50, 9, 6));
    painter.drawEllipse(rect(69, 50, 9, 6));
    QPainterPath smile;
    smile.moveTo(at(40, 55));
    smile.quadTo(at(50, 66), at(60, 55));
    painter.setPen(QPen(kInk, 2.5 * u, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(smile);

    painter.restore();
}

} // namespace Mascot
